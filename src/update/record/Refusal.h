#pragma once

#include <QString>

#include <optional>

struct RunRecord;

// Why a press of UpdateFW did not become a run. A record of it keeps the
// value by name (see refusalName), for programs to tell the cases apart.
enum class Refusal {
    // At the door: nothing begun, nothing recorded.
    SettingsFault,
    NoOperator,
    NoSerial,
    BadSerial,
    Busy,
    Unlisted,
    LeafSilent,
    ListChanged,
    // The release's files changed and are being read again.
    ReleaseReading,
    // Recorded as not started.
    NotReleased,
    // An image listed is not the one released, is not in the release, or
    // one released is not listed.
    ImageNotReleased,
    ImageExtra,
    ImageMissing,
    ImageChanged,
    UpdaterMissing,
    UpdaterFolder,
    UpdaterNotExecutable,
    TooManyImages,
    CannotStart,
    NoLog,
    NoLock,
    Unrecorded,
    Cancelled,
};

// A refusal with what it names, as on disk; the window words it.
struct RunRefusal
{
    Refusal why = Refusal::CannotStart;
    // The press's leaf.
    QString tpSize;
    QString sensitivity;
    // The order the leaf is not released for, or the release the images
    // are not.
    QString order;
    // The image, program, folder or serial it is about.
    QString name;
    // The system's own words (an errno's text), where it gave any.
    QString system;
    // Entries of the leaf that cannot be listed.
    int unlisted = 0;
};

QString refusalName(Refusal why);
std::optional<Refusal> refusalNamed(const QString &name);

// A refusal that names an image, program, folder or serial as on disk, or
// gives the system's own words.
RunRefusal refusalOf(Refusal why, const QString &name = {}, const QString &system = {});

// The record's detail of a refusal, in fixed English.
QString detailOf(const RunRefusal &refusal);

// The refusal a record of a press that never ran keeps: its value (a start
// that failed, in a record that names none), the updater it is about, and
// its detail as the system's words.
RunRefusal recordedRefusal(const RunRecord &record);
