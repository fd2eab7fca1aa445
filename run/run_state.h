#pragma once

#include <cstdint>
#include <string>

namespace velmira {

// The program-wide state shared by the window's handlers. One object lives from
// program start to program end; its owner hands it to whatever needs it.
struct RunState {
    // The current device's progress file relative to the program directory,
    // "\File\1.ini" to "\File\5.ini" (GBK bytes); empty until a device is selected.
    std::string progressFileName;

    // The master volume read when the latest scaled run started, in the mixer's raw units.
    std::int32_t savedLeftVolume = 0;
    std::int32_t savedRightVolume = 0;

    // Counters of the stage selected when the current or last run started.
    std::int32_t todayHours = 0;
    std::int32_t todayMinutes = 0;
    std::int32_t todaySeconds = 0;
    std::int32_t aggregateHours = 0;
    std::int32_t aggregateMinutes = 0;
    std::int32_t aggregateSeconds = 0;
};

}  // namespace velmira
