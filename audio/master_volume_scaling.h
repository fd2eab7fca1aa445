#pragma once

#include <cstdint>
#include <optional>

#include "audio/master_volume.h"
#include "audio/sys_volume.h"
#include "run/run_state.h"

namespace velmira {

// The stage's share of the listening level in percent: 30.0, 50.0 and 80.0 for
// stages 0, 1 and 2; none for any other index.
[[nodiscard]] std::optional<double> StageRatio(int stageIndex);

// A raw volume scaled by a ratio in percent the way users' levels always have
// been: divided by 100.0 first, each step rounded to double, truncated toward
// zero. So 410 at 30.0 gives 122, one unit below the exact percentage.
[[nodiscard]] std::int32_t ShareOfVolume(std::int32_t rawVolume, double ratioPercent);

// Scales the master volume through the unit and keeps the level it read in the
// run state. Only a level that a scaling changed is ever written back, and only
// once: a restore before any scaling, a second restore, or a restore after a
// read that failed writes nothing, so the user's volume is never set to a
// level this program made up.
class MasterVolumeScaling final : public MasterVolume {
public:
    MasterVolumeScaling(SysVolume& unit, RunState& state);

    void BindMasterVolume() override;
    void ScaleVolumeForStage(int stageIndex) override;
    void RestoreVolume() override;

private:
    SysVolume& unit_;
    RunState& state_;
    bool restorePending_ = false;
};

}  // namespace velmira
