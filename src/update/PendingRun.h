#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The record of a run that is on, written before its updater starts and kept
// beside the run's log until its end is in the station's history: what a
// power cut or a killed supervisor leaves behind is found and recorded.

// runs/<start>.log -> runs/<start>.pending.json
QString pendingPathFor(const QString &logPath);

// Written whole or not at all, and on the disk before this returns.
bool writePending(const QString &path, const QJsonObject &record, QString *error);
QJsonObject readPending(const QString &path);

// The record with its end filled in: when it ended by the clock, and how
// long it took, which a clock set back or ahead meanwhile must not change.
QJsonObject completed(QJsonObject record, const QDateTime &ended, double seconds, const QString &outcome,
                      std::optional<int> exitCode, const QString &detail);

struct AbandonedRuns
{
    // Found unfinished and filed as interrupted by this call, which nobody
    // else will.
    QList<QJsonObject> interrupted;
    // Pending records that could not be read as one (too long, not a
    // record, no start, leaf or images): set aside as <name>.damaged.
    QStringList damaged;
};

// Files every pending record of this data folder but the one whose run is on
// (livePending): one the supervisor completed but could not file as it is,
// one it left unfinished as "interrupted". A damaged one is set aside, and
// nothing is filed of it.
AbandonedRuns fileAbandonedRuns(const QString &livePending);
