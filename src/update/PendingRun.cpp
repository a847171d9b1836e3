#include "update/PendingRun.h"

#include "update/OsSupport.h"
#include "update/RunHistory.h"
#include "update/RunLog.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

namespace {

const QString pendingSuffix = QStringLiteral(".pending.json");
// Far beyond the record of thousands of images.
constexpr qint64 maxPendingSize = 1024 * 1024;

// What a run's record has from its press on: without it, nothing can be
// said of the run.
bool whole(const QJsonObject &record)
{
    return QDateTime::fromString(record.value(QStringLiteral("started")).toString(), Qt::ISODateWithMs)
               .isValid()
        && record.value(QStringLiteral("tpSize")).isString()
        && record.value(QStringLiteral("sensitivity")).isString()
        && record.value(QStringLiteral("images")).isArray();
}

} // namespace

QString pendingPathFor(const QString &logPath)
{
    return logPath.isEmpty() ? QString()
                             : logPath.left(logPath.lastIndexOf(QLatin1Char('.'))) + pendingSuffix;
}

bool writePending(const QString &path, const QJsonObject &record, QString *error)
{
    // Put in place of the old one whole and on the disk, or not at all: what
    // is found after a power cut is one record or the other, never half of
    // one, and no part of it is left behind.
    QSaveFile file(path);
    const QByteArray json = QJsonDocument(record).toJson(QJsonDocument::Compact);
    if (file.open(QIODevice::WriteOnly) && file.write(json) == json.size() && syncToDisk(file)
        && file.commit())
        return true;
    *error = path + QStringLiteral(": ") + file.errorString();
    return false;
}

QJsonObject readPending(const QString &path)
{
    QFile file(path);
    if (file.size() > maxPendingSize || !file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QJsonObject completed(QJsonObject record, const QDateTime &ended, double seconds, const QString &outcome,
                      std::optional<int> exitCode, const QString &detail)
{
    record.insert(QStringLiteral("ended"), isoWithOffset(ended));
    record.insert(QStringLiteral("seconds"), seconds);
    record.insert(QStringLiteral("outcome"), outcome);
    record.insert(QStringLiteral("exitCode"), exitCode ? QJsonValue(*exitCode) : QJsonValue());
    record.insert(QStringLiteral("detail"), detail.isEmpty() ? QJsonValue() : QJsonValue(detail));
    return record;
}

AbandonedRuns fileAbandonedRuns(const QString &livePending)
{
    AbandonedRuns found;
    const QDir runs(runsFolder());
    for (const QString &name : runs.entryList({QLatin1Char('*') + pendingSuffix}, QDir::Files)) {
        const QString path = runs.filePath(name);
        if (path == livePending)
            continue;
        QJsonObject record = readPending(path);
        if (!whole(record)) {
            if (QFile::rename(path, path + QStringLiteral(".damaged")))
                found.damaged.append(path + QStringLiteral(".damaged"));
            continue;
        }
        const bool unfinished = !record.contains(QStringLiteral("outcome"));
        record.remove(QStringLiteral("historyProblem"));
        // All that is known of an interrupted run's length is when it was found.
        const QDateTime now = QDateTime::currentDateTime();
        const QDateTime started
            = QDateTime::fromString(record.value(QStringLiteral("started")).toString(), Qt::ISODateWithMs);
        if (unfinished)
            record = completed(
                record, now, qMax<qint64>(0, started.msecsTo(now)) / 1000.0, QStringLiteral("interrupted"),
                {}, QStringLiteral("found unfinished: the run's supervisor ended before the updater"));
        QString error;
        if (fileRecord(historyPath(), record, path, &error) && unfinished)
            found.interrupted.append(record);
    }
    return found;
}
