#pragma once

#include <QDateTime>
#include <QString>
#include <QUuid>

// Each updater run writes its output into a file of its own, kept in the
// station's data folder under "runs/" and named by the run's start time and
// identity.

// The folder of the run logs.
QString runsFolder();

// Creates the empty log of a run started at `started` and returns its path;
// returns an empty path and says why in *error when it cannot be written.
QString createRunLog(const QDateTime &started, const QUuid &runId, QString *error);

// The last lines of a run log, at most lineCount of them.
QString logTail(const QString &path, int lineCount);
