#pragma once

#include <QObject>

class QSocketNotifier;

namespace velmira {

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the UI thread, so that a
// kill, Ctrl+C or a closed terminal ends the program through the normal close
// sequence (playback stopped, volume restored, progress saved).
//
// The signals are read from a signalfd instead of interrupting a handler. That
// needs them blocked in every thread, so BlockTerminationSignals() must run
// before any other thread exists (before QApplication); the object itself needs
// the application's event loop and comes after it.
void BlockTerminationSignals();

class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received();

private:
    void Drain();

    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace velmira
