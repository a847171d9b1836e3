#pragma once

#include "update/record/Refusal.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <memory>
#include <optional>

// Its Unix source is Linux's: it uses PR_SET_CHILD_SUBREAPER, pidfd_open(2),
// pidfd_send_signal(2) and waitid(P_PIDFD) (Linux 5.4), and /proc.

// How a process of a run ended, as far as tpfw could learn it.
struct RunEnd
{
    enum Kind { Exited, Crashed, Unknown };
    Kind kind = Unknown;
    int exitCode = 0;
    // Why the result is unknown; empty otherwise.
    QString detail;
    // Stopped by force, the grace time being over.
    bool forced = false;
    // Bytes of the output dropped from the log's middle by the run's keeper.
    qint64 droppedOutput = 0;
};

// What a run started under the machine's guard keeps open in every process
// it makes: the run lock's descriptor, the sleep inhibitor's.
struct RunGuard
{
    QVector<int> descriptors;
};

// A process and all it starts, followed to its end without owning it: in
// tpfw-run the updater (started under the machine's run lock, so the run is
// its whole tree), in the window the run's supervisor (started, or found
// running and attached to). It runs in a session of its own, reads the null
// device, writes into a log and goes on unharmed when whoever started it
// closes, crashes or is killed. Destroying this object stops following the
// process, never the process itself.
class RunProcess : public QObject
{
    Q_OBJECT

public:
    explicit RunProcess(QObject *parent = nullptr);
    ~RunProcess() override;

    // Starts program with the arguments, each passed on byte for byte, in
    // workingDir, its output and errors going to logPath (to the null device
    // when empty). On failure returns false and says why in *error.
    // Started under the machine's guard, the run is every process it makes,
    // in whatever session: a stop reaches them all, and the run ends with
    // the last of them. On Unix the program is then the run's keeper (see
    // RunKeeper.h), which tells the updater's start and end.
    bool start(const QString &program, const QStringList &arguments, const QString &workingDir,
               const QString &logPath, const RunGuard *guard, QString *error);
    // Follows a process this did not start (a supervisor started by another
    // tpfw); its end is then Unknown. False when it is gone already.
    bool attach(qint64 pid);
    bool isRunning() const;
    // Whether the process followed (under the guard, the updater's first
    // process) has ended by now, its end told or not (this process may have
    // been stopped while it ended).
    bool hasEnded() const;

    // Asks a supervisor followed here to stop its updater.
    void askToStop();
    // Ends the process started here and all it started: asked first, then,
    // where anything of it is left after the grace time, forced. Its end is
    // told once nothing of it is left.
    void stop();

signals:
    void started(qint64 pid);
    void finished(RunEnd end);

private:
    // told: the process told of as started (the updater, where pid is its
    // keeper's).
    void follow(qint64 pid, qint64 told);
    bool watchProcess(qint64 pid);
    void end(const RunEnd &how);
    // Tells the held end once nothing of the run is left.
    void checkRemains();
    // Asks what was started here to end; whether anything of it is left (the
    // ended children it leaves are reaped here); the force to end what is.
    void askToEnd();
    bool anythingLeft();
    void forceStop();

public:
    // How long a stop waits before it forces the run's end.
    static constexpr int stopGraceMs = 10000;

private:
    // The process started here, which leads its own process group on Unix.
    qint64 pid = 0;
    // Started under the run lock: the run is the whole tree.
    bool guarded = false;
    // Runs from a stop until the grace time is over.
    QTimer forceTimer;
    bool forced = false;
    // Held back until nothing of the run is left: what the first process
    // started, or a stopped run, may outlive it.
    std::optional<RunEnd> heldEnd;
    // Nothing tells of the end of a process that is not this one's child
    // from the start: what is left is looked at a few times a second.
    QTimer remainsCheck;

    // What each platform needs to learn how its process ended; defined,
    // and freed, by that platform's source.
    struct Watch;
    struct WatchDeleter
    {
        void operator()(Watch *watch) const;
    };
    std::unique_ptr<Watch, WatchDeleter> watch;
};

Q_DECLARE_METATYPE(RunEnd)

// Why a start failed when the images' paths do not fit on one command line.
QString tooManyImages();
// Why a start failed when the program is not one the system can run.
QString notExecutable();
// Why a start that failed with that error was refused.
Refusal startFailure(const QString &error);
