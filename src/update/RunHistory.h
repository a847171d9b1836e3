#pragma once

#include "update/FileFacts.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVector>

#include <optional>

// One updater run as the station's history keeps it.
struct RunRecord
{
    QDateTime started;
    QDateTime ended;
    QString tpSize;
    QString sensitivity;
    QVector<FileFacts> images;
    FileFacts updater;
    // "ok", "failed", "crashed", "notStarted" or "unknown".
    QString outcome;
    std::optional<int> exitCode;
    // Each empty one is kept as null.
    QString log;
    QString detail;
};

// The record as one compact JSON object on one line, whatever its names hold.
QByteArray toJsonLine(const RunRecord &record);

// history.jsonl in the station's data folder, beside the run logs.
QString historyPath();

// Appends the record as one line, whole or not at all, synced to disk, under
// a lock that every tpfw of the station takes. A line cut short before (a
// power loss) is left as it is, and the record starts on a fresh line. On
// failure says why.
bool appendToHistory(const QString &path, const RunRecord &record, QString *error);

struct DayCounts
{
    int ok = 0;
    int failed = 0;
};

// The runs that started on that local day, read from the end of the history
// back to the first run that ended before the day began.
DayCounts countDay(const QString &path, const QDate &day);
