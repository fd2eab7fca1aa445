#pragma once

#include "run/run_state.h"

namespace velmira {

// One second of a run: today's and the aggregate triple each gain a second, and a
// minutes or seconds counter above 59 falls to 0 and carries one. Counters
// saturate at the 32-bit limit instead of overflowing.
void AdvanceOneSecond(RunState& state);

}  // namespace velmira
