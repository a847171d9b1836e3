#include "window/UpdaterSession.h"

#include "selection/NameDisplay.h"
#include "update/run/Background.h"
#include "update/record/HistoryReading.h"
#include "update/run/LogRetention.h"
#include "update/record/PendingRun.h"
#include "update/record/RunHistory.h"
#include "update/run/RunLog.h"
#include "update/run/RunSupervisor.h"
#include "update/run/SupervisorProtocol.h"
#include "update/run/UpdaterCommand.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace {

// What keeps the program from being started at all, in the record's
// English; empty when nothing is known to.
QString unstartable(const QString &program)
{
    const QFileInfo info(program);
    if (!info.exists())
        return QStringLiteral("not found");
    if (info.isDir())
        return QStringLiteral("a folder");
#ifndef Q_OS_WIN
    // Windows runs a program whatever its permissions.
    if (!info.isExecutable())
        return QStringLiteral("not executable");
#endif
    return {};
}

// A record's reason as the screen says it: those tpfw words are translated,
// the system's own (an errno's text) are shown as they are.
QString reasonOnScreen(const QString &reason)
{
    static const char *const words[] = {
        QT_TRANSLATE_NOOP("MainWindow", "not found"),
        QT_TRANSLATE_NOOP("MainWindow", "a folder"),
        QT_TRANSLATE_NOOP("MainWindow", "not executable"),
        QT_TRANSLATE_NOOP("MainWindow", "too many images for one command line"),
    };
    for (const char *word : words)
        if (reason == QLatin1String(word))
            return QCoreApplication::translate("MainWindow", word);
    return reason;
}

QString cannotStart(const QString &program, const QString &reason)
{
    return QCoreApplication::translate("MainWindow", "Cannot start the FW updater: ") + program
        + QStringLiteral(" (") + reasonOnScreen(reason) + QLatin1Char(')');
}

QString unrecordable(const QString &reason)
{
    return QCoreApplication::translate("MainWindow", "This run cannot be recorded: %1. Nothing was started.")
        .arg(reason);
}

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
    default:
        return QStringLiteral("FW updater ended: result unknown, ") + record.detail;
    }
}

} // namespace

QString outcomeText(const RunRecord &record)
{
    const int exitCode = record.exitCode.value_or(-1);
    if (record.sentNothing())
        return QCoreApplication::translate("MainWindow",
                                           "FW updater ended: no images were sent (exit code %1)")
            .arg(exitCode);
    switch (record.outcome.value_or(Outcome::Unknown)) {
    case Outcome::Ok:
        return QCoreApplication::translate("MainWindow", "FW update OK");
    case Outcome::Failed:
        return QCoreApplication::translate("MainWindow", "FW update failed: exit code %1").arg(exitCode);
    case Outcome::Crashed:
        return QCoreApplication::translate("MainWindow", "FW update failed: the updater crashed");
    case Outcome::Stopped:
        return QCoreApplication::translate("MainWindow", "FW update stopped");
    case Outcome::Interrupted:
        return QCoreApplication::translate("MainWindow", "FW update interrupted: result unknown");
    default:
        return QCoreApplication::translate("MainWindow", "FW updater ended (result unknown)");
    }
}

UpdaterSession::UpdaterSession(QObject *parent)
    : QObject(parent)
{
    connect(&imageCheck, &ImageCheck::progress, this, [this](int done, int total) {
        emit running(
            QCoreApplication::translate("MainWindow", "Checking the images: %1 of %2").arg(done).arg(total));
    });
    connect(&imageCheck, &ImageCheck::checked, this, &UpdaterSession::launch);
    connect(&runWatch, &RunWatch::announced, this, &UpdaterSession::tellStarted);
    connect(&runWatch, &RunWatch::ended, this, &UpdaterSession::conclude);
    connect(&runWatch, &RunWatch::heldBy, this, [this](const RunInfo &on, bool ours) {
        const QString time = on.started.toLocalTime().toString("HH:mm:ss");
        if (ours)
            emit running(QCoreApplication::translate(
                             "MainWindow", "FW updater running (its supervisor is gone; started %1)")
                             .arg(time));
        // Between a supervisor's start and its first word, or its pending
        // record, the run is not known to be another tpfw's.
        else if (on.supervisorPid > 0)
            emit running(
                QCoreApplication::translate("MainWindow", "FW updater running (another tpfw's, started %1)")
                    .arg(time));
    });
    connect(&runWatch, &RunWatch::freed, this, [this] { emit running(QString()); });
    connect(&runWatch, &RunWatch::filed, this, &UpdaterSession::tellAbandoned);
    connect(&runWatch, &RunWatch::stateChanged, this, &UpdaterSession::busyChanged);
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
    runWatch.look();
}

