#include "run/elapsed_counters.h"

#include <cstdint>
#include <limits>

namespace velmira {
namespace {

// Hours held at the largest value stay there; a seconds or minutes counter held there
// is above 59 anyway, so it falls to 0 on the carry that follows.
void AddOneSaturating(std::int32_t& counter) {
    if (counter < std::numeric_limits<std::int32_t>::max()) ++counter;
}

// The counter falls to 0 rather than losing 60: a value seeded above 59 drops its surplus.
void CarryPastFiftyNine(std::int32_t& counter, std::int32_t& nextUnit) {
    if (counter > 59) {
        counter = 0;
        AddOneSaturating(nextUnit);
    }
}

}  // namespace

void AdvanceOneSecond(RunState& state) {
    AddOneSaturating(state.todaySeconds);
    AddOneSaturating(state.aggregateSeconds);
    CarryPastFiftyNine(state.todaySeconds, state.todayMinutes);
    CarryPastFiftyNine(state.todayMinutes, state.todayHours);
    CarryPastFiftyNine(state.aggregateSeconds, state.aggregateMinutes);
    CarryPastFiftyNine(state.aggregateMinutes, state.aggregateHours);
}

}  // namespace velmira
