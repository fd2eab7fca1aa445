#pragma once

#include <filesystem>
#include <string>

#include "audio/playback_facility.h"
#include "audio/stage_player.h"

namespace velmira {

// The stage tracks File/1.mp3 to File/3.mp3 beside the program, looped endlessly
// through a playback facility. Keeps no playback state of its own.
class StageTrackPlayer final : public StagePlayer {
public:
    StageTrackPlayer(PlaybackFacility& facility, std::filesystem::path programDirectory);

    void PlayStageTrack(int stageIndex) override;
    void StopPlayback() override;

private:
    PlaybackFacility& facility_;
    std::filesystem::path programDirectory_;
};

// The native path of a stage's track: stage 0 under /opt/velmira is
// /opt/velmira/File/1.mp3. An empty program directory gives a path relative to the
// working folder, as for the progress files.
[[nodiscard]] std::string StageTrackPath(const std::filesystem::path& programDirectory,
                                         int stageIndex);

}  // namespace velmira
