#include "run/duration_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string_view>

namespace velmira {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct FormatCase {
    Duration duration;
    std::string_view expected;
};

TEST(FormatDuration, WritesHoursThenTwoPlaceMinutesAndSeconds) {
    const FormatCase cases[] = {
        {{0, 0, 0}, kZeroDurationText},
        {{1, 5, 9},
         "1\xD0\xA1\xCA\xB1"
         "05\xB7\xD6"
         "09\xC3\xEB"},  // 1小时05分09秒
        {{123, 59, 59},
         "123\xD0\xA1\xCA\xB1"
         "59\xB7\xD6"
         "59\xC3\xEB"},  // 123小时59分59秒
        {{100, 10, 0},
         "100\xD0\xA1\xCA\xB1"
         "10\xB7\xD6"
         "00\xC3\xEB"},  // 100小时10分00秒
        {{0, 75, 80},
         "0\xD0\xA1\xCA\xB1"
         "75\xB7\xD6"
         "80\xC3\xEB"},  // 0小时75分80秒
        {{5, 100, 123},
         "5\xD0\xA1\xCA\xB1"
         "100\xB7\xD6"
         "123\xC3\xEB"},  // 5小时100分123秒
        {{-3, -2, 0},
         "-3\xD0\xA1\xCA\xB1"
         "-2\xB7\xD6"
         "00\xC3\xEB"},  // -3小时-2分00秒
        {{0, 10, -5},
         "0\xD0\xA1\xCA\xB1"
         "10\xB7\xD6"
         "-5\xC3\xEB"},  // 0小时10分-5秒
        {{kMax, kMax, kMax},
         "2147483647\xD0\xA1\xCA\xB1"
         "2147483647\xB7\xD6"
         "2147483647\xC3\xEB"},
        {{kMin, kMin, kMin},
         "-2147483648\xD0\xA1\xCA\xB1"
         "-2147483648\xB7\xD6"
         "-2147483648\xC3\xEB"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.duration.hours << ' ' << c.duration.minutes << ' ' << c.duration.seconds);
        EXPECT_EQ(FormatDuration(c.duration.hours, c.duration.minutes, c.duration.seconds),
                  c.expected);
    }
}

struct ParseCase {
    const char* name;
    std::string_view text;
    Duration expected;
};

void ExpectParse(const ParseCase& c) {
    SCOPED_TRACE(c.name);
    const Duration parsed = ParseDuration(c.text);
    EXPECT_EQ(parsed.hours, c.expected.hours);
    EXPECT_EQ(parsed.minutes, c.expected.minutes);
    EXPECT_EQ(parsed.seconds, c.expected.seconds);
}

TEST(ParseDuration, ReadsTheThreeFieldsOfDurationText) {
    const ParseCase cases[] = {
        {"zero", kZeroDurationText, {0, 0, 0}},
        {"two-place fields",
         "1\xD0\xA1\xCA\xB1"
         "05\xB7\xD6"
         "09\xC3\xEB",
         {1, 5, 9}},
        {"many hours",
         "123\xD0\xA1\xCA\xB1"
         "59\xB7\xD6"
         "59\xC3\xEB",
         {123, 59, 59}},
        {"one-place fields",
         "5\xD0\xA1\xCA\xB1"
         "7\xB7\xD6"
         "8\xC3\xEB",
         {5, 7, 8}},
        {"fields above 59 are kept",
         "5\xD0\xA1\xCA\xB1"
         "75\xB7\xD6"
         "80\xC3\xEB",
         {5, 75, 80}},
        {"negative fields",
         "-3\xD0\xA1\xCA\xB1"
         "-2\xB7\xD6"
         "-1\xC3\xEB",
         {-3, -2, -1}},
        {"full-width digits",
         "\xA3\xB1\xA3\xB2\xD0\xA1\xCA\xB1\xA3\xB0\xA3\xB3\xB7\xD6\xA3\xB0\xA3\xB4\xC3\xEB",
         {12, 3, 4}},  // １２小时０３分０４秒
        {"spaces before numbers", "12\xD0\xA1\xCA\xB1 3\xB7\xD6 4\xC3\xEB", {12, 3, 4}},
        {"ideographic spaces before numbers",
         "\xA1\xA1"
         "1\xD0\xA1\xCA\xB1\xA1\xA1"
         "2\xB7\xD6\xA1\xA1"
         "3\xC3\xEB",
         {1, 2, 3}},  // 　1小时　2分　3秒
        {"hours past the 32-bit range saturate",
         "999999999999999999999999999999\xD0\xA1\xCA\xB1"
         "00\xB7\xD6"
         "00\xC3\xEB",
         {kMax, 0, 0}},
        {"smallest hours",
         "-2147483648\xD0\xA1\xCA\xB1"
         "00\xB7\xD6"
         "00\xC3\xEB",
         {kMin, 0, 0}},
    };
    for (const ParseCase& c : cases) ExpectParse(c);
}

TEST(ParseDuration, MissingMarkersOrDigitsReadAsZero) {
    const ParseCase cases[] = {
        {"empty", "", {0, 0, 0}},
        {"no markers", "abc", {0, 0, 0}},
        {"a lone number needs the hours marker after it", "5", {0, 0, 0}},
        {"no seconds marker",
         "5\xD0\xA1\xCA\xB1"
         "7\xB7\xD6",
         {5, 7, 0}},  // 5小时7分
        {"no minutes marker",
         "2\xD0\xA1\xCA\xB1"
         "30\xC3\xEB",
         {2, 0, 0}},  // 2小时30秒
        {"no hours marker",
         "7\xB7\xD6"
         "8\xC3\xEB",
         {0, 0, 8}},  // 7分8秒
        {"letters in the fields", "x\xD0\xA1\xCA\xB1y\xB7\xD6z\xC3\xEB", {0, 0, 0}},
        {"digits after letters",
         "h1\xD0\xA1\xCA\xB1"
         "m2\xB7\xD6"
         "s3\xC3\xEB",
         {0, 0, 0}},
        {"a lone lead byte at the end",
         "1\xD0\xA1\xCA\xB1"
         "2\xB7\xD6"
         "3\xC3",
         {1, 2, 0}},
    };
    for (const ParseCase& c : cases) ExpectParse(c);
}

TEST(ParseDuration, EachFieldIsFoundOnItsOwn) {
    const ParseCase cases[] = {
        // The seconds start after the first 分 of the whole text: 分5小时3分9秒.
        {"seconds start after the first minutes marker",
         "\xB7\xD6"
         "5\xD0\xA1\xCA\xB1"
         "3\xB7\xD6"
         "9\xC3\xEB",
         {0, 3, 5}},
        // Hours end at the first 小时 and minutes run to the first 分 after it: 1小时2小时3分4秒.
        {"a second hours marker",
         "1\xD0\xA1\xCA\xB1"
         "2\xD0\xA1\xCA\xB1"
         "3\xB7\xD6"
         "4\xC3\xEB",
         {1, 2, 4}},
        // The hours field is everything before 小时, so a 【 of the text's own stays in it.
        {"a bracket of the text's own",
         "\xA1\xBE"
         "5\xD0\xA1\xCA\xB1",
         {0, 0, 0}},  // 【5小时
        // 81 D0 and A1 CA are characters; the bytes D0 A1 CA B1 of 小时 straddle them.
        {"a misaligned hours marker", "7\x81\xD0\xA1\xCA\xB1", {0, 0, 0}},
    };
    for (const ParseCase& c : cases) ExpectParse(c);
}

TEST(DurationText, FormattedTextParsesBackToTheSameFields) {
    const Duration durations[] = {
        {0, 0, 0}, {1, 5, 9}, {123, 59, 59}, {-3, -2, -1}, {kMax, 59, 59}, {kMin, kMin, kMax},
    };
    for (const Duration& duration : durations) {
        SCOPED_TRACE(testing::Message()
                     << duration.hours << ' ' << duration.minutes << ' ' << duration.seconds);
        EXPECT_EQ(ParseDuration(FormatDuration(duration.hours, duration.minutes, duration.seconds)),
                  duration);
    }
}

}  // namespace
}  // namespace velmira
