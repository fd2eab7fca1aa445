#include "audio/master_volume_scaling.h"

#include <array>
#include <cmath>

namespace velmira {

std::optional<double> StageRatio(int stageIndex) {
    static constexpr std::array<double, 3> kStageRatios{30.0, 50.0, 80.0};
    if (stageIndex < 0 || stageIndex >= static_cast<int>(kStageRatios.size())) return std::nullopt;
    return kStageRatios[static_cast<std::size_t>(stageIndex)];
}

std::int32_t ShareOfVolume(std::int32_t rawVolume, double ratioPercent) {
    // Each step goes through a volatile double so that no build setting can merge
    // the division and the multiplication or keep a wider intermediate: the
    // results must stay one unit low where double rounding makes them so.
    volatile double hundredth = static_cast<double>(rawVolume) / 100.0;
    volatile double share = hundredth * ratioPercent;
    // |share| stays below |rawVolume| for ratios up to 100, so it fits.
    return static_cast<std::int32_t>(std::trunc(share));
}

MasterVolumeScaling::MasterVolumeScaling(SysVolume& unit, RunState& state)
    : unit_(unit), state_(state) {}

void MasterVolumeScaling::BindMasterVolume() { unit_.Bind(SysVolume::kSpeakersLine); }

void MasterVolumeScaling::ScaleVolumeForStage(int stageIndex) {
    const std::optional<double> ratio = StageRatio(stageIndex);
    if (!ratio) return;

    // A failed read leaves the saved level and any pending restore as they were:
    // scaling -1 would write 0 (mute), and restoring it would write -1.
    std::int32_t left = state_.savedLeftVolume;
    std::int32_t right = state_.savedRightVolume;
    if (unit_.Read(left, right) != SysVolume::kSucceeded) return;

    state_.savedLeftVolume = left;
    state_.savedRightVolume = right;
    restorePending_ = true;
    unit_.Write(ShareOfVolume(left, *ratio), ShareOfVolume(right, *ratio));
}

void MasterVolumeScaling::RestoreVolume() {
    if (!restorePending_) return;
    // Each scaling is put back once: a later Stop while idle must not write an old
    // level over whatever the user has set since.
    restorePending_ = false;
    unit_.Write(state_.savedLeftVolume, state_.savedRightVolume);
}

}  // namespace velmira
