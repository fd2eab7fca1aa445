#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "app/display_check.h"
#include "app/program.h"
#include "app/termination_signals.h"

int main(int argc, char* argv[]) {
    if (!velmira::DisplayAvailable()) {
        std::fputs(
            "velmira: no display found; start it from a desktop session, "
            "or headless with: xvfb-run velmira\n",
            stderr);
        return 1;
    }
    // Before QApplication: its threads, and the sound threads later, must inherit
    // the blocked termination signals.
    velmira::BlockTerminationSignals();
    QApplication application(argc, argv);
    velmira::TerminationSignals terminationSignals;
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/velmira-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    velmira::Program program;
    QObject::connect(&terminationSignals, &velmira::TerminationSignals::received, &program,
                     &velmira::Program::Quit);
    program.Show();
    return QApplication::exec();
}
