#pragma once

#include "update/record/RunRecord.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The record of a run that is on, written before its updater starts and kept
// beside the run's log until its end is in the station's history: what a
// power cut or a killed supervisor leaves behind is found and recorded.

// runs/<start>.log -> runs/<start>.pending.json
QString pendingPathFor(const QString &logPath);

// Written whole or not at all, and on the disk before this returns: through
// the record's reserve where it has one, which a full disk cannot refuse.
bool writePending(const QString &path, const RunRecord &record, QString *error);
// Room on the disk for the record's last writing, taken before its run
// starts: a file beside it (<pending>.reserve) of the given size, its blocks
// allocated. The last writing goes into it and takes the record's place.
bool reservePending(const QString &path, qint64 bytes, QString *error);
// Removes the record and its reserve, if any.
void removePending(const QString &path);
// Nothing where there is none, or what is there cannot be read as one.
std::optional<RunRecord> readPending(const QString &path);

struct AbandonedRuns
{
    // Found unfinished and filed as interrupted by this call, which nobody
    // else will.
    QList<RunRecord> interrupted;
    // Pending records that could not be read as one (too long, not a
    // record, no start, leaf or images): set aside as <name>.damaged.
    QStringList damaged;
};

// Files every pending record of this data folder whose run is not on: one
// the supervisor completed but could not file as it is, one it left
// unfinished as "interrupted". A damaged one is set aside, and nothing is
// filed of it. Whether a run is on is asked (isLive) once its record has been
// found, not before: a run started meanwhile is on by then, as its
// supervisor holds the machine before it writes its record.
AbandonedRuns fileAbandonedRuns(const std::function<bool(const QString &pending)> &isLive = {});
