#pragma once

#include <string>
#include <string_view>

namespace velmira {

// The text of a Windows-style profile (INI) file held in memory, GBK bytes, with the
// read-value and write-value rules of the Windows profile functions:
// - A line whose first non-blank byte is '[' starts a section; its name runs to the
//   next ']' (or the end of the line). A line "key=value" inside a section is an entry;
//   a line starting with ';' is a comment. Names and values lose their surrounding
//   blanks (bytes up to 0x20), and names match whatever the case of ASCII letters.
//   The first matching section and the first matching key in it count.
// - Lines end in LF or CRLF, and the last line may lack its line break.
// - Writing replaces an existing value in place, adds a missing key after the last
//   non-blank line of its section and a missing section at the end of the text. Every
//   other byte stays as it was, and the lines added end in CRLF so the files stay
//   interchangeable with Windows.
class ProfileDocument {
public:
    ProfileDocument() = default;
    explicit ProfileDocument(std::string bytes);

    // The value, or empty when the section or key is absent. A section or key name that
    // is empty once its leading blanks are skipped gives the empty text.
    [[nodiscard]] std::string ReadValue(std::string_view section, std::string_view key) const;

    // A section or key name that is empty once its leading blanks are skipped changes
    // nothing. An empty value is written as "key=". A profile holds one line per value,
    // so the value ends at its first line break or zero byte.
    void WriteValue(std::string_view section, std::string_view key, std::string_view value);

    [[nodiscard]] const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
};

}  // namespace velmira
