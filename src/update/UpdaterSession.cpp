#include "update/UpdaterSession.h"

#include "update/RunLog.h"
#include "update/UpdaterCommand.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <memory>

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

} // namespace

struct CheckedFiles
{
    QVector<FileFacts> images;
    FileFacts updater;
};

namespace {

// The outcome as the history names it.
QString outcomeName(const RunEnd &end)
{
    switch (end.kind) {
    case RunEnd::Exited:
        return QLatin1String(end.exitCode == 0 ? "ok" : "failed");
    case RunEnd::Crashed:
        return QStringLiteral("crashed");
    case RunEnd::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

} // namespace

QString outcomeText(const RunEnd &end)
{
    switch (end.kind) {
    case RunEnd::Exited:
        return end.exitCode == 0
            ? QCoreApplication::translate("MainWindow", "FW update OK")
            : QCoreApplication::translate("MainWindow", "FW update failed: exit code %1").arg(end.exitCode);
    case RunEnd::Crashed:
        return QCoreApplication::translate("MainWindow", "FW update failed: the updater crashed");
    case RunEnd::Unknown:
        break;
    }
    return QCoreApplication::translate("MainWindow", "FW updater ended (result unknown)");
}

UpdaterSession::UpdaterSession(QObject *parent)
    : QObject(parent)
{
    connect(&run, &UpdaterRun::started, this,
            [](qint64 pid) { qDebug() << "FW updater started, pid" << pid; });
    connect(&run, &UpdaterRun::finished, this, &UpdaterSession::finish);
}

UpdaterSession::~UpdaterSession()
{
    if (!checker)
        return;
    checker->wait();
    delete checker;
    // Nobody is left to tell.
    blockSignals(true);
    launch();
}

bool UpdaterSession::isBusy() const
{
    return checker || run.isRunning();
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
    emit running(QCoreApplication::translate("MainWindow", "Checking the images"));
    // Hashing large images would freeze the window.
    checked = std::make_shared<CheckedFiles>();
    checker = QThread::create([files = checked, binFiles, program] {
        for (const QString &file : binFiles)
            files->images.append(factsOf(file));
        files->updater = factsOf(program);
    });
    connect(checker, &QThread::finished, this, [this] {
        checker->deleteLater();
        checker = nullptr;
        launch();
    });
    checker->start();
}

void UpdaterSession::launch()
{
    current.images = checked->images;
    current.updater = checked->updater;
    const QString program = current.updater.path;
    current.started = QDateTime::currentDateTime();
    logProblem.clear();
    current.log = createRunLog(current.started, &logProblem);
    QString reason = unstartable(program);
    // The updater's own folder may hold what it needs; it is found from the
    // application folder however tpfw was started.
    if (!reason.isEmpty()
        || !run.start(program, arguments, QCoreApplication::applicationDirPath(), current.log, &reason)) {
        qDebug() << "Cannot start the FW updater:" << program << reason;
        QFile::remove(current.log);
        current.log.clear();
        record(QStringLiteral("notStarted"), {}, reason);
        emit notStarted(QCoreApplication::translate("MainWindow", "Cannot start the FW updater: ") + program
                        + QStringLiteral(" (") + reason + QLatin1Char(')'));
        return;
    }
    emit running(QCoreApplication::translate("MainWindow", "FW updater running"));
    emit started();
}

void UpdaterSession::finish(const RunEnd &end)
{
    if (end.kind == RunEnd::Exited)
        qDebug() << "FW updater ended: exit code" << end.exitCode;
    else if (end.kind == RunEnd::Crashed)
        qDebug() << "FW updater ended: crashed";
    else
        qDebug() << "FW updater ended: result unknown," << end.detail;
    record(outcomeName(end), end.kind == RunEnd::Exited ? std::optional<int>(end.exitCode) : std::nullopt,
           end.detail);

    RunReport report;
    report.ok = end.kind == RunEnd::Exited && end.exitCode == 0;
    report.outcome = outcomeText(end);
    report.duration
        = QString::number(current.started.msecsTo(current.ended) / 1000.0, 'f', 1) + QStringLiteral(" s");
    const QString where = current.log.isEmpty()
        ? QCoreApplication::translate("MainWindow", "No run log: ") + logProblem
        : QCoreApplication::translate("MainWindow", "Run log: ") + current.log;
    report.details = (end.detail.isEmpty() ? QString() : end.detail + "\n\n") + logTail(current.log, 20)
        + "\n\n" + where;
    emit ended(report);
}

void UpdaterSession::record(const QString &outcome, std::optional<int> exitCode, const QString &detail)
{
    current.ended = QDateTime::currentDateTime();
    current.outcome = outcome;
    current.exitCode = exitCode;
    current.detail = detail;
    QString problem;
    if (!appendToHistory(historyPath(), current, &problem))
        qDebug() << "History not written:" << problem;
    emit recorded(problem);
}
