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
    watch.addPath(QFileInfo(settingsPath).absolutePath());
    reread();
}

void StationPolicy::reread()
{
    const StationSettings read = StationSettings::read(settingsPath);
    if (QFileInfo::exists(settingsPath))
        watch.addPath(settingsPath);
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
    if (!current.unitRequired || current.acceptsSerial(serial))
        return std::nullopt;
    return serial.isEmpty() ? Refusal::NoSerial : Refusal::BadSerial;
}

bool StationPolicy::releases(const QString &tpSize, const QString &sensitivity) const
{
    return current.releases(tpSize, sensitivity);
}

RunFor StationPolicy::runFor(const QString &serial) const
{
    return {current.name, current.unitRequired ? serial : QString(), signedIn.id(), current.orderName};
}
