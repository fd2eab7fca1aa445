#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmira {

// The GBK text between the first occurrence of `left` and the next occurrence of
// `right` after it, or empty. Searches move one character at a time (a lead byte
// of 0x80 or more takes its trail byte along) and fold ASCII letter case on every
// byte. In the markers, "#引号" stands for a double quote.
[[nodiscard]] std::string TextBetween(std::string_view text, std::string_view left,
                                      std::string_view right);

// Reads an optionally signed decimal number after leading white space; full-width
// digits, signs and the ideographic space count as their ASCII forms. Never fails:
// no digits give 0, and a value beyond the 32-bit range saturates.
[[nodiscard]] std::int32_t TextToInteger(std::string_view text);

}  // namespace velmira
