#pragma once

#include <chrono>
#include <cstdint>

namespace velmira {

// Turns monotonic time into whole seconds to count, so that a run counts true
// time even when timer events come late or are lost while the UI thread stalls.
// It is told the time; it never reads a clock itself.
class ElapsedSeconds {
public:
    using Time = std::chrono::steady_clock::duration;

    void Restart(Time now);
    // Whole seconds that have passed since Restart and were not yet taken.
    [[nodiscard]] std::int64_t TakeDue(Time now);

private:
    Time start_{};
    std::int64_t counted_ = 0;
};

}  // namespace velmira
