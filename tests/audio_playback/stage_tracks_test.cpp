#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pcm_samples.h"

namespace velmira {
namespace {

using testing::DecodeMp3;
using testing::FrameCount;
using testing::Samples;

const std::filesystem::path kFileFolder = VELMIRA_TEST_FILE_DIR;
constexpr int kStageCount = 3;

[[nodiscard]] std::filesystem::path TrackPath(const std::filesystem::path& folder, int stage) {
    return folder / (std::to_string(stage) + ".mp3");
}

[[nodiscard]] double DecibelsFullScale(double amplitude) {
    return 20.0 * std::log10(amplitude / 32768.0);
}

[[nodiscard]] double PeakDb(const Samples& samples) {
    int peak = 0;
    for (const std::int16_t sample : samples) peak = std::max(peak, std::abs(int{sample}));
    return DecibelsFullScale(peak);
}

[[nodiscard]] double RmsDb(const Samples& samples) {
    double sum = 0.0;
    for (const std::int16_t sample : samples) sum += static_cast<double>(sample) * sample;
    return DecibelsFullScale(std::sqrt(sum / static_cast<double>(samples.size())));
}

// The step between neighbouring samples of one channel, sorted.
[[nodiscard]] std::vector<int> SortedSteps(const Samples& samples, std::size_t channel) {
    std::vector<int> steps;
    for (std::size_t frame = 1; frame < FrameCount(samples); ++frame) {
        steps.push_back(
            std::abs(samples[2 * frame + channel] - samples[2 * (frame - 1) + channel]));
    }
    std::ranges::sort(steps);
    return steps;
}

class StageTracksTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int stage = 1; stage <= kStageCount; ++stage) {
            tracks_.push_back(DecodeMp3(TrackPath(kFileFolder, stage)));
            ASSERT_GT(FrameCount(tracks_.back()), 0u) << TrackPath(kFileFolder, stage);
        }
    }
    std::vector<Samples> tracks_;
};

TEST_F(StageTracksTest, EachTrackLastsExactlyOneMinuteOnceDelayAndPaddingAreTrimmed) {
    for (int stage = 1; stage <= kStageCount; ++stage) {
        SCOPED_TRACE(stage);
        EXPECT_EQ(FrameCount(tracks_[stage - 1]), std::size_t{60} * testing::kSampleRate);
    }
}

TEST_F(StageTracksTest, PeaksStayAtOrBelowMinusOneDecibelFullScale) {
    for (int stage = 1; stage <= kStageCount; ++stage) {
        SCOPED_TRACE(stage);
        EXPECT_LE(PeakDb(tracks_[stage - 1]), -1.0);
    }
}

TEST_F(StageTracksTest, EachStageIsClearlyLouderThanTheOneBefore) {
    const double stageOne = RmsDb(tracks_[0]);
    const double stageTwo = RmsDb(tracks_[1]);
    const double stageThree = RmsDb(tracks_[2]);
    EXPECT_LE(stageOne, -20.0) << "stage one is meant to be gentle";
    EXPECT_GE(stageTwo - stageOne, 2.0);
    EXPECT_GE(stageThree - stageTwo, 2.0);
}

TEST_F(StageTracksTest, TheLoopSeamIsNoSharperThanTheTrackItself) {
    for (int stage = 1; stage <= kStageCount; ++stage) {
        SCOPED_TRACE(stage);
        const Samples& track = tracks_[stage - 1];
        const std::size_t last = FrameCount(track) - 1;
        for (std::size_t channel = 0; channel < 2; ++channel) {
            SCOPED_TRACE(channel);
            const std::vector<int> steps = SortedSteps(track, channel);
            const int seamStep = std::abs(track[channel] - track[2 * last + channel]);
            EXPECT_LE(seamStep, steps[steps.size() * 999 / 1000]);
        }
    }
}

[[nodiscard]] std::vector<char> FileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(StageTrackGeneratorTest, WritesTheSameBytesOnEveryRun) {
    std::string folder = (std::filesystem::temp_directory_path() / "velmira-tracks.XXXXXX");
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const std::string command = std::string(VELMIRA_TEST_TRACK_GENERATOR) + " '" + folder + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (int stage = 1; stage <= kStageCount; ++stage) {
        SCOPED_TRACE(stage);
        const std::vector<char> built = FileBytes(TrackPath(kFileFolder, stage));
        ASSERT_FALSE(built.empty());
        EXPECT_TRUE(FileBytes(TrackPath(folder, stage)) == built);
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace velmira
