#pragma once

#include <cstdint>
#include <functional>

#include "audio/master_volume.h"
#include "audio/stage_player.h"
#include "run/elapsed_seconds.h"
#include "run/main_window_operations.h"
#include "run/run_state.h"
#include "run/sleep_inhibitor.h"
#include "run/volume_prompt.h"
#include "store/progress_store.h"

namespace velmira {

// The parts of the program that a run starts, stops and saves.
struct RunServices {
    ProgressStore& store;
    StagePlayer& player;
    MasterVolume& volume;
    VolumePrompt& prompt;
    SleepInhibitor& inhibitor;
};

// Reads a monotonic clock that stops while the machine is suspended.
using MonotonicClock = std::function<ElapsedSeconds::Time()>;
[[nodiscard]] MonotonicClock SteadyClock();

// The main window's handlers: start, stop and close of a burn-in run, the
// one-second tick, and the created and device-change sequences.
class RunControl {
public:
    static constexpr int kTickPeriodMs = 1000;
    // A run also saves while it goes on, so a crash or power cut loses at most this much.
    static constexpr std::int64_t kAutosaveSeconds = 60;

    RunControl(RunState& state, MainWindowOperations& window, RunServices services,
               MonotonicClock clock);

    void Created();
    void DeviceChanged();
    void Start();
    void Stop();
    void Close();
    void Tick();
    void MoveFocus();

private:
    void SeedCountersAndPlay(int stageIndex);
    // Counts the whole seconds that passed since the last count and shows them in
    // the running stage's labels; gives how many there were.
    std::int64_t CountDueSeconds();
    void StopCounting();

    RunState& state_;
    MainWindowOperations& window_;
    RunServices services_;
    MonotonicClock clock_;
    ElapsedSeconds elapsed_;
    // Whether Start has run since the last Stop or Close: an idle Stop counts nothing.
    bool counting_ = false;
    std::int64_t secondsSinceSave_ = 0;
};

}  // namespace velmira
