#include "update/UpdaterSession.h"

#include "selection/NameDisplay.h"
#include "update/Background.h"
#include "update/LogRetention.h"
#include "update/PendingRun.h"
#include "update/ProcessFacts.h"
#include "update/RunLock.h"
#include "update/RunLog.h"
#include "update/RunSupervisor.h"
#include "update/UpdaterCommand.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QThread>

#include <atomic>
#include <memory>
#include <utility>

namespace {

// What keeps the program from being started at all, in words; empty when
// nothing is known to.
QString unstartable(const QString &program)
{
    const QFileInfo info(program);
    if (!info.exists())
        return QCoreApplication::translate("MainWindow", "not found");
    if (info.isDir())
        return QCoreApplication::translate("MainWindow", "a folder");
#ifndef Q_OS_WIN
    // Windows runs a program whatever its permissions.
    if (!info.isExecutable())
        return QCoreApplication::translate("MainWindow", "not executable");
#endif
    return {};
}

QString cannotStart(const QString &program, const QString &reason)
{
    return QCoreApplication::translate("MainWindow", "Cannot start the FW updater: ") + program
        + QStringLiteral(" (") + reason + QLatin1Char(')');
}

QString unrecordable(const QString &reason)
{
    return QCoreApplication::translate("MainWindow", "This run cannot be recorded: %1. Nothing was started.")
        .arg(reason);
}

// The pending record a run's word names is this data folder's own: resolved,
// it lies in the runs folder. Anyone may write the word.
bool isOwnPending(const QString &pending)
{
    const QFileInfo info(pending);
    return pending.endsWith(QStringLiteral(".pending.json")) && info.isFile()
        && info.canonicalPath() == QFileInfo(runsFolder()).canonicalFilePath();
}

// The word's supervisor is a tpfw-run of this installation, started before
// the pending record was written: not a process that took its number since.
bool isOwnSupervisor(const RunInfo &info)
{
    return isProcessOf(info.supervisorPid, supervisorProgram(), QFileInfo(info.pending).lastModified());
}

// The debug line of a run's end.
QString endLine(const QJsonObject &record)
{
    const QString outcome = record.value("outcome").toString();
    if (outcome == QLatin1String("ok") || outcome == QLatin1String("failed"))
        return QStringLiteral("FW updater ended: exit code %1").arg(record.value("exitCode").toInt());
    if (outcome == QLatin1String("crashed") || outcome == QLatin1String("stopped"))
        return QStringLiteral("FW updater ended: ") + outcome;
    return QStringLiteral("FW updater ended: result unknown, ") + record.value("detail").toString();
}

} // namespace

struct CheckedFiles
{
    QVector<FileFacts> images;
    FileFacts updater;
    // Images checked so far, of how many.
    std::atomic<int> done {0};
    int total = 0;
};

namespace {

// Several images at once, one on each core, then the updater.
void checkFiles(CheckedFiles &files, const QStringList &binFiles, const QString &program)
{
    files.images.resize(binFiles.size());
    FileFacts *const facts = files.images.data();
    std::atomic<int> next {0};
    const auto work = [&] {
        for (int i; (i = next++) < binFiles.size();) {
            facts[i] = factsOf(binFiles.at(i));
            ++files.done;
        }
    };
    QVector<QThread *> helpers;
    for (int k = 1; k < qMin(QThread::idealThreadCount(), binFiles.size()); ++k) {
        helpers.append(QThread::create(work));
        helpers.last()->start();
    }
    work();
    for (QThread *helper : qAsConst(helpers)) {
        helper->wait();
        delete helper;
    }
    files.updater = factsOf(program);
}

} // namespace

