#include "update/run/RunEnding.h"

#include "update/record/Background.h"
#include "update/record/DataFolder.h"
#include "update/record/HistoryReading.h"
#include "update/run/RunWatch.h"
#include "update/run/SupervisorProtocol.h"

#include <QDebug>
#include <QFile>
#include <QTimer>

#include <utility>

namespace {

// The debug line of a run's end.
QString endLine(const RunRecord &record)
{
    switch (record.outcome.value_or(Outcome::Unknown)) {
    case Outcome::Ok:
    case Outcome::Failed:
        return QStringLiteral("FW updater ended: exit code %1").arg(record.exitCode.value_or(-1));
    case Outcome::Crashed:
    case Outcome::Stopped:
        return QStringLiteral("FW updater ended: ") + outcomeName(*record.outcome);
    case Outcome::Interrupted:
    case Outcome::NotStarted:
    case Outcome::Unknown:
        break;
    }
    return QStringLiteral("FW updater ended: result unknown, ") + record.detail;
}

} // namespace

RunEnding::RunEnding(RunWatch *watched, QObject *parent)
    : QObject(parent)
    , watch(watched)
{
    connect(watch, &RunWatch::ended, this, &RunEnding::conclude);
    connect(watch, &RunWatch::heldBy, this, [this](const RunInfo &on, bool ours) {
        if (ours)
            heldByOurs(on);
    });
    connect(watch, &RunWatch::freed, this, &RunEnding::tellFreed);
    connect(watch, &RunWatch::filed, this, &RunEnding::tellAbandoned);
}

void RunEnding::conclude(const RunEnd &end, bool own, const RunRecord &run, const QString &pending)
{
    const std::optional<Refusal> refused = own ? supervisorRefusal(end) : std::nullopt;
    if (refused == Refusal::Busy) {
        QFile::remove(run.log);
        return emit notStarted(refusalOf(Refusal::Busy));
    }
    if (refused == Refusal::Unrecorded)
        return tellUnrecorded(run.runId);
    const std::optional<RunRecord> written = readPending(pending);
    if (written && !written->outcome)
        awaitKeeper(written->runId);
    else if (written)
        report(*written, written->historyProblem);
    else
        reportFiled(run.runId);
}

// A run of this data folder whose supervisor is gone holds the machine: it
// is told once its keeper has filed it.
void RunEnding::heldByOurs(const RunInfo &on)
{
    if (orphan.isNull())
        orphan = readPending(on.pending).value_or(RunRecord()).runId;
}

void RunEnding::report(const std::optional<RunRecord> &found, const QString &historyProblem)
{
    if (historyProblem.isEmpty() && !found)
        qDebug() << "History not written: the run's record is not in it";
    else if (!historyProblem.isEmpty())
        qDebug() << "History not written:" << historyProblem;
    emit recorded(historyProblem);
    const RunRecord last = found.value_or(RunRecord());
    if (last.outcome == Outcome::NotStarted)
        return emit notStarted(recordedRefusal(last));
    qDebug().noquote() << endLine(last);
    emit ended(last);
}

// Off the GUI thread: the history may be long, and another tpfw may hold it.
template <typename Reading, typename Done> void RunEnding::readHistory(Reading read, Done done)
{
    ++reading;
    inBackground(this, std::move(read), [this, done = std::move(done)](const auto &found) {
        --reading;
        done(found);
        emit readingDone();
    });
}

void RunEnding::reportFiled(const QUuid &runId)
{
    readHistory([runId] { return findRecord(historyPath(), runId); },
                [this](const std::optional<RunRecord> &found) { report(found, QString()); });
}

// The supervisor refused to start a run it could not record; its record of
// that, with the reason, is in the history where the history could be written.
void RunEnding::tellUnrecorded(const QUuid &runId)
{
    readHistory([runId] { return findRecord(historyPath(), runId).value_or(RunRecord()).detail; },
                [this](const QString &reason) {
                    qDebug().noquote() << "FW updater not started:" << reason;
                    emit recorded(QString());
                    emit notStarted(refusalOf(Refusal::Unrecorded, {}, reason));
                });
}

// Its supervisor ended before the updater did, which may write on: the run's
// keeper files it once nothing of it is left, and the machine is free then.
void RunEnding::awaitKeeper(const QUuid &runId)
{
    orphan = runId;
    watch->fileAbandoned(RunLock::current());
    // The watch looks at the machine once this end is told. Found free
    // already, the keeper has filed the run, and no freeing will be told.
    QTimer::singleShot(0, this, [this] {
        if (!orphan.isNull() && watch->state() == RunWatch::State::Free)
            tellFreed();
    });
}

// A run whose supervisor was gone is filed by its keeper, with the
// updater's end, once nothing of it is left.
void RunEnding::tellFreed()
{
    emit freed();
    const QUuid id = std::exchange(orphan, QUuid());
    if (id.isNull())
        return;
    readHistory([id] { return findRecord(historyPath(), id); },
                [this](const std::optional<RunRecord> &found) {
                    if (found)
                        report(found, QString());
                });
}

void RunEnding::tellAbandoned(const AbandonedRuns &abandoned)
{
    for (const QString &path : abandoned.damaged)
        emit damaged(path);
    for (const RunRecord &found : abandoned.interrupted)
        emit interrupted(found);
    if (!abandoned.interrupted.isEmpty())
        emit recorded(QString());
}
