#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>

// Idle sign-out comes within a day at the latest: a shift is shorter.
constexpr int maxIdleMinutes = 24 * 60;

// Why a station's settings file cannot be used, for the window to word.
struct SettingsFault
{
    enum Kind {
        None,
        Unreadable,
        NotAKeyLine,
        UnknownKey,
        NotTrueOrFalse,
        NotMinutes,
        TooManyMinutes,
        BadPattern,
        BadLeaf,
        NoOrderName
    };
    Kind kind = None;
    // "section/key", or the line's number where the line is no key.
    QString key;
    // What was written, or why the file or pattern cannot be read.
    QString value;
};

// What the line engineer sets for one station, read from an INI file:
// [station] name, [unit] required and pattern, [operator] required and
// idleMinutes, [order] name and leaves. Values are taken as written, up to
// the line's end: a pattern's backslashes and a list's semicolons are the
// engineer's, not the file format's. Without a file, nothing is asked for
// and every leaf may be started; a file that cannot be used never opens
// the door wider: it has a fault, and the window starts nothing.
struct StationSettings
{
    // TPFW_STATION_SETTINGS where set, else the machine's own place.
    static QString path();
    static StationSettings read(const QString &path);

    // Empty for the host's name.
    QString name;
    bool unitRequired = false;
    // Empty for the default rule: any text up to 64 characters.
    QString unitPattern;
    bool operatorRequired = false;
    int idleMinutes = 0;
    QString orderName;
    // "TP size/sensitivity"; empty for every leaf.
    QStringList releasedLeaves;
    SettingsFault fault;

    // Never empty, never a control character; matched whole by the pattern.
    bool acceptsSerial(const QString &serial) const;
    bool releases(const QString &tpSize, const QString &sensitivity) const;
};
