#include "update/run/SupervisorProtocol.h"

#include <QCoreApplication>
#include <QWinEventNotifier>

#include <windows.h>

namespace {

std::wstring stopEventName(qint64 supervisorPid)
{
    return QStringLiteral("Local\\tpfw-stop-%1").arg(supervisorPid).toStdWString();
}

} // namespace

void requestStop(qint64 supervisorPid)
{
    const HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, stopEventName(supervisorPid).c_str());
    if (event) {
        SetEvent(event);
        CloseHandle(event);
    }
}

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
    channel->event
        = CreateEventW(nullptr, FALSE, FALSE, stopEventName(QCoreApplication::applicationPid()).c_str());
    if (!channel->event)
        return;
    auto *notifier = new QWinEventNotifier(channel->event, this);
    connect(notifier, &QWinEventNotifier::activated, this, &StopListener::requested);
}

StopListener::~StopListener() = default;
