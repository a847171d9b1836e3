#pragma once

#include "update/record/FileFacts.h"
#include "update/record/Refusal.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <QVector>

#include <optional>

// The signed release a run's images were checked against: its name, and the
// SHA-256 (lower-case hex) of the manifest file and of the key that signed it
// (its DER SubjectPublicKeyInfo).
struct ReleaseFacts
{
    QString name;
    QByteArray sha256;
    QByteArray key;
};

// How a run ended, as the station's records name it.
enum class Outcome { Ok, Failed, Crashed, Stopped, Interrupted, NotStarted, Unknown };

QString outcomeName(Outcome outcome);
std::optional<Outcome> outcomeNamed(const QString &name);

// One updater run as the station keeps it: from the press on as its pending
// record, and with its end in the history. The record is the station's
// contract with those who read it (jq, a central collector): its keys are
// known here and nowhere else.
struct RunRecord
{
    static constexpr int currentSchema = 3;
    // 1 for a record written before records said (tpfw 1.0.0).
    int schema = currentSchema;
    // Its place in the history's chain (see HistoryChain), given as the
    // history takes it: 0 and empty in a pending record, and before
    // schema 3.
    qint64 seq = 0;
    QByteArray prev;
    // Made at the press; a run is found again by it. Null in a 1.0.0 record.
    QUuid runId;
    QDateTime started;
    // Unknown until the run has ended, and for an interrupted run.
    std::optional<QDateTime> ended;
    std::optional<double> seconds;
    // When an interrupted run was found.
    std::optional<QDateTime> found;
    QString host;
    QString user;
    // Who and what the run was for, as the station's settings ask for them;
    // empty (null in the record) where they are not set or asked for.
    // The station's name defaults to the host's.
    QString station;
    QString unit;
    QString operatorId;
    QString order;
    // None where the station has no release.
    std::optional<ReleaseFacts> release;
    QString tpSize;
    QString sensitivity;
    QVector<FileFacts> images;
    FileFacts updater;
    // None while the run is on.
    std::optional<Outcome> outcome;
    std::optional<int> exitCode;
    // Empty where the run has no log.
    QString log;
    // Why a press did not become a run (outcome notStarted); none otherwise.
    std::optional<Refusal> refusal;
    // Why the outcome is what it is, in fixed English; empty where that
    // needs no word.
    QString detail;
    // What else is worth knowing of the run: images not read, sleep not held
    // off, output dropped from its log.
    QStringList notes;
    // In a completed record the history could not take: why.
    QString historyProblem;
    QString tpfwVersion;

    // A new run of this station: its identity, host, user and tpfw's version.
    static RunRecord begun();

    // An updater that ended with an exit code having been sent no image
    // flashed nothing, whatever the code says: neither OK nor failed.
    bool sentNothing() const;
    bool isOk() const { return outcome == Outcome::Ok && !sentNothing(); }
};

QJsonObject toJson(const RunRecord &record);
// Nothing where the object is not a run's record: no start that can be
// read, no leaf, no images.
std::optional<RunRecord> fromJson(const QJsonObject &object);

// One compact line, whatever its names hold.
QByteArray toJsonLine(const RunRecord &record);
std::optional<RunRecord> fromJsonLine(const QByteArray &line);

// The record's keys in the order a CSV export writes them, a column each.
const QStringList &csvColumns();
// The record's values in that order: times with their offset, numbers as
// numbers, nothing for null, each image ("<path>  <bytes>  <sha256>") and
// each note on a line of its own; no text a spreadsheet takes for a formula.
QStringList csvFields(const RunRecord &record);

// The run's identity as a record writes it (no braces).
QString runIdText(const QUuid &runId);

// Times as records write them, the offset from UTC always written out,
// "+00:00" included, whatever the station's time zone.
QString isoWithOffset(const QDateTime &time);
// A time as records write it, or in any other ISO 8601 form; nothing where
// it is none.
std::optional<QDateTime> recordTime(const QString &text);

// The day a history line's start was written on, read off the line without
// parsing it (in the time zone it was written in, so within two days of the
// local one); nothing where the line does not begin that way.
std::optional<QDate> writtenStartDay(const QByteArray &line);
