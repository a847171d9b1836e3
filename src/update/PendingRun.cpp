#include "update/PendingRun.h"

#include "update/OsSupport.h"
#include "update/RunHistory.h"
#include "update/RunLog.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

namespace {
const QString pendingSuffix = QStringLiteral(".pending.json");
}

QString pendingPathFor(const QString &logPath)
{
    return logPath.isEmpty() ? QString()
                             : logPath.left(logPath.lastIndexOf(QLatin1Char('.'))) + pendingSuffix;
}

bool writePending(const QString &path, const QJsonObject &record, QString *error)
{
    // Renamed into place once on the disk: never seen half written.
    QFile file(path + ".part");
    const QByteArray json = QJsonDocument(record).toJson(QJsonDocument::Compact);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(json) != json.size()
        || !syncToDisk(file)) {
        *error = file.fileName() + QStringLiteral(": ") + file.errorString();
        file.remove();
        return false;
    }
    file.close();
    QFile::remove(path);
    if (!file.rename(path)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}

QJsonObject readPending(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
}

QJsonObject completed(QJsonObject record, const QDateTime &ended, const QString &outcome,
                      std::optional<int> exitCode, const QString &detail)
{
    const QDateTime started
        = QDateTime::fromString(record.value(QStringLiteral("started")).toString(), Qt::ISODateWithMs);
    record.insert(QStringLiteral("ended"), isoWithOffset(ended));
    record.insert(QStringLiteral("seconds"), started.msecsTo(ended) / 1000.0);
    record.insert(QStringLiteral("outcome"), outcome);
    record.insert(QStringLiteral("exitCode"), exitCode ? QJsonValue(*exitCode) : QJsonValue());
    record.insert(QStringLiteral("detail"), detail.isEmpty() ? QJsonValue() : QJsonValue(detail));
    return record;
}

QList<QJsonObject> fileAbandonedRuns(const QString &livePending)
{
    QList<QJsonObject> interrupted;
    const QDir runs(runsFolder());
    for (const QString &name : runs.entryList({QLatin1Char('*') + pendingSuffix}, QDir::Files)) {
        const QString path = runs.filePath(name);
        if (path == livePending)
            continue;
        QJsonObject record = readPending(path);
        const bool unfinished = !record.contains(QStringLiteral("outcome"));
        record.remove(QStringLiteral("historyProblem"));
        if (unfinished)
            record = completed(
                record, QDateTime::currentDateTime(), QStringLiteral("interrupted"), {},
                QStringLiteral("found unfinished: the run's supervisor ended before the updater"));
        QString error;
        if (fileRecord(historyPath(), record, path, &error) && unfinished)
            interrupted.append(record);
    }
    return interrupted;
}
