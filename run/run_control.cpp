#include "run/run_control.h"

#include <utility>

#include "run/duration_text.h"
#include "run/elapsed_counters.h"

namespace velmira {

MonotonicClock SteadyClock() {
    return [] { return std::chrono::steady_clock::now().time_since_epoch(); };
}

RunControl::RunControl(RunState& state, MainWindowOperations& window, RunServices services,
                       MonotonicClock clock)
    : state_(state), window_(window), services_(services), clock_(std::move(clock)) {}

void RunControl::Created() {
    services_.volume.BindMasterVolume();
    services_.store.SelectProgressFile();
    services_.store.LoadProgress();
}

void RunControl::DeviceChanged() {
    services_.store.SelectProgressFile();
    services_.store.LoadProgress();
}

void RunControl::MoveFocus() { window_.MoveFocusToTodayStageOneLabel(); }

void RunControl::Start() {
    if (window_.AutoVolumeChecked()) services_.prompt.ShowModal();
    window_.MoveFocusToTodayStageOneLabel();
    window_.SetDisabled(LockableControl::StageList, true);
    window_.SetDisabled(LockableControl::DeviceList, true);
    window_.SetDisabled(LockableControl::AutoVolumeBox, true);
    window_.SetTimerPeriod(kTickPeriodMs);
    elapsed_.Restart(clock_());
    counting_ = true;
    secondsSinceSave_ = 0;
    // Each test reads the selection afresh; the list is locked by now, so exactly one matches.
    for (int stage = 0; stage < 3; ++stage) {
        if (window_.Selection(SelectionList::Stage) == stage) SeedCountersAndPlay(stage);
    }
    window_.SetDisabled(LockableControl::StartButton, true);
    window_.MoveFocusToTodayStageOneLabel();
    services_.inhibitor.Acquire();
}

void RunControl::SeedCountersAndPlay(int stageIndex) {
    const Duration aggregate = ParseDuration(window_.Caption(AggregateLabelOfStage(stageIndex)));
    state_.aggregateHours = aggregate.hours;
    state_.aggregateMinutes = aggregate.minutes;
    state_.aggregateSeconds = aggregate.seconds;
    if (!services_.store.StoredDateIsToday()) {
        state_.todayHours = 0;
        state_.todayMinutes = 0;
        state_.todaySeconds = 0;
    } else {
        const Duration today = ParseDuration(window_.Caption(TodayLabelOfStage(stageIndex)));
        state_.todayHours = today.hours;
        state_.todayMinutes = today.minutes;
        state_.todaySeconds = today.seconds;
    }
    services_.player.PlayStageTrack(stageIndex);
    if (window_.AutoVolumeChecked()) services_.volume.ScaleVolumeForStage(stageIndex);
}

void RunControl::Stop() {
    window_.SetDisabled(LockableControl::StartButton, false);
    window_.SetDisabled(LockableControl::AutoVolumeBox, false);
    window_.MoveFocusToTodayStageOneLabel();
    services_.player.StopPlayback();
    if (window_.AutoVolumeChecked()) services_.volume.RestoreVolume();
    window_.SetTimerPeriod(0);
    StopCounting();
    window_.SetDisabled(LockableControl::StageList, false);
    window_.SetDisabled(LockableControl::DeviceList, false);
    services_.store.SaveProgress();
    services_.inhibitor.Release();
}

void RunControl::Close() {
    services_.player.StopPlayback();
    if (window_.AutoVolumeChecked()) services_.volume.RestoreVolume();
    window_.SetTimerPeriod(0);
    StopCounting();
    services_.store.SaveProgress();
    services_.inhibitor.Release();
}

void RunControl::StopCounting() {
    // After a stall the timer keeps the phase it resumed with, so up to a second
    // may have passed since its last event: count it before the labels are saved.
    if (counting_) CountDueSeconds();
    counting_ = false;
}

void RunControl::Tick() {
    const std::int64_t due = CountDueSeconds();
    secondsSinceSave_ += due;
    if (secondsSinceSave_ >= kAutosaveSeconds) {
        secondsSinceSave_ = 0;
        services_.store.SaveProgress();
    }
}

std::int64_t RunControl::CountDueSeconds() {
    // Late or lost timer events are made up here: the labels advance by the seconds
    // that really passed, one second at a time through the usual carries.
    const std::int64_t due = elapsed_.TakeDue(clock_());
    if (due <= 0) return 0;
    for (std::int64_t second = 0; second < due; ++second) AdvanceOneSecond(state_);

    const int stage = window_.Selection(SelectionList::Stage);
    window_.SetCaption(TodayLabelOfStage(stage),
                       FormatDuration(state_.todayHours, state_.todayMinutes, state_.todaySeconds));
    window_.SetCaption(
        AggregateLabelOfStage(stage),
        FormatDuration(state_.aggregateHours, state_.aggregateMinutes, state_.aggregateSeconds));
    return due;
}

}  // namespace velmira
