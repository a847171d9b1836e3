#include "update/station/StationPolicy.h"

#include <QFileInfo>

StationPolicy::StationPolicy(QObject *parent)
    : QObject(parent)
    , settingsPath(StationSettings::path())
{
    signedIn.setParent(this);
    connect(&signedIn, &OperatorSession::changed, this, &StationPolicy::changed);
    // Editors write a new file in place of the old: its folder tells of that.
    connect(&watch, &QFileSystemWatcher::fileChanged, this, &StationPolicy::reread);
    connect(&watch, &QFileSystemWatcher::directoryChanged, this, &StationPolicy::reread);
    // A folder that is gone (its mount missing) tells nobody when it is back.
    missingPoll.setInterval(2000);
    connect(&missingPoll, &QTimer::timeout, this, &StationPolicy::reread);
    reread();
}

void StationPolicy::reread()
{
    const StationSettings read = StationSettings::read(settingsPath);
    const QString folder = QFileInfo(settingsPath).absolutePath();
    if (QFileInfo::exists(folder))
        watch.addPath(folder);
    if (QFileInfo::exists(settingsPath))
        watch.addPath(settingsPath);
    if (read.fault.kind == SettingsFault::Missing && !QFileInfo::exists(folder))
        missingPoll.start();
    else
        missingPoll.stop();
    const bool faultNew = read.fault.kind != SettingsFault::None
        && (read.fault.kind != current.fault.kind || read.fault.key != current.fault.key
            || read.fault.value != current.fault.value);
    current = read;
    signedIn.setIdleMinutes(current.idleMinutes);
    if (!current.operatorRequired)
        signedIn.signOut();
    emit changed();
    if (faultNew)
        emit faulted();
}

std::optional<Refusal> StationPolicy::doorRefusal() const
{
    if (isFaulty())
        return Refusal::SettingsFault;
    if (current.operatorRequired && signedIn.state() != OperatorSession::State::SignedIn)
        return Refusal::NoOperator;
    return std::nullopt;
}

std::optional<Refusal> StationPolicy::serialRefusal(const QString &serial) const
{
    if (!current.unitRequired || current.serialOf(serial))
        return std::nullopt;
    return serial.isEmpty() ? Refusal::NoSerial : Refusal::BadSerial;
}

bool StationPolicy::releases(const QString &tpSize, const QString &sensitivity) const
{
    return current.releases(tpSize, sensitivity);
}

RunFor StationPolicy::runFor(const QString &serial) const
{
    return {current.name, current.unitRequired ? current.serialOf(serial).value_or(QString()) : QString(),
            signedIn.id(), current.orderName};
}
