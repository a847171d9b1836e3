#include "update/run/RunWatch.h"

#include "update/record/Background.h"
#include "update/record/DataFolder.h"
#include "update/run/ProcessFacts.h"
#include "update/run/RunLog.h"
#include "update/run/RunSupervisor.h"
#include "update/run/UpdaterCommand.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>

#include <utility>

namespace {

// The pending record a run's info names is this data folder's own: resolved,
// it lies in the runs folder. Anyone may write the info.
bool isOwnPending(const QString &pending)
{
    const QFileInfo info(pending);
    return pending.endsWith(QStringLiteral(".pending.json")) && info.isFile()
        && info.canonicalPath() == QFileInfo(runsFolder()).canonicalFilePath();
}

// The info's supervisor is a tpfw-run of this installation, started before
// the pending record was written: not a process that took its number since.
bool isOwnSupervisor(const RunInfo &info)
{
    return isProcessOf(info.supervisorPid, supervisorProgram(), QFileInfo(info.pending).lastModified());
}

} // namespace

RunWatch::RunWatch(QObject *parent)
    : QObject(parent)
{
    connect(&supervisor, &RunProcess::finished, this, &RunWatch::conclude);
    // Queued: what is told of the run may open a notice, and an event loop
    // run inside the watch's own reading of its events can block on it.
    connect(
        &lockWatch, &QFileSystemWatcher::fileChanged, this,
        [this] {
            // A lock file made anew is watched anew.
            if (lockWatch.files().isEmpty())
                lockWatch.addPath(RunLock::path());
            lookAtMachine();
        },
        Qt::QueuedConnection);
    // For a run that cannot be followed: once a second.
    recheck.setInterval(1000);
    connect(&recheck, &QTimer::timeout, this, &RunWatch::lookAtMachine);
}

void RunWatch::watch()
{
    // Once the lock's file is made: a path that is not there is not watched.
    lockWatch.addPath(RunLock::path());
    fileAbandoned(RunLock::current());
    lookAtMachine();
}

bool RunWatch::launch(const SupervisedRun &run, QString *error)
{
    const QString appDir = QCoreApplication::applicationDirPath();
    // The updater's own folder may hold what it needs; it is found from the
    // application folder however tpfw was started.
    if (!supervisor.start(supervisorProgram(), supervisorArguments(run), appDir, run.record.log, nullptr,
                          error))
        return false;
    ownRun = true;
    current = State::Launched;
    followedPending = run.pending;
    followedRecord = run.record;
    emit stateChanged();
    return true;
}

void RunWatch::lookAtMachine()
{
    const std::optional<RunInfo> on = RunLock::current();
    if (isFollowing()) {
        if (on && on->pending == followedPending)
            announce(*on);
        return;
    }
    if (paused)
        return;
    const State before = current;
    const bool wasOther = isHeldByOther();
    // Anyone may write the lock's run info; only this user can write the pending
    // record it names, so that is what makes the run one to follow (and stop),
    // and only through the supervisor that wrote it.
    const bool orphaned = on && isOwnPending(on->pending);
    if (orphaned && isOwnSupervisor(*on) && supervisor.attach(on->supervisorPid))
        return follow(*on);
    current = !on ? State::Free : orphaned ? State::Orphaned : State::Foreign;
    if (on) {
        recheck.start();
        // The lock outlives a killed supervisor while its updater writes:
        // the run is filed once the machine is free, not before.
        emit heldBy(*on, orphaned);
    } else {
        recheck.stop();
        if (wasOther) {
            emit freed();
            fileAbandoned(std::nullopt);
        }
    }
    if (before != current)
        emit stateChanged();
}

// A run of this data folder that another window started.
void RunWatch::follow(const RunInfo &info)
{
    recheck.stop();
    ownRun = false;
    current = State::Launched;
    followedPending = info.pending;
    followedRecord = readPending(info.pending).value_or(RunRecord());
    announce(info);
    emit stateChanged();
}

void RunWatch::announce(const RunInfo &info)
{
    if (current != State::Launched || info.updaterPid <= 0)
        return;
    current = State::Following;
    if (followedRecord.runId.isNull())
        followedRecord = readPending(info.pending).value_or(RunRecord());
    qDebug() << "FW updater started, pid" << info.updaterPid;
    emit announced(info, followedRecord, ownRun);
    emit stateChanged();
}

void RunWatch::conclude(const RunEnd &end)
{
    // A short run may end before its supervisor's info was read.
    if (const RunInfo last = RunLock::lastInfo(); last.pending == followedPending)
        announce(last);
    const bool own = std::exchange(ownRun, false);
    current = State::Free;
    emit ended(end, own, followedRecord, followedPending);
    emit stateChanged();
    lookAtMachine();
}

void RunWatch::fileAbandoned(const std::optional<RunInfo> &on)
{
    // A held lock whose info names no record (being written, or not yet
    // written by a supervisor just started) may belong to any of them.
    if (on && on->pending.isEmpty())
        return;
    // Off the GUI thread: a folder of many runs, a history another tpfw holds.
    inBackground(
        this,
        [] {
            return fileAbandonedRuns([](const QString &pending) {
                const std::optional<RunInfo> now = RunLock::current();
                return now && (now->pending == pending || now->pending.isEmpty());
            });
        },
        [this](const AbandonedRuns &found) { emit filed(found); });
}
