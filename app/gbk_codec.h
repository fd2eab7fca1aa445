#pragma once

#include <string>
#include <string_view>

namespace velmira {

// Code page 936 (GBK) to and from UTF-8, through iconv. Texts inside the program
// are GBK bytes; these two run only where a widget shows or takes a text.

// Invalid or truncated sequences come out as U+FFFD, one per bad byte, so a label
// still draws something for every byte it holds.
[[nodiscard]] std::string GbkToUtf8(std::string_view gbk);
// Characters that GBK cannot hold come out as '?'.
[[nodiscard]] std::string Utf8ToGbk(std::string_view utf8);

}  // namespace velmira
