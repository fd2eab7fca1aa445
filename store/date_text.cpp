#include "store/date_text.h"

#include <string_view>

namespace velmira {
namespace {

constexpr std::string_view kYearSign = "\xC4\xEA";   // 年
constexpr std::string_view kMonthSign = "\xD4\xC2";  // 月
constexpr std::string_view kDaySign = "\xC8\xD5";    // 日

constexpr int kFirstYear = 100;
constexpr int kLastYear = 9999;

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

CalendarDate LocalDate(std::time_t now) {
    std::tm local{};
    if (::localtime_r(&now, &local) == nullptr) {
        // Only a clock far outside any calendar gets here; hold it at the nearer end.
        return now < 0 ? CalendarDate{kFirstYear, 1, 1} : CalendarDate{kLastYear, 12, 31};
    }
    // tm_year counts from 1900; widen before adding so no year can overflow.
    const long long year = static_cast<long long>(local.tm_year) + 1900;
    if (year < kFirstYear) return {kFirstYear, 1, 1};
    if (year > kLastYear) return {kLastYear, 12, 31};
    return {static_cast<int>(year), local.tm_mon + 1, local.tm_mday};
}

}  // namespace

WallClock SystemWallClock() {
    return [] { return std::time(nullptr); };
}

std::string TodayDateText(const WallClock& clock) {
    const CalendarDate date = LocalDate(clock());
    std::string text = std::to_string(date.year);
    text.append(kYearSign).append(std::to_string(date.month)).append(kMonthSign);
    text.append(std::to_string(date.day)).append(kDaySign);
    return text;
}

}  // namespace velmira
