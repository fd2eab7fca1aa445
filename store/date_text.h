#pragma once

#include <ctime>
#include <functional>
#include <string>

namespace velmira {

// The system clock in whole seconds; tests hand in a clock of their own.
using WallClock = std::function<std::time_t()>;

[[nodiscard]] WallClock SystemWallClock();

// Today's local date as date text, "%d年%d月%d日" in GBK without leading zeros:
// 7 March 2024 is 2024年3月7日. Dates are held between 1 January 100 and
// 31 December 9999.
[[nodiscard]] std::string TodayDateText(const WallClock& clock);

}  // namespace velmira
