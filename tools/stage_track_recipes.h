#pragma once

#include "tools/track_synthesis.h"

namespace velmira::tracks {

inline constexpr int kStageCount = 3;
inline constexpr int kTrackSeconds = 60;
inline constexpr std::size_t kTrackFrames = std::size_t{kTrackSeconds} * kSampleRate;

struct StereoTrack {
    Signal left;
    Signal right;
};

// The burn-in track of stage 1, 2 or 3: gentle pink noise; pink noise with rising
// sweeps; louder pink and white noise with rising and falling sweeps. The same
// stage always gives the same samples, and each track loops without a seam.
[[nodiscard]] StereoTrack SynthesizeStageTrack(int stageNumber);

}  // namespace velmira::tracks
