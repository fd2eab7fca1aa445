// The baseline of the benchmarks: the least a Qt Widgets program costs to show a window
// of the main window's size, with one label so that fonts get loaded as they do there.
//   velmira_minimal_window                 shows the window "Minimal window"
//   velmira_minimal_window --count-ticks   also counts ticks the naive way: a precise
//       1000 ms timer adds one per timeout. It reads commands from standard input:
//       "start" restarts the count and the timer, "stop" prints the count and exits.
// The naive count is what a timer-driven counter shows after the UI thread stalled,
// next to the real program's count in the same run.

#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <string>

namespace {

constexpr QSize kWindowSize(364, 237);

// Commands arrive as whole lines, but a read may return part of one.
class NaiveTickCounter : public QObject {
public:
    explicit NaiveTickCounter(QObject* parent)
        : QObject(parent), input_(STDIN_FILENO, QSocketNotifier::Read) {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1000);
        connect(&timer_, &QTimer::timeout, this, [this] { ++ticks_; });
        connect(&input_, &QSocketNotifier::activated, this, [this] { ReadCommands(); });
    }

private:
    void ReadCommands() {
        char chunk[256];
        const ssize_t count = read(STDIN_FILENO, chunk, sizeof chunk);
        if (count <= 0) {
            input_.setEnabled(false);
            QApplication::quit();
            return;
        }
        pending_.append(chunk, static_cast<std::size_t>(count));
        for (std::size_t end = pending_.find('\n'); end != std::string::npos;
             end = pending_.find('\n')) {
            Run(pending_.substr(0, end));
            pending_.erase(0, end + 1);
        }
    }

    void Run(const std::string& command) {
        if (command == "start") {
            ticks_ = 0;
            timer_.start();
        } else if (command == "stop") {
            timer_.stop();
            std::printf("%ld\n", ticks_);
            std::fflush(stdout);
            QApplication::quit();
        }
    }

    QTimer timer_;
    QSocketNotifier input_;
    std::string pending_;
    long ticks_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal window"));
    window.setFixedSize(kWindowSize);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Minimal window"), &window));

    if (QApplication::arguments().contains(QStringLiteral("--count-ticks")))
        new NaiveTickCounter(&window);

    window.show();
    return QApplication::exec();
}