QString outcomeText(const QJsonObject &record)
{
    const QString outcome = record.value("outcome").toString();
    if (sentNothing(record))
        return QCoreApplication::translate("MainWindow",
                                           "FW updater ended: no images were sent (exit code %1)")
            .arg(record.value("exitCode").toInt());
    if (outcome == QLatin1String("ok"))
        return QCoreApplication::translate("MainWindow", "FW update OK");
    if (outcome == QLatin1String("failed"))
        return QCoreApplication::translate("MainWindow", "FW update failed: exit code %1")
            .arg(record.value("exitCode").toInt());
    if (outcome == QLatin1String("crashed"))
        return QCoreApplication::translate("MainWindow", "FW update failed: the updater crashed");
    if (outcome == QLatin1String("stopped"))
        return QCoreApplication::translate("MainWindow", "FW update stopped");
    if (outcome == QLatin1String("interrupted"))
        return QCoreApplication::translate("MainWindow", "FW update interrupted: result unknown");
    return QCoreApplication::translate("MainWindow", "FW updater ended (result unknown)");
}

UpdaterSession::UpdaterSession(QObject *parent)
    : QObject(parent)
{
    connect(&supervisor, &UpdaterRun::finished, this, &UpdaterSession::conclude);
    connect(&lockWatch, &QFileSystemWatcher::fileChanged, this, [this] {
        // A lock file made anew is watched anew.
        if (lockWatch.files().isEmpty())
            lockWatch.addPath(RunLock::path());
        lookAtMachine();
    });
    checkProgress.setInterval(100);
    connect(&checkProgress, &QTimer::timeout, this, &UpdaterSession::tellCheckProgress);
    // For another user's run, which cannot be followed: once a second.
    recheck.setInterval(1000);
    connect(&recheck, &QTimer::timeout, this, &UpdaterSession::lookAtMachine);
}

UpdaterSession::~UpdaterSession()
{
    if (retention) {
        retention->wait();
        delete retention;
    }
    // Nobody is left to tell.
    blockSignals(true);
    if (isChecking())
        cancel();
}

void UpdaterSession::look()
{
    // Off the GUI thread: a folder of a thousand logs, maybe on a slow disk.
    if (!retention) {
        retention = QThread::create([] {
            const QSet<QString> named = logsOfRecentRuns(historyPath(), LogLimits().days);
            for (const QString &name : pruneRunLogs(runsFolder(), QDateTime::currentDateTime(), named))
                qDebug() << "Run log removed:" << name;
        });
        retention->start();
    }
    // Anyone may put something at the lock's place: the window opens all the
    // same, and says it.
    if (const QString problem = RunLock::prepare(); !problem.isEmpty())
        emit warned(
            QCoreApplication::translate("MainWindow",
                                        "The machine's run lock cannot be used: %1. No FW update can be "
                                        "started until it is fixed.")
                .arg(problem));
    // Once the lock's file is made: a path that is not there is not watched.
    lockWatch.addPath(RunLock::path());
    fileAbandoned(RunLock::current());
    lookAtMachine();
}

bool UpdaterSession::isBusy() const
{
    return isChecking() || supervisor.isRunning() || otherRun;
}

bool UpdaterSession::canStop() const
{
    return supervisor.isRunning() && announced;
}

void UpdaterSession::start(const QStringList &binFiles, const Leaf &leaf)
{
    const QString program = updaterProgram();
    arguments = updaterArguments(binFiles);
    for (int i = 0; i < binFiles.size(); ++i)
        qDebug() << "argumentStrList" << i << ": " << arguments.at(i);
    qDebug() << "commandStr: " << updaterCommand(program, binFiles);

    current = {};
    current.tpSize = leaf.tpSize;
    current.sensitivity = leaf.sensitivity;
    for (const QString &file : binFiles)
        current.images.append({file, -1, {}, {}});
    // Hashing large images would freeze the window. The check shares
    // nothing with this session but what it fills in, so that a closed
    // window can leave it behind.
    checked = std::make_shared<CheckedFiles>();
    checked->total = binFiles.size();
    checker
        = QThread::create([files = checked, binFiles, program] { checkFiles(*files, binFiles, program); });
    connect(checker, &QThread::finished, this, [this] {
        checkProgress.stop();
        tellCheckProgress();
        checker->deleteLater();
        checker = nullptr;
        checkedAwaiting = held;
        if (!held)
            launch();
    });
    checker->start();
    tellCheckProgress();
    checkProgress.start();
}

