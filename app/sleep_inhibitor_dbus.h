#pragma once

#include <QObject>
#include <memory>

#include "run/sleep_inhibitor.h"

class QDBusPendingCallWatcher;

namespace velmira {

// Keeps the machine awake during a run: a logind "sleep:idle" block lock on the
// system bus, or where logind refuses or is absent, the desktop's ScreenSaver
// inhibition on the session bus. Requests are asynchronous, so a slow or hung
// bus never holds up the window; without any bus nothing happens.
class DBusSleepInhibitor : public QObject, public SleepInhibitor {
    Q_OBJECT

public:
    explicit DBusSleepInhibitor(QObject* parent = nullptr);
    ~DBusSleepInhibitor() override;

    void Acquire() override;
    void Release() override;

private:
    struct Lock;

    void AskLogind();
    void AskScreenSaver();
    void TakeLogindReply(QDBusPendingCallWatcher* call);
    void TakeScreenSaverReply(QDBusPendingCallWatcher* call);
    void Unlock();

    bool wanted_ = false;
    bool asking_ = false;
    std::unique_ptr<Lock> lock_;
};

}  // namespace velmira
