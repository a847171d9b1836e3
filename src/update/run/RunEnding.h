#pragma once

#include "update/record/PendingRun.h"
#include "update/record/Refusal.h"
#include "update/record/RunRecord.h"
#include "update/run/RunLock.h"
#include "update/run/RunProcess.h"

#include <QObject>
#include <QString>
#include <QUuid>

#include <optional>

class RunWatch;

// How each run a watch follows ended, as its record says: read where the
// run's supervisor or keeper filed it (its pending record, or the history,
// which is read off the GUI thread), and told typed. A run whose supervisor
// ended before its updater is told once its keeper has filed it and freed
// the machine. The runs found unfinished are told as the watch files them.
class RunEnding : public QObject
{
    Q_OBJECT

public:
    explicit RunEnding(RunWatch *watch, QObject *parent = nullptr);

    // A run's end is being read from the history, to be told.
    bool isReading() const { return reading > 0; }

signals:
    // A run ended, with its record as filed.
    void ended(const RunRecord &record);
    // The press ended without a run, recorded where that was possible.
    void notStarted(const RunRefusal &refusal);
    // After each record written, or not; problem says why not.
    void recorded(const QString &problem);
    void interrupted(const RunRecord &record);
    // A pending record that could not be read, set aside at path.
    void damaged(const QString &path);
    // The machine was held by a run this window could not follow, and is free.
    void freed();
    // A reading of the history is over, and what it found told.
    void readingDone();

private:
    void conclude(const RunEnd &end, bool own, const RunRecord &run, const QString &pending);
    void heldByOurs(const RunInfo &on);
    void report(const std::optional<RunRecord> &found, const QString &historyProblem);
    void reportFiled(const QUuid &runId);
    void tellUnrecorded(const QUuid &runId);
    void awaitKeeper(const QUuid &runId);
    void tellFreed();
    void tellAbandoned(const AbandonedRuns &abandoned);
    // Reads the history off the GUI thread, and hands what it found to done.
    template <typename Reading, typename Done> void readHistory(Reading reading, Done done);

    RunWatch *watch;
    // The run of this data folder whose supervisor is gone, if any.
    QUuid orphan;
    int reading = 0;
};
