#pragma once

#include <cstddef>
#include <string_view>

namespace velmira {

// GBK text is walked one character at a time: a lead byte (0x81..0xFE) followed by a
// trail byte (0x40..0x7E, 0x80..0xFE) is one character, every other byte stands alone.
// A trail byte may be 0x5C or 0x5D, so a plain byte search would find a backslash or a
// bracket inside a Chinese character.

// The byte length (1 or 2) of the character that starts at `position`.
[[nodiscard]] std::size_t GbkCharacterLength(std::string_view text, std::size_t position);

// The position of the first single-byte character `c` at or after `from`, or npos.
[[nodiscard]] std::size_t FindGbkCharacter(std::string_view text, char c, std::size_t from = 0);

// The position of the last single-byte character `c`, or npos.
[[nodiscard]] std::size_t FindLastGbkCharacter(std::string_view text, char c);

// Equal character by character, where single-byte ASCII letters match in either case.
[[nodiscard]] bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace velmira
