#pragma once

#include "update/record/TextRule.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <optional>

// Idle sign-out comes within a day at the latest: a shift is shorter.
constexpr int maxIdleMinutes = 24 * 60;

// Why a station's settings file cannot be used, for the window to word.
struct SettingsFault
{
    enum Kind {
        None,
        Missing,
        Unreadable,
        NotUtf8,
        NotAKeyLine,
        UnknownKey,
        NotTrueOrFalse,
        NotMinutes,
        TooManyMinutes,
        BadPattern,
        BadLength,
        BadText,
        BadLeaf,
        NoOrderName,
        // A release manifest with no key trusted to sign it.
        NoKeys,
        // Leaves named beside a release, which names them itself.
        LeavesBesideRelease,
        // The file of operator IDs cannot be read, or is not UTF-8 text.
        OperatorsUnreadable,
        // A list of operators that names nobody.
        NoOperators
    };
    Kind kind = None;
    // "section/key", or the line's number where the line is no key.
    QString key;
    // What was written, or why the file or pattern cannot be read.
    QString value;
    // Why a name is not one, for BadText.
    TextRule::Fault text = TextRule::Fault::None;
};

// What the line engineer sets for one station, read from a UTF-8 INI file:
// [station] name, [unit] required, pattern and maxLength, [operator]
// required, idleMinutes and ids, [order] name and leaves, [release] manifest and
// keys (the files a release is read from). Values are taken as
// written, up to the line's end: a pattern's backslashes and a list's
// semicolons are the engineer's, not the file format's. A file without keys
// asks for nothing and releases every leaf. A file that cannot be used never
// opens the door wider, nor does one that is gone (deleted, or its mount
// missing): it has a fault, and the window starts nothing.
struct StationSettings
{
    // TPFW_STATION_SETTINGS where set, else the machine's own place.
    static QString path();
    static StationSettings read(const QString &path);

    // Empty for the host's name.
    QString name;
    bool unitRequired = false;
    // Narrows the rule every serial keeps; empty for the rule alone.
    QString unitPattern;
    int unitLength = TextRule::defaultLength;
    bool operatorRequired = false;
    int idleMinutes = 0;
    // Who may sign in, their IDs as the rule takes them; empty for anyone.
    // Written in the settings, or in a file of one a line the settings name
    // by its full path.
    QStringList operatorIds;
    QString operatorIdsFile;
    QString orderName;
    // "TP size/sensitivity"; empty for every leaf.
    QStringList releasedLeaves;
    // The signed release's manifest and the public keys trusted to sign it,
    // as full paths; empty without a release.
    QString releaseManifest;
    QStringList releaseKeys;
    SettingsFault fault;

    // The serial as the station takes it, if it is one: text as people read
    // it, at most unitLength characters, matched whole by the pattern.
    std::optional<QString> serialOf(const QString &read) const;
    bool releases(const QString &tpSize, const QString &sensitivity) const;
};
