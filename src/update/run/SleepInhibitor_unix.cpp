#include "update/run/SleepInhibitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>

// logind holds off sleep and shutdown while the descriptor it hands out is
// open; closing it (or the supervisor's end) lets them go.
struct SleepInhibitor::Hold
{
    QDBusUnixFileDescriptor fd;
};

SleepInhibitor::SleepInhibitor()
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        why = bus.lastError().message();
        if (why.isEmpty())
            why = QStringLiteral("no system bus");
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep:shutdown:idle") << QStringLiteral("tpfw")
         << QString::fromLatin1(inhibitReason()) << QStringLiteral("block");
    const QDBusReply<QDBusUnixFileDescriptor> reply = bus.call(call, QDBus::Block, 5000);
    if (!reply.isValid()) {
        why = reply.error().message();
        return;
    }
    hold = std::make_unique<Hold>(Hold {reply.value()});
}

SleepInhibitor::~SleepInhibitor() = default;

int SleepInhibitor::descriptor() const
{
    return hold ? hold->fd.fileDescriptor() : -1;
}
