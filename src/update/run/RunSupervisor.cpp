#include "update/run/RunSupervisor.h"

#include "update/record/PendingRun.h"
#include "update/record/RunHistory.h"
#include "update/run/LogLimit.h"
#include "update/run/RunKeeper.h"
#include "update/run/RunLock.h"
#include "update/run/RunLog.h"
#include "update/run/SleepInhibitor.h"
#include "update/run/SupervisorProtocol.h"
#include "update/run/UpdaterCommand.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>

#include <cstdio>

namespace {

// What a record's end adds: times, outcome, detail, notes, the history's
// problem.
constexpr qint64 endRoom = 64 * 1024;

Outcome outcomeOf(const RunEnd &end)
{
    switch (end.kind) {
    case RunEnd::Exited:
        return end.exitCode == 0 ? Outcome::Ok : Outcome::Failed;
    case RunEnd::Crashed:
        return Outcome::Crashed;
    case RunEnd::Unknown:
        break;
    }
    return Outcome::Unknown;
}

} // namespace

QStringList supervisorArguments(const SupervisedRun &run)
{
    return QStringList {run.history, run.pending, QString::fromUtf8(toJsonLine(run.record)), run.workingDir,
                        run.program}
    + run.arguments;
}

std::optional<SupervisedRun> parseSupervisorArguments(const QStringList &arguments)
{
    if (arguments.size() < 5)
        return std::nullopt;
    const std::optional<RunRecord> record = fromJsonLine(arguments.at(2).toUtf8());
    if (!record)
        return std::nullopt;
    return SupervisedRun {arguments.at(0), arguments.at(1), *record,
                          arguments.at(3), arguments.at(4), arguments.mid(5)};
}

RunSupervisor::RunSupervisor(SupervisedRun given, QObject *parent)
    : QObject(parent)
    , run(std::move(given))
{ }

RunSupervisor::~RunSupervisor() = default;

bool RunSupervisor::start(int *exitCode)
{
    RunLockAttempt attempt = RunLock::take();
    if (attempt.result == RunLockAttempt::Result::Held) {
        *exitCode = supervisorBusyCode;
        return false;
    }
    *exitCode = 0;
    // Never a second updater on the panel: without the lock, none.
    if (attempt.result == RunLockAttempt::Result::Failed)
        return refuse(Refusal::NoLock, QStringLiteral("cannot take the machine's run lock: ") + attempt.error,
                      exitCode);
    lock = std::move(attempt.lock);
    QString error;
    lock->setInfo({QCoreApplication::applicationPid(), 0, run.pending, run.record.started});
    // Never a run that a crash would leave without a trace.
    if (!writePending(run.pending, run.record, &error))
        return refuse(Refusal::Unrecorded, QStringLiteral("cannot write the run's record: ") + error,
                      exitCode);
    pendingWritten = true;
    // The end is written whatever fills the disk meanwhile: into room taken
    // now, as large as the record with all its end may say.
    if (!reservePending(run.pending, toJsonLine(run.record).size() + endRoom, &error))
        return refuse(Refusal::Unrecorded, QStringLiteral("cannot take room for the run's end: ") + error,
                      exitCode);
    inhibitor = std::make_unique<SleepInhibitor>();
    if (!inhibitor->problem().isEmpty())
        run.record.notes.append(QStringLiteral("sleep and shutdown not held off: ") + inhibitor->problem());

    followUpdater();
    const QString logPath = run.record.log;
    writeLogHeader();
    running.start();
    // Whatever the updater does with what it inherits, the run's keeper
    // holds the lock and the machine awake while any process of it lives.
    const RunGuard guard {lock->descriptors() << inhibitor->descriptor()};
    const QStringList command = RunKeeper::command(run);
    if (!updater.start(command.first(), command.mid(1), run.workingDir, logPath, &guard, &error)) {
        fileNotStarted(startFailure(error), error);
        return false;
    }
#ifdef Q_OS_WIN
    // Whatever the updater prints, its log never fills the disk (on Unix
    // the keeper, which drains the output, sees to that).
    logLimit = new LogLimit(logPath, LogLimit::size(), this);
#endif
    return true;
}

// Stops the updater when a window asks, and tells its start and end.
void RunSupervisor::followUpdater()
{
    auto *stops = new StopListener(this);
    connect(stops, &StopListener::requested, this, [this] {
        // An updater that ended on its own keeps its outcome, though the
        // request is handled only now (this process was stopped, say).
        if (stopAsked.isEmpty() && !updater.hasEnded())
            stopAsked = isoWithOffset(QDateTime::currentDateTime());
        updater.stop();
    });
    connect(&updater, &RunProcess::started, this, [this](qint64 pid) {
        lock->setInfo({QCoreApplication::applicationPid(), pid, run.pending, run.record.started});
    });
    connect(&updater, &RunProcess::finished, this, [this](const RunEnd &end) {
        conclude(end);
        emit done();
    });
}

