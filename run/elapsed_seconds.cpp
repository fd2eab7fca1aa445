#include "run/elapsed_seconds.h"

#include <cstdint>

namespace velmira {
namespace {

using namespace std::chrono_literals;

// A precise 1000 ms timer may fire a fraction of a millisecond before the second is
// full when measured on the monotonic clock. Without this head start such an event
// would count nothing and the next one two, so the label would stall and then jump.
// 50 ms is far above that jitter and far below a second, so a second is never
// counted twice; the only cost is that a second may show up to 50 ms early.
constexpr ElapsedSeconds::Time kEarlyEventMargin = 50ms;

constexpr std::uint64_t kTicksPerSecond =
    static_cast<std::uint64_t>(ElapsedSeconds::Time{1s}.count());

}  // namespace

void ElapsedSeconds::Restart(Time now) {
    start_ = now;
    counted_ = 0;
}

std::int64_t ElapsedSeconds::TakeDue(Time now) {
    if (now < start_) return 0;
    // Unsigned arithmetic: the span between any two clock readings fits, even where
    // the signed difference would overflow; the margin joins only the part below a
    // second, so adding it cannot overflow either.
    const std::uint64_t sinceStart =
        static_cast<std::uint64_t>(now.count()) - static_cast<std::uint64_t>(start_.count());
    const std::uint64_t margin = static_cast<std::uint64_t>(kEarlyEventMargin.count());
    const auto wholeSeconds =
        static_cast<std::int64_t>((sinceStart / kTicksPerSecond) +
                                  ((sinceStart % kTicksPerSecond) + margin) / kTicksPerSecond);
    if (wholeSeconds <= counted_) return 0;
    const std::int64_t due = wholeSeconds - counted_;
    counted_ = wholeSeconds;
    return due;
}

}  // namespace velmira
