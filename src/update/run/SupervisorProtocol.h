#pragma once

#include "update/record/Refusal.h"
#include "update/run/RunProcess.h"

#include <QObject>

#include <memory>

// Its Unix source is Linux's: it uses pidfd_send_signal(2) and signalfd(2).

// What a window and a run's supervisor tell each other besides what the
// supervisor writes on the run lock (RunLock::setInfo): a stop request one
// way, an exit code the other.
//
// The request is SIGUSR1 on Unix, sent through a pidfd of the supervisor, so
// that it never reaches a process given the same number anew, and heard
// through a signalfd; on Windows it is an event of the session named for the
// supervisor's process id.

// How the supervisor ends when another run holds the machine: nothing was
// started and nothing recorded.
constexpr int supervisorBusyCode = 75;
// How it ends when the run could not have been found again after a crash
// (no run lock, no pending record): nothing was started, and the record of
// that, with the reason, is in the history where the history can be written.
constexpr int supervisorUnrecordedCode = 74;

// Why a run was not started, where its supervisor's exit code says.
std::optional<Refusal> supervisorRefusal(const RunEnd &end);

// The window's side: asks the supervisor to stop its updater. The supervisor
// as the platform names it: a pidfd on Unix, the process id on Windows.
void requestStop(qint64 supervisor);

// The supervisor's side. On Unix the request must be blocked in every
// thread: call blockRequests() before any thread starts.
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
