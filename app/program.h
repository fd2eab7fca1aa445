#pragma once

#include <QObject>
#include <memory>

#include "run/run_state.h"

namespace velmira {

class MainWindow;
class RunControl;

// The whole program, wired: one RunState, the sound and mixer backends, the
// progress store, the main window and the run control that drives them.
class Program : public QObject {
    Q_OBJECT

public:
    // Builds the main window and runs its created sequence; the window stays hidden.
    Program();
    ~Program() override;

    void Show();
    // Ends the program through the window's normal close sequence.
    void Quit();

private:
    struct Parts;

    RunState state_;
    std::unique_ptr<Parts> parts_;
    bool quitRequested_ = false;
};

}  // namespace velmira
