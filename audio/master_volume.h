#pragma once

namespace velmira {

// Scales the system master volume to a stage's share of the user's level and
// puts the level back. Failures are silent.
class MasterVolume {
public:
    virtual ~MasterVolume() = default;

    virtual void BindMasterVolume() = 0;
    virtual void ScaleVolumeForStage(int stageIndex) = 0;
    virtual void RestoreVolume() = 0;
};

}  // namespace velmira
