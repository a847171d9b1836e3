#pragma once

#include "update/run/RunProcess.h"
#include "update/run/RunSupervisor.h"

#include <QByteArray>
#include <QStringList>

#include <optional>

class LogLimit;

// Its Unix source is Linux's: it uses PR_SET_CHILD_SUBREAPER, pidfd_open(2)
// and waitid(P_PIDFD) (Linux 5.4).

// What the keeper tells its supervisor, a line each: that the updater
// started, or why it could not be; how the updater's first process ended, as
// soon as it has; and that nothing of the run is left.
struct KeeperReport
{
    qint64 updaterPid = 0;
    // The system's error number where the updater could not be started.
    int startError = 0;
    std::optional<RunEnd> updaterEnd;
    bool over = false;
    qint64 droppedOutput = 0;

    // The run's end as told: the updater's, once nothing of the run is left.
    RunEnd runEnd() const;
};

// The run's keeper: tpfw-run again, between the supervisor and the updater,
// holding what the run must hold for as long as any process of it lives,
// whatever the updater does with its descriptors or whoever kills the
// supervisor. It holds the run lock's and the sleep inhibitor's descriptors
// as it inherited them, is the subreaper of all the updater starts, drains
// the updater's output into the run log within its limit, and tells its
// supervisor how the updater ended once nothing of the run is left; where
// the supervisor is gone by then, it files the run itself.
class RunKeeper
{
public:
    // What the supervisor starts under the machine's guard, program first:
    // the keeper, which starts the updater (on Windows, where the run's job
    // ties every process, the updater itself).
    static QStringList command(const SupervisedRun &run);
    static bool isCommand(const QStringList &arguments);

    static QByteArray startedLine(qint64 updaterPid);
    static QByteArray failedLine(int error);
    static QByteArray exitedLine(const RunEnd &end);
    static QByteArray overLine(qint64 droppedOutput);
    static KeeperReport read(const QByteArray &lines);

    explicit RunKeeper(SupervisedRun run);
    // The keeper's whole life; its exit code.
    int exec();

private:
    void tell(const QByteArray &line);
    void drain(int output, int log, LogLimit &limit);
    void reapAll();
    void noteEnd(bool exited, int status);

    SupervisedRun run;
    qint64 updaterPid = 0;
    int updaterPidfd = -1;
    RunEnd updaterEnd {RunEnd::Unknown, 0, QStringLiteral("the updater's end was not seen"), false, 0};
};