bool UpdaterSession::isBusy() const
{
    return isChecking() || runWatch.state() != RunWatch::State::Free;
}

bool UpdaterSession::canStop() const
{
    return runWatch.state() == RunWatch::State::Following;
}

void UpdaterSession::begin(const QStringList &binFiles, const Leaf &leaf, const RunFor &runFor)
{
    current = RunRecord::begun();
    current.tpSize = leaf.tpSize;
    current.sensitivity = leaf.sensitivity;
    if (!runFor.station.isEmpty())
        current.station = runFor.station;
    current.unit = runFor.unit;
    current.operatorId = runFor.operatorId;
    current.order = runFor.order;
    for (const QString &file : binFiles)
        current.images.append({file, -1, {}, {}});
}

void UpdaterSession::refuseAtPress(const QStringList &binFiles, const Leaf &leaf, const RunFor &runFor,
                                   const QString &detail, const QString &notice)
{
    begin(binFiles, leaf, runFor);
    current.started = QDateTime::currentDateTime();
    refuse(detail, notice);
}

void UpdaterSession::start(const QStringList &binFiles, const Leaf &leaf, const RunFor &runFor)
{
    const QString program = updaterProgram();
    arguments = updaterArguments(binFiles);
    for (int i = 0; i < binFiles.size(); ++i)
        qDebug() << "argumentStrList" << i << ": " << arguments.at(i);
    qDebug() << "commandStr: " << updaterCommand(program, binFiles);

    begin(binFiles, leaf, runFor);
    // Until the images are checked, a run found is left to itself.
    runWatch.pause(true);
    imageCheck.start(binFiles, program);
}

bool UpdaterSession::isChecking() const
{
    return imageCheck.state() != ImageCheck::State::Idle;
}

void UpdaterSession::holdStart(bool hold)
{
    imageCheck.hold(hold);
}

void UpdaterSession::cancel()
{
    imageCheck.cancel();
    runWatch.pause(false);
    current.started = QDateTime::currentDateTime();
    endUnstarted(QStringLiteral("cancelled: the window was closed while the images were checked"));
    QString problem;
    if (!appendToHistory(historyPath(), current, &problem))
        qDebug() << "History not written:" << problem;
    qDebug() << "FW update cancelled: the window was closed while the images were checked";
}

void UpdaterSession::stop()
{
    stopAsked = true;
    runWatch.askToStop();
}

