#include "store/date_text.h"

#include <gtest/gtest.h>

#include <ctime>
#include <limits>
#include <string_view>

#include "tests/store/local_noon.h"

namespace velmira {
namespace {

TEST(TodayDateText, WritesTheLocalDateWithoutLeadingZeros) {
    struct Case {
        std::time_t now;
        std::string_view expected;
    };
    const Case cases[] = {
        {LocalNoon(2024, 3, 7),
         "2024\xC4\xEA"
         "3\xD4\xC2"
         "7\xC8\xD5"},  // 2024年3月7日
        {LocalNoon(2023, 12, 25),
         "2023\xC4\xEA"
         "12\xD4\xC2"
         "25\xC8\xD5"},  // 2023年12月25日
        {LocalNoon(2000, 1, 1),
         "2000\xC4\xEA"
         "1\xD4\xC2"
         "1\xC8\xD5"},  // 2000年1月1日
        {LocalNoon(2024, 2, 29) + 11 * 3600,
         "2024\xC4\xEA"
         "2\xD4\xC2"
         "29\xC8\xD5"},  // 23:00
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(TodayDateText([&c] { return c.now; }), c.expected);
    }
}

TEST(TodayDateText, HoldsDatesBetweenYear100AndYear9999) {
    constexpr std::string_view kFirst =
        "100\xC4\xEA"
        "1\xD4\xC2"
        "1\xC8\xD5";  // 100年1月1日
    constexpr std::string_view kLast =
        "9999\xC4\xEA"
        "12\xD4\xC2"
        "31\xC8\xD5";  // 9999年12月31日
    struct Case {
        const char* name;
        std::time_t now;
        std::string_view expected;
    };
    const Case cases[] = {
        {"year 50", LocalNoon(50, 6, 15), kFirst},
        {"year 100 itself", LocalNoon(100, 6, 15),
         "100\xC4\xEA"
         "6\xD4\xC2"
         "15\xC8\xD5"},
        {"year 12000", LocalNoon(12000, 6, 15), kLast},
        {"earliest clock value", std::numeric_limits<std::time_t>::min(), kFirst},
        {"latest clock value", std::numeric_limits<std::time_t>::max(), kLast},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TodayDateText([&c] { return c.now; }), c.expected);
    }
}

}  // namespace
}  // namespace velmira
