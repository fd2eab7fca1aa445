#include "tools/stage_track_recipes.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace velmira::tracks {
namespace {

constexpr std::size_t kLoopCrossfadeFrames = 2 * kSampleRate;

// Headroom left for the encoder: MP3 coding noise can push peaks up by a dB or two.
constexpr double kPeakCeilingDb = -3.0;

struct NoiseLayer {
    std::uint64_t leftSeed;
    std::uint64_t rightSeed;
    double rmsDb;
    bool pink;
};

struct SweepLayer {
    double startSecond;
    bool rising;
};

struct Recipe {
    std::vector<NoiseLayer> noise;
    std::vector<SweepLayer> sweeps;
    double sweepPeakDb;
};

constexpr double kSweepSeconds = 10.0;

[[nodiscard]] Recipe RecipeOf(int stageNumber) {
    switch (stageNumber) {
        case 1:
            return {{{101, 102, -26.0, true}}, {}, 0.0};
        case 2:
            return {{{201, 202, -22.0, true}}, {{5.0, true}, {25.0, true}, {45.0, true}}, -18.0};
        case 3:
            return {{{301, 302, -20.0, true}, {303, 304, -26.0, false}},
                    {{4.0, true}, {18.0, false}, {32.0, true}, {46.0, false}},
                    -15.0};
        default:
            throw std::invalid_argument("no such stage");
    }
}

// Independent noise in each channel, cut to a seamless loop and set to its level.
[[nodiscard]] Signal LoopedNoise(std::uint64_t seed, const NoiseLayer& layer) {
    const std::size_t length = kTrackFrames + kLoopCrossfadeFrames;
    const Signal raw = layer.pink ? PinkNoiseSignal(seed, length) : WhiteNoiseSignal(seed, length);
    Signal loop = LoopSeamlessly(raw, kTrackFrames, kLoopCrossfadeFrames);
    Scale(loop, FromDecibels(layer.rmsDb) / RootMeanSquare(loop));
    return loop;
}

}  // namespace

StereoTrack SynthesizeStageTrack(int stageNumber) {
    const Recipe recipe = RecipeOf(stageNumber);
    StereoTrack track{Signal(kTrackFrames, 0.0f), Signal(kTrackFrames, 0.0f)};
    for (const NoiseLayer& layer : recipe.noise) {
        Add(track.left, LoopedNoise(layer.leftSeed, layer));
        Add(track.right, LoopedNoise(layer.rightSeed, layer));
    }
    for (const SweepLayer& layer : recipe.sweeps) {
        LogSweep sweep{.seconds = kSweepSeconds,
                       .startSecond = layer.startSecond,
                       .peak = FromDecibels(recipe.sweepPeakDb)};
        if (!layer.rising) std::swap(sweep.fromHz, sweep.toHz);
        AddSweep(track.left, sweep);
        AddSweep(track.right, sweep);
    }
    const double peak = std::max(Peak(track.left), Peak(track.right));
    const double ceiling = FromDecibels(kPeakCeilingDb);
    if (peak > ceiling) {
        Scale(track.left, ceiling / peak);
        Scale(track.right, ceiling / peak);
    }
    return track;
}

}  // namespace velmira::tracks
