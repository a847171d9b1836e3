#pragma once

#include "update/station/OperatorSession.h"
#include "update/station/Refusal.h"
#include "update/station/StationSettings.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

// Whom and what a run is for, as the station's settings ask.
struct RunFor
{
    QString station;
    QString unit;
    QString operatorId;
    QString order;
};

// The station's settings as they apply to a press, read at start and
// whenever their file changes, with the operator signed in.
class StationPolicy : public QObject
{
    Q_OBJECT

public:
    explicit StationPolicy(QObject *parent = nullptr);

    // Where the settings are read from.
    const QString &path() const { return settingsPath; }
    const StationSettings &settings() const { return current; }
    OperatorSession *operatorSession() { return &signedIn; }
    const OperatorSession &operatorSession() const { return signedIn; }
    bool isFaulty() const { return current.fault.kind != SettingsFault::None; }
    // Why no press may start now (settings that cannot be used, nobody signed
    // in where someone must be), if anything.
    std::optional<Refusal> doorRefusal() const;
    // Why the serial read is not a panel's, if it is not.
    std::optional<Refusal> serialRefusal(const QString &serial) const;
    bool releases(const QString &tpSize, const QString &sensitivity) const;
    RunFor runFor(const QString &serial) const;

signals:
    // The settings were read again, or the operator changed.
    void changed();
    // The file was read and cannot be used, in a way it could not before.
    void faulted();

private:
    void reread();

    QString settingsPath;
    StationSettings current;
    OperatorSession signedIn;
    QFileSystemWatcher watch;
    QTimer missingPoll;
};
