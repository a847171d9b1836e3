#include "update/UpdaterSession.h"

#include "update/RunLog.h"
#include "update/UpdaterCommand.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}
} // namespace

QString outcomeText(const RunEnd &end)
{
    switch (end.kind) {
    case RunEnd::Exited:
        return end.exitCode == 0 ? tr("FW update OK")
                                 : tr("FW update failed: exit code %1").arg(end.exitCode);
    case RunEnd::Crashed:
        return tr("FW update failed: the updater crashed");
    case RunEnd::Unknown:
        break;
    }
    return tr("FW updater ended (result unknown)");
}

UpdaterSession::UpdaterSession(QObject *parent)
    : QObject(parent)
{
    connect(&run, &UpdaterRun::started, this,
            [](qint64 pid) { qDebug() << "FW updater started, pid" << pid; });
    connect(&run, &UpdaterRun::finished, this, &UpdaterSession::finish);
}

bool UpdaterSession::isRunning() const
{
    return run.isRunning();
}

bool UpdaterSession::start(const QStringList &binFiles, QString *error)
{
    const QString program = updaterProgram();
    const QStringList argumentStrList = updaterArguments(binFiles);
    for (int i = 0; i < binFiles.size(); ++i)
        qDebug() << "argumentStrList" << i << ": " << argumentStrList.at(i);
    qDebug() << "commandStr: " << updaterCommand(program, binFiles);

    logProblem.clear();
    logPath = createRunLog(QDateTime::currentDateTime(), &logProblem);
    QString reason;
    // The updater's own folder may hold what it needs; it is found from the
    // application folder however tpfw was started.
    if (!run.start(program, argumentStrList, QCoreApplication::applicationDirPath(), logPath, &reason)) {
        qDebug() << "Cannot start the FW updater:" << program << reason;
        *error = tr("Cannot start the FW updater: ") + program + QStringLiteral(" (") + reason
            + QLatin1Char(')');
        return false;
    }
    clock.start();
    emit running(tr("FW updater running"));
    return true;
}

void UpdaterSession::finish(const RunEnd &end)
{
    if (end.kind == RunEnd::Exited)
        qDebug() << "FW updater ended: exit code" << end.exitCode;
    else if (end.kind == RunEnd::Crashed)
        qDebug() << "FW updater ended: crashed";
    else
        qDebug() << "FW updater ended: result unknown," << end.detail;

    RunReport report;
    report.ok = end.kind == RunEnd::Exited && end.exitCode == 0;
    report.outcome = outcomeText(end);
    report.duration = QString::number(clock.elapsed() / 1000.0, 'f', 1) + QStringLiteral(" s");
    const QString where = logPath.isEmpty() ? tr("No run log: ") + logProblem : tr("Run log: ") + logPath;
    report.details
        = (end.detail.isEmpty() ? QString() : end.detail + "\n\n") + logTail(logPath, 20) + "\n\n" + where;
    emit ended(report);
}
