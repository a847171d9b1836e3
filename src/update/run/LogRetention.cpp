#include "update/run/LogRetention.h"

#include "update/record/LineReader.h"
#include "update/record/PendingRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

namespace {

// "2026-12-07_16-24-03-512_<run id>.log" ("..._2.log" before run ids):
// when the run started, in the station's time.
QDateTime startInName(const QString &name)
{
    return QDateTime::fromString(name.left(23), QStringLiteral("yyyy-MM-dd_HH-mm-ss-zzz"));
}

} // namespace

QStringList pruneRunLogs(const QString &folder, const QDateTime &now, const QSet<QString> &kept,
                         const LogLimits &limits)
{
    // Names are start times: by name is oldest first.
    const QFileInfoList logs = QDir(folder).entryInfoList({QStringLiteral("*.log")}, QDir::Files, QDir::Name);
    qint64 total = 0;
    for (const QFileInfo &log : logs)
        total += log.size();
    const QDateTime oldest = now.addDays(-limits.days);
    const QDateTime settled = now.addSecs(-3600);
    QStringList removed;
    for (int i = 0; i < logs.size(); ++i) {
        const QFileInfo &log = logs.at(i);
        const QDateTime started = startInName(log.fileName());
        const bool aged = started.isValid() && started <= now;
        const bool beyond
            = i < logs.size() - limits.runs || (aged && started < oldest) || total > limits.bytes;
        if (!beyond || (aged && started > settled) || kept.contains(log.fileName())
            || QFileInfo::exists(pendingPathFor(log.filePath())))
            continue;
        if (QFile::remove(log.filePath())) {
            total -= log.size();
            removed.append(log.fileName());
        }
    }
    return removed;
}

QSet<QString> logsOfRecentRuns(const QString &historyPath, int days)
{
    QList<std::pair<QDateTime, QString>> named;
    QDateTime newest;
    forEachLine(historyPath, 0, -1, [&](const QByteArray &line) {
        const std::optional<RunRecord> record = fromJsonLine(line);
        if (!record)
            return true;
        if (!newest.isValid() || record->started > newest)
            newest = record->started;
        if (!record->log.isEmpty())
            named.append({record->started, QFileInfo(record->log).fileName()});
        return true;
    });
    QSet<QString> recent;
    for (const auto &[started, name] : qAsConst(named))
        if (started >= newest.addDays(-days))
            recent.insert(name);
    return recent;
}
