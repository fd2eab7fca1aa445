#include <poll.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QTest>
#include <memory>

#include "app/sleep_inhibitor_dbus.h"

using namespace velmira;

namespace {

// logind's Manager as far as inhibition goes: hands out the write end of a pipe
// and watches the read end, which hangs up once every copy of the lock is closed.
class FakeLogind : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    bool refuse = false;
    QStringList requests;
    int readEnd = -1;

    ~FakeLogind() override {
        if (readEnd >= 0) close(readEnd);
    }
    [[nodiscard]] bool LockHeld() const {
        if (readEnd < 0) return false;
        pollfd fd{readEnd, POLLIN, 0};
        return poll(&fd, 1, 0) == 0;
    }

public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why,
                                    const QString& mode) {
        requests << QStringList{what, who, why, mode}.join('|');
        if (refuse) {
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("not allowed"));
            return {};
        }
        int ends[2];
        if (pipe(ends) != 0) return {};
        if (readEnd >= 0) close(readEnd);
        readEnd = ends[0];
        QDBusUnixFileDescriptor lock(ends[1]);
        close(ends[1]);
        return lock;
    }
};

class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    QStringList calls;

public slots:
    uint Inhibit(const QString& who, const QString&) {
        calls << "Inhibit " + who;
        return 42;
    }
    void UnInhibit(uint cookie) { calls << QStringLiteral("UnInhibit %1").arg(cookie); }
};

// The fake services sit on a connection of their own, so the inhibitor reaches
// them through the bus exactly as it would reach the real ones.
class FakeBus {
public:
    FakeBus()
        : connection_(QDBusConnection::connectToBus(
              qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("fake-services"))) {}
    ~FakeBus() {
        connection_.unregisterService(QStringLiteral("org.freedesktop.login1"));
        connection_.unregisterService(QStringLiteral("org.freedesktop.ScreenSaver"));
        connection_.unregisterObject(QStringLiteral("/org/freedesktop/login1"));
        connection_.unregisterObject(QStringLiteral("/org/freedesktop/ScreenSaver"));
    }
    bool Offer(QObject* service, const char* name, const char* path) {
        return connection_.registerObject(QString::fromLatin1(path), service,
                                          QDBusConnection::ExportAllSlots) &&
               connection_.registerService(QString::fromLatin1(name));
    }

private:
    QDBusConnection connection_;
};

}  // namespace

class SleepInhibitorTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(),
                 "run this test through tests/scripts/with_dbus.sh");
    }

    void logindLockIsHeldFromAcquireToRelease() {
        FakeBus bus;
        FakeLogind logind;
        QVERIFY(bus.Offer(&logind, "org.freedesktop.login1", "/org/freedesktop/login1"));
        DBusSleepInhibitor inhibitor;
        inhibitor.Acquire();
        QTRY_VERIFY(logind.LockHeld());
        QCOMPARE(logind.requests.size(), 1);
        QVERIFY(logind.requests.front().startsWith(QStringLiteral("sleep:idle|Velmira|")));
        QVERIFY(logind.requests.front().endsWith(QStringLiteral("|block")));
        inhibitor.Acquire();  // already held: no second lock
        QTest::qWait(100);
        QCOMPARE(logind.requests.size(), 1);
        inhibitor.Release();
        QTRY_VERIFY(!logind.LockHeld());
    }

    void endingTheProgramReleasesTheLock() {
        FakeBus bus;
        FakeLogind logind;
        QVERIFY(bus.Offer(&logind, "org.freedesktop.login1", "/org/freedesktop/login1"));
        {
            DBusSleepInhibitor inhibitor;
            inhibitor.Acquire();
            QTRY_VERIFY(logind.LockHeld());
        }
        QTRY_VERIFY(!logind.LockHeld());
    }

    void releaseBeforeTheReplyDropsTheLockOnArrival() {
        FakeBus bus;
        FakeLogind logind;
        QVERIFY(bus.Offer(&logind, "org.freedesktop.login1", "/org/freedesktop/login1"));
        DBusSleepInhibitor inhibitor;
        inhibitor.Acquire();
        inhibitor.Release();
        QTRY_COMPARE(logind.requests.size(), 1);
        QTest::qWait(200);
        QVERIFY(!logind.LockHeld());
    }

    void refusedLogindFallsBackToTheScreenSaver() {
        FakeBus bus;
        FakeLogind logind;
        logind.refuse = true;
        FakeScreenSaver screenSaver;
        QVERIFY(bus.Offer(&logind, "org.freedesktop.login1", "/org/freedesktop/login1"));
        QVERIFY(
            bus.Offer(&screenSaver, "org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver"));
        DBusSleepInhibitor inhibitor;
        inhibitor.Acquire();
        QTRY_COMPARE(screenSaver.calls, QStringList{"Inhibit Velmira"});
        inhibitor.Release();
        QTRY_COMPARE(screenSaver.calls, (QStringList{"Inhibit Velmira", "UnInhibit 42"}));
    }

    void withNoServiceItRunsOnSilently() {
        DBusSleepInhibitor inhibitor;
        inhibitor.Acquire();
        QTest::qWait(300);
        inhibitor.Release();
        inhibitor.Release();
    }
};

QTEST_GUILESS_MAIN(SleepInhibitorTest)
#include "sleep_inhibitor_test.moc"
