#pragma once

#include <filesystem>

#include "run/main_window_operations.h"
#include "run/run_state.h"
#include "store/date_text.h"
#include "store/progress_store.h"

namespace velmira {

// The current device's progress file, File/1.ini to File/5.ini in the program
// directory: section "Today" holds the date of the last save and the three today
// labels, section "Aggregate" the three aggregate labels, all as the label texts.
// The file is opened anew for every read and save and nothing is cached.
class ProgressFile : public ProgressStore {
public:
    ProgressFile(RunState& state, MainWindowOperations& window,
                 std::filesystem::path programDirectory, WallClock clock);

    // Takes the file name of the selected device into RunState::progressFileName.
    void SelectProgressFile() override;
    // Fills the six progress labels from the file; the today labels only when the
    // stored date is today, otherwise they start again from zero.
    void LoadProgress() override;
    // Writes today's date and the six label texts as one atomic replacement of the file.
    void SaveProgress() override;
    [[nodiscard]] bool StoredDateIsToday() override;

private:
    [[nodiscard]] std::filesystem::path CurrentFilePath() const;

    RunState& state_;
    MainWindowOperations& window_;
    std::filesystem::path programDirectory_;
    WallClock clock_;
};

}  // namespace velmira
