#pragma once

namespace velmira {

// The modal window that plays the stage's track while the user sets a normal
// listening level. Returns only after the user has closed it.
class VolumePrompt {
public:
    virtual ~VolumePrompt() = default;
    virtual void ShowModal() = 0;
};

}  // namespace velmira
