#include "update/LogRetention.h"

#include "update/PendingRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QStringList pruneRunLogs(const QString &folder, const QDateTime &now, const LogLimits &limits)
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
        const QDateTime written = log.lastModified();
        const bool beyond = i < logs.size() - limits.runs || written < oldest || total > limits.bytes;
        if (!beyond || written > settled || QFileInfo::exists(pendingPathFor(log.filePath())))
            continue;
        if (QFile::remove(log.filePath())) {
            total -= log.size();
            removed.append(log.fileName());
        }
    }
    return removed;
}
