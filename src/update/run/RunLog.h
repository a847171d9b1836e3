#pragma once

#include "update/record/RunRecord.h"

#include <QDateTime>
#include <QString>
#include <QUuid>

// Each updater run writes its output into a file of its own, kept in the
// station's data folder under "runs/" and named by the run's start time and
// identity.

// Creates the empty log of a run started at `started` and returns its path;
// returns an empty path and says why in *error when it cannot be written.
QString createRunLog(const QDateTime &started, const QUuid &runId, QString *error);

// The last lines of a run log, at most lineCount of them.
QString logTail(const QString &path, int lineCount);
// The log's last `bytes` as lines to show (see displayLine); the first one,
// cut where the reading starts, left out.
QStringList lastLogLines(const QString &path, qint64 bytes);

// The lines that open a run's log, each beginning "tpfw: ": which run, for
// whom, and what was started with what, so that the log read on its own
// (sent to a supplier, say) says what it belongs to.
QByteArray logHeader(const RunRecord &record, const QString &command);
// The line that closes it: when and how the run ended.
QByteArray logFooter(const RunRecord &record);
// Appends tpfw's own lines to a run log, on lines of their own whatever the
// updater left unended; says why not where it cannot.
bool appendToLog(const QString &path, const QByteArray &lines, QString *error);
// A line of tpfw's own in a run log, not the updater's.
bool isTpfwLine(const QString &line);
QStringList updaterLinesOf(const QStringList &lines);
