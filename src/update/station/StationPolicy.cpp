#include "update/station/StationPolicy.h"

#include <QFileInfo>

StationPolicy::StationPolicy(QObject *parent)
    : QObject(parent)
    , settingsPath(StationSettings::path())
{
    signedIn.setParent(this);
    connect(&signedIn, &OperatorSession::changed, this, &StationPolicy::changed);
    // Editors write a new file in place of the old: its folder tells of that.
    // Queued: what is read may open a notice, and an event loop run inside
    // the watcher's own reading of its events can block on it.
    connect(&watch, &QFileSystemWatcher::fileChanged, this, &StationPolicy::reread, Qt::QueuedConnection);
    connect(&watch, &QFileSystemWatcher::directoryChanged, this, &StationPolicy::reread,
            Qt::QueuedConnection);
    // A folder that is gone (its mount missing) tells nobody when it is back.
    missingPoll.setInterval(2000);
    connect(&missingPoll, &QTimer::timeout, this, &StationPolicy::reread);
    connect(&releaseWatch, &ReleaseWatch::changed, this, &StationPolicy::releaseRead);
    reread();
}

void StationPolicy::reread()
{
    const StationSettings read = StationSettings::read(settingsPath);
    const QString folder = QFileInfo(settingsPath).absolutePath();
    if (QFileInfo::exists(folder))
        watch.addPath(folder);
    for (const QString &file : {settingsPath, read.operatorIdsFile})
        if (!file.isEmpty() && QFileInfo::exists(file))
            watch.addPath(file);
    if (read.fault.kind == SettingsFault::Missing && !QFileInfo::exists(folder))
        missingPoll.start();
    else
        missingPoll.stop();
    current = read;
    signedIn.setIdleMinutes(current.idleMinutes);
    signedIn.setAllowed(current.operatorIds);
    if (!current.operatorRequired)
        signedIn.signOut();
    const bool usable = current.fault.kind == SettingsFault::None;
    releaseWatch.watchFiles(usable ? current.releaseManifest : QString(),
                            usable ? current.releaseKeys : QStringList());
    releaseRead();
}

void StationPolicy::releaseRead()
{
    const QString seen = faultSeen();
    const bool faultNew = !seen.isEmpty() && seen != lastFault;
    lastFault = seen;
    emit changed();
    if (faultNew)
        emit faulted();
}

QString StationPolicy::faultSeen() const
{
    if (current.fault.kind != SettingsFault::None)
        return QStringList {QString::number(current.fault.kind), current.fault.key, current.fault.value}.join(
            '\n');
    if (!releaseFaulty())
        return {};
    const Release &release = releaseWatch.release();
    return QStringList {QStringLiteral("release"), QString::number(int(release.fault)), release.file,
                        release.manifestFault.where, release.manifest.order}
        .join('\n');
}

bool StationPolicy::releaseFaulty() const
{
    return releaseWatch.state() == ReleaseWatch::State::Read
        && (releaseWatch.release().fault != Release::Fault::None || releaseOrderDiffers());
}

bool StationPolicy::releaseOrderDiffers() const
{
    return !current.orderName.isEmpty() && current.orderName != releaseWatch.release().manifest.order;
}

QString StationPolicy::orderName() const
{
    return releaseWatch.state() == ReleaseWatch::State::None ? current.orderName
                                                             : releaseWatch.release().manifest.order;
}

Door StationPolicy::door() const
{
    Door door;
    // A release being read again is judged once read, not by its old fault.
    door.faulty = current.fault.kind != SettingsFault::None || (releaseFaulty() && !releaseWatch.isReading());
    door.release = releaseWatch.state() != ReleaseWatch::State::None;
    door.releaseReading = releaseWatch.isReading();
    door.operatorRequired = current.operatorRequired;
    door.signedIn = signedIn.state() == OperatorSession::State::SignedIn;
    return door;
}

std::optional<Unreleased> StationPolicy::unreleased(const QString &tpSize, const QString &sensitivity) const
{
    if (releaseWatch.state() == ReleaseWatch::State::None)
        return current.releases(tpSize, sensitivity) ? std::nullopt : std::optional(Unreleased::NotInOrder);
    if (current.fault.kind != SettingsFault::None)
        return Unreleased::SettingsFaulty;
    if (releaseWatch.state() == ReleaseWatch::State::Reading)
        return Unreleased::Reading;
    const Release &release = releaseWatch.release();
    switch (release.fault) {
    case Release::Fault::Unreadable:
    case Release::Fault::TooLarge:
    case Release::Fault::NotAManifest:
        return Unreleased::ReleaseUnreadable;
    case Release::Fault::NoSignature:
    case Release::Fault::KeyUnusable:
    case Release::Fault::NotSigned:
        return Unreleased::ReleaseUntrusted;
    case Release::Fault::None:
        break;
    }
    if (releaseOrderDiffers())
        return Unreleased::OtherOrder;
    if (!release.manifest.leaves.contains(tpSize + QLatin1Char('/') + sensitivity))
        return Unreleased::NotInRelease;
    return std::nullopt;
}

std::optional<ReleaseMismatch> StationPolicy::releaseMismatchOf(const QString &tpSize,
                                                                const QString &sensitivity,
                                                                const QVector<FileFacts> &images) const
{
    if (releaseWatch.state() == ReleaseWatch::State::None)
        return std::nullopt;
    const QVector<ReleaseMismatch> found = releaseMismatches(
        releaseWatch.release().manifest.leaves.value(tpSize + QLatin1Char('/') + sensitivity), images);
    return found.isEmpty() ? std::nullopt : std::optional<ReleaseMismatch>(found.first());
}

RunFor StationPolicy::runFor(const QString &serial) const
{
    return {current.name, current.unitRequired ? current.serialOf(serial).value_or(QString()) : QString(),
            signedIn.id(), orderName()};
}
