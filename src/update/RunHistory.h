#pragma once

#include "update/FileFacts.h"

#include <QDate>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QVector>

#include <atomic>
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
    // "ok", "failed", "crashed", "stopped", "interrupted", "notStarted" or
    // "unknown".
    QString outcome;
    std::optional<int> exitCode;
    // Each empty one is kept as null.
    QString log;
    QString detail;
};

// The record as the history keeps it: times with their offset from UTC.
QJsonObject toJson(const RunRecord &record);
QString isoWithOffset(const QDateTime &time);

// The record as one compact JSON object on one line, whatever its names hold.
QByteArray toJsonLine(const RunRecord &record);

// history.jsonl in the station's data folder, beside the run logs.
QString historyPath();

// Appends the record as one line, whole or not at all, synced to disk, under
// a lock that every tpfw of the station takes. A line cut short before (a
// power loss) is left as it is, and the record starts on a fresh line. On
// failure says why.
bool appendToHistory(const QString &path, const RunRecord &record, QString *error);
bool appendToHistory(const QString &path, const QJsonObject &record, QString *error);

// The same, for a run whose record waits in pendingPath: under the history's
// lock, so that of all who try, one appends it and removes the pending
// record, once. False, with *error empty, where another already did;
// false, with *error saying why, where the history cannot be written.
bool fileRecord(const QString &path, const QJsonObject &record, const QString &pendingPath, QString *error);

// The record of the run that started at `started` (as the history writes
// it), looked for among the last ones; empty when it is not there.
QJsonObject findRecord(const QString &path, const QString &started);

// A run whose updater ended with an exit code having been sent no image: it
// flashed nothing, whatever the code says. Neither OK nor failed.
bool sentNothing(const QJsonObject &record);

struct DayCounts
{
    int ok = 0;
    int failed = 0;
};

// The runs that started on that local day, wherever they stand in the
// history. A line whose start cannot be read is skipped.
DayCounts countDay(const QString &path, const QDate &day);

// Counts the record of a history line if its run started on that local day.
void tally(const QByteArray &line, const QDate &day, DayCounts &counts);

// One run as the history lists it.
struct HistoryRow
{
    // Milliseconds since the epoch, UTC.
    qint64 started = 0;
    QString tpSize;
    QString sensitivity;
    int images = 0;
    QString outcome;
    std::optional<int> exitCode;
    double seconds = 0;
    QString user;
    QString log;
};

// Every run of the history, newest start first; lines cut short or whose
// start cannot be read are left out. Reads a file of a hundred thousand runs
// in well under a second, so the caller's thread is the caller's choice; a
// set cancel ends the reading soon, with what was read.
QVector<HistoryRow> readHistoryRows(const QString &path, const std::atomic<bool> *cancel = nullptr);
