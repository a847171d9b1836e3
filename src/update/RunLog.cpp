#include "update/RunLog.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

QString runsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/runs";
}

QString createRunLog(const QDateTime &started, const QUuid &runId, QString *error)
{
    const QString folder = runsFolder();
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot make the folder ") + folder;
        return {};
    }
    // No colons: the name must be valid on Windows too. Read on its own, a
    // log names its run.
    QFile log(folder + QLatin1Char('/') + started.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss-zzz_"))
              + runId.toString(QUuid::WithoutBraces) + QStringLiteral(".log"));
    if (log.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return log.fileName();
    *error = log.fileName() + QStringLiteral(": ") + log.errorString();
    return {};
}

QString logTail(const QString &path, int lineCount)
{
    QFile log(path);
    if (!log.open(QIODevice::ReadOnly))
        return {};
    // Enough for the lines a notice can show, whatever the log has grown to.
    const qint64 window = 16 * 1024;
    log.seek(qMax<qint64>(0, log.size() - window));
    QStringList lines = QString::fromLocal8Bit(log.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.mid(qMax(0, lines.size() - lineCount)).join(QLatin1Char('\n'));
}
