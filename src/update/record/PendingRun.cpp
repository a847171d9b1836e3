#include "update/record/PendingRun.h"

#include "update/record/DataFolder.h"
#include "update/record/HistoryReading.h"
#include "update/record/LineReader.h"
#include "update/record/OsSupport.h"
#include "update/record/RunHistory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString pendingSuffix = QStringLiteral(".pending.json");

} // namespace

QString pendingPathFor(const QString &logPath)
{
    return logPath.isEmpty() ? QString()
                             : logPath.left(logPath.lastIndexOf(QLatin1Char('.'))) + pendingSuffix;
}

namespace {

QString reserveOf(const QString &pending)
{
    return pending + QStringLiteral(".reserve");
}

// Into blocks already taken: only a record larger than the reserve needs
// more, and then it is tried all the same.
bool writeThroughReserve(const QString &path, const QByteArray &json)
{
    QFile reserve(reserveOf(path));
    if (!reserve.open(QIODevice::ReadWrite | QIODevice::ExistingOnly) || reserve.write(json) != json.size()
        || !reserve.resize(json.size()) || !syncToDisk(reserve))
        return false;
    reserve.close();
    return replaceFile(reserve.fileName(), path);
}

} // namespace

bool writePending(const QString &path, const RunRecord &record, QString *error)
{
    const QByteArray json = toJsonLine(record);
    if (QFile::exists(reserveOf(path)) && writeThroughReserve(path, json))
        return true;
    // Put in place of the old one whole and on the disk, or not at all: what
    // is found after a power cut is one record or the other, never half of
    // one, and no part of it is left behind.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(json) == json.size() && syncToDisk(file)
        && file.commit())
        return true;
    *error = path + QStringLiteral(": ") + file.errorString();
    return false;
}

bool reservePending(const QString &path, qint64 bytes, QString *error)
{
    QFile reserve(reserveOf(path));
    QString why;
    if (reserve.open(QIODevice::WriteOnly) && allocate(reserve, bytes, &why) && syncToDisk(reserve))
        return true;
    *error = reserve.fileName() + QStringLiteral(": ") + (why.isEmpty() ? reserve.errorString() : why);
    reserve.remove();
    return false;
}

void removePending(const QString &path)
{
    QFile::remove(path);
    QFile::remove(reserveOf(path));
}

// Only a regular file, never what a link leads to: a pending record is
// written in place, never linked, and /dev/zero would never end.
std::optional<RunRecord> readPending(const QString &path)
{
    QFile file(path);
    if (QFileInfo(path).isSymLink() || !regularOrAbsent(path) || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray json = file.read(maxRecordBytes + 1);
    return json.size() > maxRecordBytes ? std::nullopt : fromJsonLine(json);
}

AbandonedRuns fileAbandonedRuns(const std::function<bool(const QString &pending)> &isLive)
{
    AbandonedRuns found;
    const QDir runs(runsFolder());
    for (const QString &name : runs.entryList({QLatin1Char('*') + pendingSuffix}, QDir::Files)) {
        const QString path = runs.filePath(name);
        if (isLive && isLive(path))
            continue;
        std::optional<RunRecord> record = readPending(path);
        if (!record) {
            if (QFile::rename(path, path + QStringLiteral(".damaged")))
                found.damaged.append(path + QStringLiteral(".damaged"));
            continue;
        }
        const bool unfinished = !record->outcome;
        record->historyProblem.clear();
        // How it ended, and when, nobody knows: only when it was found.
        if (unfinished) {
            record->outcome = Outcome::Interrupted;
            record->found = QDateTime::currentDateTime();
            record->detail
                = QStringLiteral("found unfinished: the run's supervisor ended before the updater");
        }
        QString error;
        if (fileRecord(historyPath(), *record, path, &error) == Filing::Filed && unfinished)
            found.interrupted.append(*record);
    }
    return found;
}
