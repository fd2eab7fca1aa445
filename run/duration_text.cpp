#include "run/duration_text.h"

#include "run/text_fields.h"

namespace velmira {
namespace {

constexpr std::string_view kHoursMark = "\xD0\xA1\xCA\xB1";  // 小时
constexpr std::string_view kMinutesMark = "\xB7\xD6";        // 分
constexpr std::string_view kSecondsMark = "\xC3\xEB";        // 秒
// Put in front of the text so that the hours field has a left marker to start from.
constexpr std::string_view kHoursLeftMark = "\xA1\xBE";  // 【

// Only a one-byte text gets the "0": -5 stays "-5".
[[nodiscard]] std::string TwoPlaceText(std::int32_t value) {
    std::string text = std::to_string(value);
    if (text.size() == 1) text.insert(text.begin(), '0');
    return text;
}

}  // namespace

std::string FormatDuration(std::int32_t hours, std::int32_t minutes, std::int32_t seconds) {
    std::string text = std::to_string(hours);
    text += kHoursMark;
    text += TwoPlaceText(minutes);
    text += kMinutesMark;
    text += TwoPlaceText(seconds);
    text += kSecondsMark;
    return text;
}

Duration ParseDuration(std::string_view text) {
    std::string markedText(kHoursLeftMark);
    markedText += text;
    return Duration{
        .hours = TextToInteger(TextBetween(markedText, kHoursLeftMark, kHoursMark)),
        .minutes = TextToInteger(TextBetween(text, kHoursMark, kMinutesMark)),
        // The seconds field starts after the first "分" of the whole text, not after "小时".
        .seconds = TextToInteger(TextBetween(text, kMinutesMark, kSecondsMark)),
    };
}

}  // namespace velmira
