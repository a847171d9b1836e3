#pragma once

#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>

// How much of the run logs a station keeps.
struct LogLimits
{
    int runs = 1000;
    int days = 180;
    qint64 bytes = qint64(2) << 30;
};

// Removes, oldest first, the run logs in folder beyond the newest
// limits.runs, those of runs that started more than limits.days ago, and
// then the oldest while all together take more than limits.bytes. A log's
// age is the start its name gives, never its file's time, and a start in the
// future gives it none: a clock set back or ahead ages no log. Never removes
// the log of a run on or pending (its pending record is beside it), of a run
// started in the last hour (one being set up), nor one in `kept`. Returns
// the names removed.
QStringList pruneRunLogs(const QString &folder, const QDateTime &now, const QSet<QString> &kept,
                         const LogLimits &limits = {});

// The names of the run logs that the history's records of its last `days`
// days name: the days up to its newest record, whatever the clock says.
QSet<QString> logsOfRecentRuns(const QString &historyPath, int days);
