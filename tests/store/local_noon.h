#pragma once

#include <ctime>

namespace velmira {

// Noon local time of the date, so no time zone moves it to another day.
inline std::time_t LocalNoon(int year, int month, int day) {
    std::tm date{};
    date.tm_year = year - 1900;
    date.tm_mon = month - 1;
    date.tm_mday = day;
    date.tm_hour = 12;
    date.tm_isdst = -1;
    return std::mktime(&date);
}

}  // namespace velmira
