#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "run/duration_text.h"
#include "run/main_window_operations.h"

namespace velmira {

// Every call into the window and the services lands in one log, so a test can
// check the order of a whole sequence.
using CallLog = std::vector<std::string>;

inline const char* Name(LockableControl control) {
    switch (control) {
        case LockableControl::StartButton:
            return "start-button";
        case LockableControl::StageList:
            return "stage-list";
        case LockableControl::DeviceList:
            return "device-list";
        case LockableControl::AutoVolumeBox:
            return "auto-volume-box";
    }
    return "?";
}

class FakeWindow : public MainWindowOperations {
public:
    explicit FakeWindow(CallLog& log) : log_(log) { captions.fill(std::string(kZeroDurationText)); }

    std::string Caption(ProgressLabel label) const override {
        return captions[static_cast<std::size_t>(label)];
    }
    void SetCaption(ProgressLabel label, std::string_view text) override {
        captions[static_cast<std::size_t>(label)] = text;
        log_.push_back("caption " + std::to_string(static_cast<int>(label)));
    }
    void SetDisabled(LockableControl control, bool isDisabled) override {
        log_.push_back(std::string(isDisabled ? "disable " : "enable ") + Name(control));
        disabled[control] = isDisabled;
    }
    bool AutoVolumeChecked() const override { return autoVolume; }
    int Selection(SelectionList list) const override {
        return list == SelectionList::Stage ? stage : device;
    }
    std::string ItemText(SelectionList, int) const override { return {}; }
    void SetTimerPeriod(int milliseconds) override {
        period = milliseconds;
        log_.push_back("timer " + std::to_string(milliseconds));
    }
    void MoveFocusToTodayStageOneLabel() override { log_.push_back("focus"); }

    std::array<std::string, 6> captions;
    std::map<LockableControl, bool> disabled;
    bool autoVolume = true;
    int stage = 0;
    int device = 0;
    int period = 0;

private:
    CallLog& log_;
};

}  // namespace velmira
