#pragma once

#include "update/station/OperatorSession.h"
#include "update/station/PressRules.h"
#include "update/station/ReleaseWatch.h"
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

// Why a leaf's images may not be flashed at this station.
enum class Unreleased {
    // Not among the leaves the settings release for their order.
    NotInOrder,
    // The settings cannot be used.
    SettingsFaulty,
    // The release is being read.
    Reading,
    // The release's files cannot be read, or are no release.
    ReleaseUnreadable,
    // The release is unsigned, or signed by no key the station trusts.
    ReleaseUntrusted,
    // A sound release, for another order than the settings name.
    OtherOrder,
    // A sound release that does not list the leaf.
    NotInRelease,
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
    // The settings cannot be used, or the release they name.
    bool isFaulty() const { return current.fault.kind != SettingsFault::None || releaseFaulty(); }
    const ReleaseWatch &release() const { return releaseWatch; }
    // Read, and not what the station may take: unreadable, unsigned, or for
    // another order than the settings name.
    bool releaseFaulty() const;
    bool releaseOrderDiffers() const;
    // The work order: the release's, where the station has one.
    QString orderName() const;
    // The station as a press finds it, but for the press's own run.
    Door door() const;
    bool releases(const QString &tpSize, const QString &sensitivity) const
    {
        return !unreleased(tpSize, sensitivity);
    }
    std::optional<Unreleased> unreleased(const QString &tpSize, const QString &sensitivity) const;
    // Why the images checked for a leaf are not its release's, if the
    // station has a release and they are not.
    std::optional<ReleaseMismatch> releaseMismatchOf(const QString &tpSize, const QString &sensitivity,
                                                     const QVector<FileFacts> &images) const;
    RunFor runFor(const QString &serial) const;

signals:
    // The settings were read again, or the operator changed.
    void changed();
    // The file was read and cannot be used, in a way it could not before.
    void faulted();

private:
    void reread();
    void releaseRead();
    // What makes this fault another than the last one told of.
    QString faultSeen() const;

    QString settingsPath;
    StationSettings current;
    OperatorSession signedIn;
    QFileSystemWatcher watch;
    QTimer missingPoll;
    ReleaseWatch releaseWatch;
    QString lastFault;
};
