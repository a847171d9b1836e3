#pragma once

#include <QDateTime>
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
// limits.runs, those last written more than limits.days ago, and then the
// oldest while all together take more than limits.bytes. Never the log of a
// run on or pending (its pending record is beside it), nor one written in
// the last hour (a run being set up). Returns the names removed.
QStringList pruneRunLogs(const QString &folder, const QDateTime &now, const LogLimits &limits = {});