void UpdaterSession::tellCheckProgress()
{
    emit running(QCoreApplication::translate("MainWindow", "Checking the images: %1 of %2")
                     .arg(checked->done)
                     .arg(checked->total));
}

bool UpdaterSession::isChecking() const
{
    return checker || checkedAwaiting;
}

void UpdaterSession::holdStart(bool hold)
{
    held = hold;
    if (!held && std::exchange(checkedAwaiting, false))
        launch();
}

void UpdaterSession::cancel()
{
    checkProgress.stop();
    held = checkedAwaiting = false;
    // Never waited for: a read may be stuck on a share that does not answer.
    // What it finds goes nowhere, and nothing is started.
    if (checker) {
        checker->disconnect(this);
        connect(checker, &QThread::finished, checker, &QObject::deleteLater);
        checker = nullptr;
    }
    current.started = current.ended = QDateTime::currentDateTime();
    current.outcome = QStringLiteral("notStarted");
    current.detail = QStringLiteral("cancelled: the window was closed while the images were checked");
    QString problem;
    if (!appendToHistory(historyPath(), current, &problem))
        qDebug() << "History not written:" << problem;
    qDebug() << "FW update cancelled: the window was closed while the images were checked";
}

void UpdaterSession::stop()
{
    stopAsked = true;
    supervisor.askToStop();
}

void UpdaterSession::launch()
{
    current.images = checked->images;
    current.updater = checked->updater;
    QStringList unread;
    for (const FileFacts &image : qAsConst(current.images))
        if (!image.unread.isEmpty())
            unread.append(QFileInfo(image.path).fileName() + QStringLiteral(": ") + image.unread);
    current.detail = unread.join(QStringLiteral("; "));
    const QString program = current.updater.path;
    current.started = QDateTime::currentDateTime();
    logProblem.clear();
    current.log = createRunLog(current.started, &logProblem);
    // What is sent must be what was checked.
    for (const FileFacts &image : qAsConst(current.images))
        if (image.unsteady) {
            const QString name = QFileInfo(image.path).fileName();
            return refuse(name + QStringLiteral(": changed while it was checked"),
                          QCoreApplication::translate("MainWindow",
                                                      "%1 changed while it was checked: nothing was started. "
                                                      "Make sure nothing writes to the images, then press "
                                                      "UpdateFW again.")
                              .arg(displayName(name)));
        }
    if (const QString reason = unstartable(program); !reason.isEmpty())
        return refuse(reason, cannotStart(program, reason));
    // Never a run that a crash would leave without a trace.
    if (current.log.isEmpty())
        return refuse(QStringLiteral("cannot write the run's log: ") + logProblem, unrecordable(logProblem));
    if (const QString problem = RunLock::prepare(); !problem.isEmpty())
        return refuse(QStringLiteral("cannot take the machine's run lock: ") + problem,
                      unrecordable(problem));

    QJsonObject record = toJson(current);
    for (const char *end : {"ended", "seconds", "outcome", "exitCode"})
        record.remove(QLatin1String(end));
    const QString pending = pendingPathFor(current.log);
    const QString appDir = QCoreApplication::applicationDirPath();
    QString reason;
    // The updater's own folder may hold what it needs; it is found from the
    // application folder however tpfw was started.
    if (!supervisor.start(supervisorProgram(),
                          supervisorArguments({historyPath(), pending, record, appDir, program, arguments}),
                          appDir, current.log, nullptr, &reason))
        return refuse(reason, cannotStart(supervisorProgram(), reason));
    ownRun = true;
    announced = false;
    followedPending = pending;
    followedRecord = record;
    emit busyChanged();
}

// Nothing was started: the window records it, as nobody else will.
void UpdaterSession::refuse(const QString &reason, const QString &notice)
{
    qDebug().noquote() << notice;
    QFile::remove(current.log);
    current.log.clear();
    current.ended = QDateTime::currentDateTime();
    current.outcome = QStringLiteral("notStarted");
    current.detail = current.detail.isEmpty() ? reason : reason + QStringLiteral("; ") + current.detail;
    emit notStarted(notice);
    emit busyChanged();
    // Off the GUI thread: another tpfw may hold the history's lock a while.
    inBackground(
        this,
        [record = current] {
            QString problem;
            if (!appendToHistory(historyPath(), record, &problem))
                qDebug() << "History not written:" << problem;
            return problem;
        },
        [this](const QString &problem) { emit recorded(problem); });
}

