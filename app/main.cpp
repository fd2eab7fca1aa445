#include <QApplication>
#include <cstdio>

#include "app/display_check.h"
#include "app/program.h"
#include "app/termination_signals.h"

int main(int argc, char* argv[]) {
    if (!velmira::DisplayAvailable()) {
        std::fputs("velmira: no display found; start it from a desktop session, "
                   "or headless with: xvfb-run velmira\n",
                   stderr);
        return 1;
    }
    // Before QApplication: its threads, and the sound threads later, must inherit
    // the blocked termination signals.
    velmira::BlockTerminationSignals();
    QApplication application(argc, argv);
    velmira::TerminationSignals terminationSignals;
    velmira::Program program;
    QObject::connect(&terminationSignals, &velmira::TerminationSignals::received, &program,
                     &velmira::Program::Quit);
    program.Show();
    return QApplication::exec();
}
