#pragma once

namespace velmira {

// The current device's progress: which file, loading it into the six progress
// labels, and saving the labels with today's date. Failures are silent.
class ProgressStore {
public:
    virtual ~ProgressStore() = default;

    virtual void SelectProgressFile() = 0;
    virtual void LoadProgress() = 0;
    virtual void SaveProgress() = 0;
    [[nodiscard]] virtual bool StoredDateIsToday() = 0;
};

}  // namespace velmira
