#pragma once

#include <QObject>

#include <memory>

// Hears a window ask the supervisor to stop its updater (RunProcess::askToStop).
// On Unix the request is SIGUSR1, which must be blocked in every thread:
// call blockRequests() before any thread starts.
class StopListener : public QObject
{
    Q_OBJECT

public:
    static void blockRequests();
    explicit StopListener(QObject *parent = nullptr);
    ~StopListener() override;

signals:
    void requested();

private:
    struct Channel;
    std::unique_ptr<Channel> channel;
};

#ifdef Q_OS_WIN
// The name of the event a supervisor waits on for a stop request.
QString stopEventName(qint64 supervisorPid);
#endif
