#pragma once

namespace velmira {

// Plays a stage's burn-in track in an endless loop. Neither call reports anything,
// and neither waits for the sound.
class StagePlayer {
public:
    virtual ~StagePlayer() = default;

    // Stops whatever plays, then starts the track of stage 0, 1 or 2 from its beginning.
    virtual void PlayStageTrack(int stageIndex) = 0;
    virtual void StopPlayback() = 0;
};

}  // namespace velmira
