#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmira {

// Duration text is GBK: hours, "小时", two-place minutes, "分", two-place seconds, "秒".
inline constexpr std::string_view kZeroDurationText =
    "0\xD0\xA1\xCA\xB1"
    "00\xB7\xD6"
    "00\xC3\xEB";  // 0小时00分00秒

struct Duration {
    std::int32_t hours = 0;
    std::int32_t minutes = 0;
    std::int32_t seconds = 0;
    friend bool operator==(const Duration&, const Duration&) = default;
};

[[nodiscard]] std::string FormatDuration(std::int32_t hours, std::int32_t minutes,
                                         std::int32_t seconds);
// Never fails: a field that cannot be read is 0.
[[nodiscard]] Duration ParseDuration(std::string_view text);

}  // namespace velmira
