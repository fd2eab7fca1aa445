#pragma once

#include <string>
#include <string_view>

namespace velmira {

// The six progress labels, today's then the aggregate ones, stage one to three.
enum class ProgressLabel {
    TodayStageOne,
    TodayStageTwo,
    TodayStageThree,
    AggregateStageOne,
    AggregateStageTwo,
    AggregateStageThree,
};

// Controls whose disabled flag changes while a run starts and stops.
enum class LockableControl { StartButton, StageList, DeviceList, AutoVolumeBox };

enum class SelectionList { Stage, Device };

// stageIndex is 0, 1 or 2.
[[nodiscard]] ProgressLabel TodayLabelOfStage(int stageIndex);
[[nodiscard]] ProgressLabel AggregateLabelOfStage(int stageIndex);

// What the run, store and prompt logic may read and change on the main window.
// Every property is read afresh from the control; nothing is mirrored. Texts are
// GBK bytes.
class MainWindowOperations {
public:
    virtual ~MainWindowOperations() = default;

    [[nodiscard]] virtual std::string Caption(ProgressLabel label) const = 0;
    virtual void SetCaption(ProgressLabel label, std::string_view text) = 0;
    virtual void SetDisabled(LockableControl control, bool disabled) = 0;
    [[nodiscard]] virtual bool AutoVolumeChecked() const = 0;
    // 0-based index of the selected item, -1 when none is selected.
    [[nodiscard]] virtual int Selection(SelectionList list) const = 0;
    // The item's text; empty when the index is out of range.
    [[nodiscard]] virtual std::string ItemText(SelectionList list, int index) const = 0;
    // A negative period counts as 0, and 0 stops the timer; setting the period the
    // timer already has keeps its phase.
    virtual void SetTimerPeriod(int milliseconds) = 0;
    virtual void MoveFocusToTodayStageOneLabel() = 0;
};

}  // namespace velmira