void UpdaterSession::lookAtMachine()
{
    const std::optional<RunInfo> on = RunLock::current();
    if (supervisor.isRunning()) {
        if (on && on->pending == followedPending)
            announce(*on);
        return;
    }
    if (checker)
        return;
    const bool wasOther = otherRun;
    otherRun = on.has_value();
    // Anyone may write the lock's word; only this user can write the pending
    // record it names, so that is what makes the run one to follow (and stop),
    // and only through the supervisor that wrote it.
    const bool ours = on && isOwnPending(on->pending);
    if (ours && isOwnSupervisor(*on) && supervisor.attach(on->supervisorPid))
        return follow(*on);
    if (otherRun) {
        recheck.start();
        // The lock outlives a killed supervisor while its updater writes:
        // the run is filed once the machine is free, not before.
        if (ours)
            emit running(QCoreApplication::translate(
                             "MainWindow", "FW updater running (its supervisor is gone; started %1)")
                             .arg(on->started.toLocalTime().toString("HH:mm:ss")));
        // Between a supervisor's start and its first word, or its pending
        // record, the run is not known to be another tpfw's.
        else if (on->supervisorPid > 0)
            emit running(
                QCoreApplication::translate("MainWindow", "FW updater running (another tpfw's, started %1)")
                    .arg(on->started.toLocalTime().toString("HH:mm:ss")));
    } else {
        recheck.stop();
        if (wasOther) {
            emit running(QString());
            fileAbandoned(std::nullopt);
        }
    }
    if (wasOther != otherRun)
        emit busyChanged();
}

// A run of this data folder that another window started.
void UpdaterSession::follow(const RunInfo &info)
{
    recheck.stop();
    otherRun = false;
    ownRun = false;
    announced = false;
    followedPending = info.pending;
    followedRecord = readPending(info.pending);
    logProblem.clear();
    announce(info);
    emit busyChanged();
}

void UpdaterSession::announce(const RunInfo &info)
{
    if (announced || info.updaterPid <= 0)
        return;
    announced = true;
    if (followedRecord.isEmpty())
        followedRecord = readPending(info.pending);
    qDebug() << "FW updater started, pid" << info.updaterPid;
    emit running(QCoreApplication::translate("MainWindow", "FW updater running (started %1)")
                     .arg(info.started.toLocalTime().toString("HH:mm:ss")));
    emit following({followedRecord.value("tpSize").toString(), followedRecord.value("sensitivity").toString(),
                    followedRecord.value("images").toArray().size(), followedRecord.value("log").toString(),
                    QDateTime::fromString(followedRecord.value("started").toString(), Qt::ISODateWithMs)});
    if (ownRun)
        emit started();
    emit busyChanged();
}

void UpdaterSession::conclude(const RunEnd &end)
{
    // A short run may end before its supervisor's word was read.
    if (const RunInfo last = RunLock::lastWord(); last.pending == followedPending)
        announce(last);
    const bool own = std::exchange(ownRun, false);
    announced = false;
    stopAsked = false;
    if (own && end.kind == RunEnd::Exited && end.exitCode == supervisorBusyCode) {
        QFile::remove(current.log);
        emit notStarted(QCoreApplication::translate("MainWindow", "The FW updater is still running."));
        emit busyChanged();
        return lookAtMachine();
    }
    if (own && end.kind == RunEnd::Exited && end.exitCode == supervisorUnrecordedCode) {
        tellUnrecorded();
        emit busyChanged();
        return lookAtMachine();
    }
    QJsonObject record = readPending(followedPending);
    if (!record.isEmpty() && !record.contains(QStringLiteral("outcome"))) {
        // Its supervisor ended before the updater did, which may write on.
        fileAbandoned(RunLock::current());
    } else {
        const QString problem = record.value(QStringLiteral("historyProblem")).toString();
        if (record.isEmpty())
            record = findRecord(historyPath(), followedRecord.value(QStringLiteral("started")).toString());
        report(record, problem);
    }
    emit busyChanged();
    lookAtMachine();
}

