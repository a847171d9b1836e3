#pragma once

#include "update/record/CsvExport.h"
#include "update/record/RunRecord.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QUuid>
#include <QVector>

#include <atomic>
#include <optional>

// Reading the station's history: whole lines only, each through the record.

// The record of that run, looked for among the last ones.
std::optional<RunRecord> findRecord(const QString &path, const QUuid &runId);

// The last OK run of that panel (by its serial), if any.
std::optional<RunRecord> lastOkRunOf(const QString &path, const QString &unit);

// A panel's first run of a day.
struct FirstRun
{
    QDateTime started;
    bool ok = false;
};

struct DayCounts
{
    int ok = 0;
    int failed = 0;
    // By the panel's serial: runs without one are no panel's.
    QHash<QString, FirstRun> firstRuns;

    // Panels whose first run of the day ended OK.
    int firstPassOk() const;
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
    Outcome outcome = Outcome::Unknown;
    bool sentNothing = false;
    std::optional<int> exitCode;
    // Unknown for an interrupted run.
    std::optional<double> seconds;
    QString user;
    QString station;
    QString unit;
    QString operatorId;
    QString order;
    // The release's name, where the run had one.
    QString release;
    // The images' file names, one a line: what a search looks in.
    QString imageNames;
    QString log;
    // Where its line begins in the history: the whole record is read from
    // there when it is written out.
    qint64 at = 0;
};

// Every run of the history, newest start first; lines cut short or whose
// start cannot be read are left out. Reads a file of a hundred thousand runs
// in well under a second, so the caller's thread is the caller's choice; a
// set cancel ends the reading soon, with what was read.
QVector<HistoryRow> readHistoryRows(const QString &path, const std::atomic<bool> *cancel = nullptr);

// The records of the rows given, every field, as a table to write out, read
// again from the history by their places: a row whose place holds another
// run now (the history was replaced) stops the writing with `changed`.
CsvTable recordsTable(const QString &path, const QVector<HistoryRow> &rows, const QString &changed);
