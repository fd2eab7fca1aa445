#include "app/program.h"

#include <QApplication>
#include <QSessionManager>

#include "app/main_window.h"
#include "app/sleep_inhibitor_dbus.h"
#include "app/volume_prompt_dialog.h"
#include "audio/alsa_sys_volume.h"
#include "audio/master_volume_scaling.h"
#include "audio/sdl_playback.h"
#include "audio/stage_track_player.h"
#include "run/run_control.h"
#include "store/program_directory.h"
#include "store/progress_file.h"

namespace velmira {

// Declared in the order they must come up; they go down in reverse, so sound
// and mixer outlive the window and the run control that use them.
struct Program::Parts {
    explicit Parts(RunState& state)
        : directory(ProgramDirectory()),
          player(playback, directory),
          volume(mixer, state),
          store(state, window, directory, SystemWallClock()),
          prompt(&window, window, player),
          control(state, window, RunServices{store, player, volume, prompt, inhibitor},
                  SteadyClock()) {}

    std::filesystem::path directory;
    SdlPlayback playback;
    StageTrackPlayer player;
    AlsaSysVolume mixer;
    MasterVolumeScaling volume;
    MainWindow window;
    ProgressFile store;
    VolumePromptWindow prompt;
    DBusSleepInhibitor inhibitor;
    RunControl control;
};

Program::Program() : parts_(std::make_unique<Parts>(state_)) {
    MainWindow& window = parts_->window;
    RunControl& control = parts_->control;
    connect(&window, &MainWindow::startClicked, this, [this, &control] {
        control.Start();
        // A quit that closed the prompt lets Start finish first, then ends the run.
        if (quitRequested_) Quit();
    });
    connect(&window, &MainWindow::stopClicked, this, [&control] { control.Stop(); });
    connect(&window, &MainWindow::deviceChosen, this, [&control] { control.DeviceChanged(); });
    connect(&window, &MainWindow::focusOnlyClicked, this, [&control] { control.MoveFocus(); });
    connect(&window, &MainWindow::ticked, this, [&control] { control.Tick(); });
    connect(&window, &MainWindow::closing, this, [&control] { control.Close(); });
    // Logging out ends the run as closing the window does, so the run is saved.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { Quit(); });
    control.Created();
}

Program::~Program() = default;

void Program::Show() { parts_->window.show(); }

void Program::Quit() {
    quitRequested_ = true;
    if (QWidget* prompt = QApplication::activeModalWidget()) {
        prompt->close();
        return;
    }
    if (parts_->window.isVisible()) parts_->window.close();
}

}  // namespace velmira