void UpdaterSession::report(const QJsonObject &record, const QString &historyProblem)
{
    if (historyProblem.isEmpty() && record.isEmpty())
        qDebug() << "History not written: the run's record is not in it";
    else if (!historyProblem.isEmpty())
        qDebug() << "History not written:" << historyProblem;
    emit recorded(historyProblem);
    const QString detail = record.value(QStringLiteral("detail")).toString();
    if (record.value(QStringLiteral("outcome")).toString() == QLatin1String("notStarted")) {
        emit notStarted(cannotStart(record.value("updater").toString(), detail));
        return;
    }
    qDebug().noquote() << endLine(record);
    RunReport report;
    const QString outcome = record.value(QStringLiteral("outcome")).toString();
    // Neither success nor failure where nothing was sent.
    report.ok = outcome == QLatin1String("ok") && !sentNothing(record);
    report.known
        = QStringList({"ok", "failed", "crashed", "stopped"}).contains(outcome) && !sentNothing(record);
    report.outcome = outcomeText(record);
    report.duration
        = QString::number(record.value(QStringLiteral("seconds")).toDouble(), 'f', 1) + QStringLiteral(" s");
    const QString log = record.value(QStringLiteral("log")).toString();
    const QString where = log.isEmpty()
        ? QCoreApplication::translate("MainWindow", "No run log: ") + logProblem
        : QCoreApplication::translate("MainWindow", "Run log: ") + log;
    report.details = (detail.isEmpty() ? QString() : detail + "\n\n") + logTail(log, 20) + "\n\n" + where;
    emit ended(report);
}

// The supervisor refused to start a run it could not record; its record of
// that, with the reason, is in the history where the history could be written.
void UpdaterSession::tellUnrecorded()
{
    const QJsonObject record
        = findRecord(historyPath(), followedRecord.value(QStringLiteral("started")).toString());
    const QString reason = record.value(QStringLiteral("detail")).toString();
    qDebug().noquote() << "FW updater not started:" << reason;
    emit recorded(QString());
    emit notStarted(unrecordable(reason.isEmpty() ? QCoreApplication::translate(
                                     "MainWindow", "its supervisor could not write a record")
                                                  : reason));
}

void UpdaterSession::fileAbandoned(const std::optional<RunInfo> &on)
{
    // A held lock whose word names no record (being written, or not yet
    // written by a supervisor just started) may belong to any of them.
    if (on && on->pending.isEmpty())
        return;
    // Off the GUI thread: a folder of many runs, a history another tpfw holds.
    inBackground(
        this, [live = on ? on->pending : QString()] { return fileAbandonedRuns(live); },
        [this](const AbandonedRuns &abandoned) { tellAbandoned(abandoned); });
}

void UpdaterSession::tellAbandoned(const AbandonedRuns &abandoned)
{
    for (const QString &path : abandoned.damaged)
        emit warned(
            QCoreApplication::translate("MainWindow",
                                        "A damaged record of a FW update was set aside: %1. Check the "
                                        "panel of the last update that was not recorded.")
                .arg(QDir::toNativeSeparators(path)));
    const QList<QJsonObject> &found = abandoned.interrupted;
    for (const QJsonObject &record : found)
        emit interrupted(
            QCoreApplication::translate(
                "MainWindow",
                "The FW update started %1 on %2 / %3 was interrupted; its result is unknown. Check the panel "
                "before using it.")
                .arg(QDateTime::fromString(record.value("started").toString(), Qt::ISODateWithMs)
                         .toLocalTime()
                         .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                     displayName(record.value("tpSize").toString()),
                     displayName(record.value("sensitivity").toString())));
    if (!found.isEmpty())
        emit recorded(QString());
}
