#include "window/StationGate.h"

#include "selection/NameDisplay.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString problemOf(const SettingsFault &fault)
{
    switch (fault.kind) {
    case SettingsFault::Unreadable:
        return QCoreApplication::translate("MainWindow", "cannot be read: %1").arg(fault.value);
    case SettingsFault::NotAKeyLine:
        return QCoreApplication::translate("MainWindow", "line %1 is not key=value: %2")
            .arg(fault.key, fault.value);
    case SettingsFault::UnknownKey:
        return QCoreApplication::translate("MainWindow", "%1: no such setting").arg(fault.key);
    case SettingsFault::NotTrueOrFalse:
        return QCoreApplication::translate("MainWindow", "%1: \"%2\" is neither true nor false")
            .arg(fault.key, fault.value);
    case SettingsFault::NotMinutes:
        return QCoreApplication::translate("MainWindow", "%1: \"%2\" is not a number of minutes")
            .arg(fault.key, fault.value);
    case SettingsFault::BadPattern:
        return QCoreApplication::translate("MainWindow", "%1: the pattern does not compile: %2")
            .arg(fault.key, fault.value);
    case SettingsFault::BadLeaf:
        return QCoreApplication::translate("MainWindow",
                                           "%1: each leaf reads TP size/sensitivity, not \"%2\"")
            .arg(fault.key, fault.value);
    default:
        return QCoreApplication::translate("MainWindow", "%1: leaves are released for no order: name it")
            .arg(fault.key);
    }
}

} // namespace

StationGate::StationGate(QObject *parent)
    : QObject(parent)
    , path(StationSettings::path())
{
    signedIn.setParent(this);
    connect(&signedIn, &OperatorSession::changed, this, &StationGate::changed);
    // Editors write a new file in place of the old: its folder tells of that.
    connect(&watch, &QFileSystemWatcher::fileChanged, this, &StationGate::reread);
    connect(&watch, &QFileSystemWatcher::directoryChanged, this, &StationGate::reread);
    watch.addPath(QFileInfo(path).absolutePath());
    reread();
}

void StationGate::reread()
{
    const StationSettings read = StationSettings::read(path);
    if (QFileInfo::exists(path))
        watch.addPath(path);
    const bool faultNew = read.fault.kind != SettingsFault::None
        && (read.fault.kind != current.fault.kind || read.fault.key != current.fault.key
            || read.fault.value != current.fault.value);
    current = read;
    signedIn.setIdleMinutes(current.idleMinutes);
    if (!current.operatorRequired)
        signedIn.signOut();
    emit changed();
    if (faultNew)
        emit faulted(fault());
}

QString StationGate::fault() const
{
    if (current.fault.kind == SettingsFault::None)
        return {};
    return QCoreApplication::translate(
               "MainWindow", "Station settings %1: %2. No FW update can be started until the file is fixed.")
        .arg(QDir::toNativeSeparators(path), problemOf(current.fault));
}

QString StationGate::refusal() const
{
    if (const QString why = fault(); !why.isEmpty())
        return why;
    if (current.operatorRequired && signedIn.state() != OperatorSession::State::SignedIn)
        return QCoreApplication::translate("MainWindow", "Sign in first: Station > Sign in…");
    return {};
}

QString StationGate::serialRefusal(const QString &serial) const
{
    if (!current.unitRequired || current.acceptsSerial(serial))
        return {};
    if (serial.isEmpty())
        return QCoreApplication::translate("MainWindow", "Scan or type the panel's serial first.");
    return QCoreApplication::translate("MainWindow",
                                       "\"%1\" is not a panel serial of this station: nothing was started.")
        .arg(displayName(serial));
}

bool StationGate::releases(const Leaf &leaf) const
{
    return current.releases(leaf.tpSize, leaf.sensitivity);
}

QString StationGate::unreleased(const Leaf &leaf, bool onScreen) const
{
    const char *text
        = QT_TRANSLATE_NOOP("MainWindow", "%1/%2 is not released for order %3: nothing was started.");
    return (onScreen ? QCoreApplication::translate("MainWindow", text) : QString::fromLatin1(text))
        .arg(onScreen ? displayName(leaf.tpSize) : leaf.tpSize,
             onScreen ? displayName(leaf.sensitivity) : leaf.sensitivity, current.orderName);
}

QString StationGate::cornerText() const
{
    QStringList parts;
    if (!current.orderName.isEmpty())
        parts.append(QCoreApplication::translate("MainWindow", "Order: %1").arg(current.orderName));
    if (current.operatorRequired)
        parts.append(signedIn.state() == OperatorSession::State::SignedIn
                         ? QCoreApplication::translate("MainWindow", "Operator: %1").arg(signedIn.id())
                         : QCoreApplication::translate("MainWindow", "Not signed in"));
    return parts.join(QStringLiteral("  "));
}

RunFor StationGate::runFor(const QString &serial) const
{
    return {current.name, current.unitRequired ? serial : QString(), signedIn.id(), current.orderName};
}