void RunSupervisor::fileForGoneSupervisor(SupervisedRun run, const RunEnd &end, const QElapsedTimer &running)
{
    RunSupervisor kept(std::move(run));
    kept.run.record = readPending(kept.run.pending).value_or(kept.run.record);
    kept.run.record.notes.append(
        QStringLiteral("its supervisor ended during the run; the run's keeper filed it"));
    kept.pendingWritten = true;
    kept.running = running;
    kept.conclude(end);
}

void RunSupervisor::conclude(const RunEnd &end)
{
    const std::optional<int> code
        = end.kind == RunEnd::Exited ? std::optional<int>(end.exitCode) : std::nullopt;
    if (stopAsked.isEmpty())
        finish(outcomeOf(end), code, end.detail, end.droppedOutput);
    else
        finish(Outcome::Stopped, code,
               QStringLiteral("stop asked for at ") + stopAsked
                   + (end.forced ? QStringLiteral("; forced after %1 s").arg(RunProcess::stopGraceMs / 1000)
                                 : QStringLiteral("; ended when asked")),
               end.droppedOutput);
}

bool RunSupervisor::refuse(Refusal why, const QString &reason, int *exitCode)
{
    std::fprintf(stderr, "tpfw-run: nothing was started: %s\n", qPrintable(reason));
    fileNotStarted(why, reason);
    *exitCode = supervisorUnrecordedCode;
    return false;
}

// Nothing ran: no log to keep.
void RunSupervisor::fileNotStarted(Refusal why, const QString &reason)
{
    QFile::remove(run.record.log);
    run.record.log.clear();
    run.record.refusal = why;
    finish(Outcome::NotStarted, {}, reason);
}

void RunSupervisor::finish(Outcome outcome, std::optional<int> exitCode, const QString &detail,
                           qint64 droppedByKeeper)
{
    // Sleep may come once the panel is no longer written.
    inhibitor.reset();
    noteDroppedOutput(droppedByKeeper);
    run.record.ended = QDateTime::currentDateTime();
    // From a clock that never runs backwards: the station's may be set
    // meanwhile.
    run.record.seconds = running.isValid() ? running.elapsed() / 1000.0 : 0;
    run.record.outcome = outcome;
    run.record.exitCode = exitCode;
    run.record.detail = detail;
    QString error;
    if (!run.record.log.isEmpty())
        appendToLog(run.record.log, logFooter(run.record), &error);
    file();
}

void RunSupervisor::writeLogHeader()
{
    QStringList images;
    for (const FileFacts &image : qAsConst(run.record.images))
        images.append(image.path);
    QString error;
    if (!appendToLog(run.record.log, logHeader(run.record, updaterCommand(run.program, images)), &error))
        run.record.notes.append(QStringLiteral("the run log's opening lines were not written: ") + error);
}

// The log and the record say what of the output was given back.
void RunSupervisor::noteDroppedOutput(qint64 droppedByKeeper)
{
    if (logLimit)
        logLimit->check();
    const qint64 dropped = droppedByKeeper + (logLimit ? logLimit->dropped() : 0);
    if (!dropped)
        return;
    const QString note
        = QStringLiteral("%1 bytes of the updater's output were dropped from the middle of the run "
                         "log, to keep it within %2 bytes")
              .arg(dropped)
              .arg(LogLimit::size());
    run.record.notes.append(note);
    QString error;
    appendToLog(run.record.log, "tpfw: " + note.toUtf8() + '\n', &error);
}

// Into the history, and only then the pending record goes. Where the history
// cannot be written, the completed record stays pending, saying why, for the
// windows to show and for the next tpfw to file.
void RunSupervisor::file()
{
    QString error;
    if (!pendingWritten) {
        if (!appendToHistory(run.history, run.record, &error))
            std::fprintf(stderr, "History not written: %s\n", qPrintable(error));
        return;
    }
    const Filing filed = fileRecord(run.history, run.record, run.pending, &error);
    if (filed == Filing::Filed)
        return;
    // Gone while the run went on (filed as interrupted by a window that took
    // the machine for free, or removed): this record is the run's end.
    if (filed == Filing::FiledByAnother) {
        run.record.notes.append(QStringLiteral("its pending record was gone when the run ended"));
        if (appendToHistory(run.history, run.record, &error))
            return;
    }
    run.record.historyProblem = error;
    writePending(run.pending, run.record, &error);
}
