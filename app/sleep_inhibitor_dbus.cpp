#include "app/sleep_inhibitor_dbus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <optional>

namespace velmira {
namespace {

constexpr int kCallTimeoutMs = 5000;
const QString kWho = QStringLiteral("Velmira");
const QString kWhy = QString::fromUtf8("正在煲机");

QDBusMessage ScreenSaverCall(const QString& method) {
    const QString name = QStringLiteral("org.freedesktop.ScreenSaver");
    return QDBusMessage::createMethodCall(name, QStringLiteral("/org/freedesktop/ScreenSaver"),
                                          name, method);
}

}  // namespace

// What is held: logind's lock lives as long as its file descriptor, the
// ScreenSaver's until its cookie is handed back.
struct DBusSleepInhibitor::Lock {
    QDBusUnixFileDescriptor logindFd;
    std::optional<uint> screenSaverCookie;
};

DBusSleepInhibitor::DBusSleepInhibitor(QObject* parent) : QObject(parent) {}

DBusSleepInhibitor::~DBusSleepInhibitor() { Unlock(); }

void DBusSleepInhibitor::Acquire() {
    wanted_ = true;
    if (lock_ || asking_) return;
    AskLogind();
}

void DBusSleepInhibitor::Release() {
    wanted_ = false;
    Unlock();
}

void DBusSleepInhibitor::Unlock() {
    if (!lock_) return;
    if (lock_->screenSaverCookie) {
        QDBusMessage call = ScreenSaverCall(QStringLiteral("UnInhibit"));
        call << *lock_->screenSaverCookie;
        QDBusConnection::sessionBus().call(call, QDBus::NoBlock);
    }
    // Dropping logind's descriptor is its release.
    lock_.reset();
}

void DBusSleepInhibitor::AskLogind() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        AskScreenSaver();
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep:idle") << kWho << kWhy << QStringLiteral("block");
    asking_ = true;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            &DBusSleepInhibitor::TakeLogindReply);
}

void DBusSleepInhibitor::TakeLogindReply(QDBusPendingCallWatcher* call) {
    call->deleteLater();
    QDBusPendingReply<QDBusUnixFileDescriptor> reply = *call;
    if (reply.isError() || !reply.value().isValid()) {
        AskScreenSaver();
        return;
    }
    asking_ = false;
    // A Release that came while the request was on its way wins: the descriptor
    // is dropped right here.
    if (!wanted_) return;
    lock_ = std::make_unique<Lock>();
    lock_->logindFd = reply.value();
}

void DBusSleepInhibitor::AskScreenSaver() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        asking_ = false;
        return;
    }
    QDBusMessage call = ScreenSaverCall(QStringLiteral("Inhibit"));
    call << kWho << kWhy;
    asking_ = true;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            &DBusSleepInhibitor::TakeScreenSaverReply);
}

void DBusSleepInhibitor::TakeScreenSaverReply(QDBusPendingCallWatcher* call) {
    call->deleteLater();
    asking_ = false;
    QDBusPendingReply<uint> reply = *call;
    if (reply.isError()) return;
    lock_ = std::make_unique<Lock>();
    lock_->screenSaverCookie = reply.value();
    if (!wanted_) Unlock();
}

}  // namespace velmira