void UpdaterSession::launch(const QVector<FileFacts> &images, const FileFacts &updater)
{
    runWatch.pause(false);
    current.images = images;
    current.updater = updater;
    for (const FileFacts &image : qAsConst(current.images))
        if (!image.readError.isEmpty())
            current.notes.append(QFileInfo(image.path).fileName() + QStringLiteral(": ") + image.readError);
    const QString program = current.updater.path;
    current.started = QDateTime::currentDateTime();
    logProblem.clear();
    current.log = createRunLog(current.started, current.runId, &logProblem);
    // What is sent must be what was checked.
    for (const FileFacts &image : qAsConst(current.images))
        if (image.changedWhileRead) {
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

    QString reason;
    // The updater runs in the application folder, where its own files may
    // be, however tpfw was started.
    if (!runWatch.launch({historyPath(), pendingPathFor(current.log), current,
                          QCoreApplication::applicationDirPath(), program, arguments},
                         &reason))
        return refuse(reason, cannotStart(supervisorProgram(), reason));
}

// Nothing ran: the record says why, and ends as it started.
void UpdaterSession::endUnstarted(const QString &reason)
{
    current.ended = current.started;
    current.seconds = 0;
    current.outcome = Outcome::NotStarted;
    current.detail = reason;
}

// Nothing was started: the window records it, as nobody else will.
void UpdaterSession::refuse(const QString &reason, const QString &notice)
{
    qDebug().noquote() << notice;
    QFile::remove(current.log);
    current.log.clear();
    endUnstarted(reason);
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

void UpdaterSession::tellStarted(const RunInfo &info, const RunRecord &run, bool own)
{
    if (!own)
        logProblem.clear();
    emit running(QCoreApplication::translate("MainWindow", "FW updater running (started %1)")
                     .arg(info.started.toLocalTime().toString("HH:mm:ss")));
    emit following({run.tpSize, run.sensitivity, int(run.images.size()), run.log, run.started});
    if (own)
        emit started();
}

void UpdaterSession::conclude(const RunEnd &end, bool own, const RunRecord &run, const QString &pending)
{
    stopAsked = false;
    if (own && end.kind == RunEnd::Exited && end.exitCode == supervisorBusyCode) {
        QFile::remove(current.log);
        emit notStarted(QCoreApplication::translate("MainWindow", "The FW updater is still running."));
        return;
    }
    if (own && end.kind == RunEnd::Exited && end.exitCode == supervisorUnrecordedCode)
        return tellUnrecorded(run);
    const std::optional<RunRecord> record = readPending(pending);
    if (record && !record->outcome)
        // Its supervisor ended before the updater did, which may write on.
        runWatch.fileAbandoned(RunLock::current());
    else if (record)
        report(*record, record->historyProblem);
    else
        report(findRecord(historyPath(), run.runId), QString());
}

void UpdaterSession::report(const std::optional<RunRecord> &found, const QString &historyProblem)
{
    if (historyProblem.isEmpty() && !found)
        qDebug() << "History not written: the run's record is not in it";
    else if (!historyProblem.isEmpty())
        qDebug() << "History not written:" << historyProblem;
    emit recorded(historyProblem);
    const RunRecord record = found.value_or(RunRecord());
    const QString detail = record.detail;
    if (record.outcome == Outcome::NotStarted) {
        emit notStarted(cannotStart(record.updater.path, detail));
        return;
    }
    qDebug().noquote() << endLine(record);
    RunReport report;
    const Outcome outcome = record.outcome.value_or(Outcome::Unknown);
    // Neither success nor failure where nothing was sent.
    report.ok = record.isOk();
    report.known = (outcome == Outcome::Ok || outcome == Outcome::Failed || outcome == Outcome::Crashed
                    || outcome == Outcome::Stopped)
        && !record.sentNothing();
    report.outcome = outcomeText(record);
    report.duration
        = record.seconds ? QString::number(*record.seconds, 'f', 1) + QStringLiteral(" s") : QString();
    const QString log = record.log;
    const QString where = log.isEmpty()
        ? QCoreApplication::translate("MainWindow", "No run log: ") + logProblem
        : QCoreApplication::translate("MainWindow", "Run log: ") + log;
    // The updater's own last words first; what the station noted last.
    QStringList parts {logTail(log, 20), detail, record.notes.join(QLatin1Char('\n')), where};
    parts.removeAll(QString());
    report.details = parts.join(QStringLiteral("\n\n"));
    emit ended(report);
}

// The supervisor refused to start a run it could not record; its record of
// that, with the reason, is in the history where the history could be written.
void UpdaterSession::tellUnrecorded(const RunRecord &run)
{
    const QString reason = findRecord(historyPath(), run.runId).value_or(RunRecord()).detail;
    qDebug().noquote() << "FW updater not started:" << reason;
    emit recorded(QString());
    emit notStarted(unrecordable(reason.isEmpty() ? QCoreApplication::translate(
                                     "MainWindow", "its supervisor could not write a record")
                                                  : reason));
}

void UpdaterSession::tellAbandoned(const AbandonedRuns &abandoned)
{
    for (const QString &path : abandoned.damaged)
        emit warned(
            QCoreApplication::translate("MainWindow",
                                        "A damaged record of a FW update was set aside: %1. Check the "
                                        "panel of the last update that was not recorded.")
                .arg(QDir::toNativeSeparators(path)));
    const QList<RunRecord> &found = abandoned.interrupted;
    for (const RunRecord &record : found)
        emit interrupted(
            QCoreApplication::translate(
                "MainWindow",
                "The FW update started %1 on %2 / %3 was interrupted; its result is unknown. Check the panel "
                "before using it.")
                .arg(record.started.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                     displayName(record.tpSize), displayName(record.sensitivity)));
    if (!found.isEmpty())
        emit recorded(QString());
}
