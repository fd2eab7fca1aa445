#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "run/duration_text.h"
#include "run/main_window_operations.h"

namespace velmira::testing {

// The main window as the store sees it: six captions that start as zero time, a device
// selection, and a log of caption writes.
class FakeMainWindow : public MainWindowOperations {
public:
    FakeMainWindow() { captions.fill(std::string(kZeroDurationText)); }

    [[nodiscard]] std::string Caption(ProgressLabel label) const override {
        return captions[Index(label)];
    }
    void SetCaption(ProgressLabel label, std::string_view text) override {
        captions[Index(label)] = text;
        captionWrites.push_back(label);
    }
    void SetDisabled(LockableControl, bool) override {}
    [[nodiscard]] bool AutoVolumeChecked() const override { return true; }
    [[nodiscard]] int Selection(SelectionList list) const override {
        return list == SelectionList::Device ? device : 0;
    }
    [[nodiscard]] std::string ItemText(SelectionList, int) const override { return {}; }
    void SetTimerPeriod(int) override {}
    void MoveFocusToTodayStageOneLabel() override {}

    static std::size_t Index(ProgressLabel label) { return static_cast<std::size_t>(label); }

    std::array<std::string, 6> captions;
    int device = 0;
    std::vector<ProgressLabel> captionWrites;
};

}  // namespace velmira::testing
