#include "update/StopListener.h"

#include <QCoreApplication>
#include <QWinEventNotifier>

#include <windows.h>

// A named event of this session that a window sets.
struct StopListener::Channel
{
    HANDLE event = nullptr;
    ~Channel()
    {
        if (event)
            CloseHandle(event);
    }
};

void StopListener::blockRequests()
{ }

StopListener::StopListener(QObject *parent)
    : QObject(parent)
    , channel(std::make_unique<Channel>())
{
    const QString name = stopEventName(QCoreApplication::applicationPid());
    channel->event = CreateEventW(nullptr, FALSE, FALSE, reinterpret_cast<const wchar_t *>(name.utf16()));
    if (!channel->event)
        return;
    auto *notifier = new QWinEventNotifier(channel->event, this);
    connect(notifier, &QWinEventNotifier::activated, this, &StopListener::requested);
}

StopListener::~StopListener() = default;

QString stopEventName(qint64 supervisorPid)
{
    return QStringLiteral("Local\\tpfw-stop-%1").arg(supervisorPid);
}
