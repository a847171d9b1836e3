#pragma once

#include "update/record/RunRecord.h"
#include "update/run/RunProcess.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class LogLimit;
class RunLock;
class SleepInhibitor;

// What tpfw hands its supervisor for one run: where the station's records
// are, the run's record so far, and the updater's command.
struct SupervisedRun
{
    QString history;
    // Empty where no run log, and so no pending record, can be written.
    QString pending;
    RunRecord record;
    QString workingDir;
    QString program;
    QStringList arguments;
};

// The supervisor's command line, each argument passed on byte for byte.
QStringList supervisorArguments(const SupervisedRun &run);
std::optional<SupervisedRun> parseSupervisorArguments(const QStringList &arguments);

// Runs one update for the station, whatever becomes of the window that asked
// for it: holds the machine's run lock, writes the run's record ahead, keeps
// the machine awake, starts the updater and waits for it, stops it when a
// window asks, and files the record with the run's end.
class RunSupervisor : public QObject
{
    Q_OBJECT

public:
    explicit RunSupervisor(SupervisedRun run, QObject *parent = nullptr);
    ~RunSupervisor() override;

    // False, with the exit code, when there is nothing to wait for.
    bool start(int *exitCode);
    // Files a run whose supervisor is gone, from its keeper, which saw the
    // updater's end (running: since the updater started).
    static void fileForGoneSupervisor(SupervisedRun run, const RunEnd &end, const QElapsedTimer &running);

signals:
    void done();

private:
    bool refuse(Refusal why, const QString &reason, int *exitCode);
    void followUpdater();
    void fileNotStarted(Refusal why, const QString &reason);
    void conclude(const RunEnd &end);
    void finish(Outcome outcome, std::optional<int> exitCode, const QString &detail,
                qint64 droppedByKeeper = 0);
    void writeLogHeader();
    void noteDroppedOutput(qint64 droppedByKeeper);
    void file();

    SupervisedRun run;
    std::unique_ptr<RunLock> lock;
    std::unique_ptr<SleepInhibitor> inhibitor;
    RunProcess updater;
    // When a stop was asked for, as the record writes times; empty until then.
    QString stopAsked;
    bool pendingWritten = false;
    LogLimit *logLimit = nullptr;
    QElapsedTimer running;
};
