#include "audio/stage_track_player.h"

#include <array>
#include <cstdio>
#include <utility>

namespace velmira {
namespace {

constexpr int kEndlessly = -1;
constexpr int kStopOnly = 0;

// The stage number goes through the general real-to-text rule, which the program has
// always used for it; for whole numbers it gives plain decimal digits.
[[nodiscard]] std::string StageNumberText(int stageIndex) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%.13g", static_cast<double>(stageIndex) + 1.0);
    return text.data();
}

}  // namespace

StageTrackPlayer::StageTrackPlayer(PlaybackFacility& facility,
                                   std::filesystem::path programDirectory)
    : facility_(facility), programDirectory_(std::move(programDirectory)) {}

void StageTrackPlayer::PlayStageTrack(int stageIndex) {
    facility_.Play(kEndlessly, StageTrackPath(programDirectory_, stageIndex));
}

void StageTrackPlayer::StopPlayback() { facility_.Play(kStopOnly, std::string()); }

std::string StageTrackPath(const std::filesystem::path& programDirectory, int stageIndex) {
    constexpr char kSeparator = std::filesystem::path::preferred_separator;
    std::string path = programDirectory.native();
    if (!path.empty() && path.back() != kSeparator) path += kSeparator;
    path += "File";
    path += kSeparator;
    path += StageNumberText(stageIndex);
    path += ".mp3";
    return path;
}

}  // namespace velmira
