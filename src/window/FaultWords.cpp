#include "window/FaultWords.h"

#include "selection/NameDisplay.h"
#include "window/RunWords.h"

#include <QDir>

QString FaultWords::settings(const SettingsFault &fault)
{
    switch (fault.kind) {
    case SettingsFault::Missing:
        return tr("there is no such file (a station that asks for nothing keeps it, without keys)");
    case SettingsFault::Unreadable:
        return tr("cannot be read: %1").arg(fault.value);
    case SettingsFault::NotUtf8:
        return tr("line %1 is not UTF-8 text").arg(fault.key);
    case SettingsFault::NotAKeyLine:
        return tr("line %1 is not key=value: %2").arg(fault.key, fault.value);
    case SettingsFault::UnknownKey:
        return tr("%1: no such setting").arg(fault.key);
    case SettingsFault::NotTrueOrFalse:
        return tr("%1: \"%2\" is neither true nor false").arg(fault.key, fault.value);
    case SettingsFault::NotMinutes:
        return tr("%1: \"%2\" is not a number of minutes").arg(fault.key, fault.value);
    case SettingsFault::TooManyMinutes:
        return tr("%1: \"%2\" is more than %3 minutes").arg(fault.key, fault.value).arg(maxIdleMinutes);
    case SettingsFault::BadPattern:
        return tr("%1: the pattern does not compile: %2").arg(fault.key, fault.value);
    case SettingsFault::BadLength:
        return tr("%1: \"%2\" is not a number of characters from 1 to %3")
            .arg(fault.key, fault.value)
            .arg(TextRule::maxLength);
    case SettingsFault::BadText:
        return tr("%1: \"%2\" is not a name people can read: %3")
            .arg(fault.key, displayName(fault.value),
                 RunWords::textFault(fault.text, TextRule::defaultLength));
    case SettingsFault::NoKeys:
        return tr("%1: a release needs the keys trusted to sign it").arg(fault.key);
    case SettingsFault::LeavesBesideRelease:
        return tr("%1: the release names the leaves released").arg(fault.key);
    case SettingsFault::BadLeaf:
        return tr("%1: each leaf reads TP size/sensitivity, not \"%2\"").arg(fault.key, fault.value);
    case SettingsFault::OperatorsUnreadable:
        return tr("%1: the list of operators cannot be read: %2").arg(fault.key, fault.value);
    case SettingsFault::NoOperators:
        return tr("%1: the list of operators names nobody").arg(fault.key);
    case SettingsFault::NoOrderName:
        return tr("%1: leaves are released for no order: name it").arg(fault.key);
    case SettingsFault::None:
        break;
    }
    return {};
}

namespace {

QString manifestProblem(const ManifestFault &fault)
{
    switch (fault.kind) {
    case ManifestFault::TooLarge:
    case ManifestFault::NotJson:
        return FaultWords::tr("is not a release's JSON: %1").arg(fault.value);
    case ManifestFault::NotSchema1:
        return FaultWords::tr("schema is %1, not 1").arg(fault.value);
    case ManifestFault::Missing:
        return FaultWords::tr("%1 is missing").arg(fault.where);
    case ManifestFault::WrongType:
        return FaultWords::tr("%1 is not of its kind").arg(fault.where);
    case ManifestFault::BadLeaf:
        return FaultWords::tr("%1: \"%2\" is not TP size/sensitivity")
            .arg(fault.where, displayName(fault.value));
    case ManifestFault::BadName:
        return FaultWords::tr("%1: \"%2\" is not the name of a file in a leaf")
            .arg(fault.where, displayName(fault.value));
    case ManifestFault::Twice:
        return FaultWords::tr("%1: \"%2\" is named twice").arg(fault.where, displayName(fault.value));
    case ManifestFault::BadSize:
        return FaultWords::tr("%1: %2 is not a number of bytes").arg(fault.where, fault.value);
    case ManifestFault::BadDigest:
        return FaultWords::tr("%1: \"%2\" is not a SHA-256 in lower-case hex").arg(fault.where, fault.value);
    case ManifestFault::None:
        break;
    }
    return {};
}

QString keyProblem(PublicKey::Fault fault)
{
    switch (fault) {
    case PublicKey::Fault::NotPem:
        return FaultWords::tr("holds no PEM public key");
    case PublicKey::Fault::NotAKey:
        return FaultWords::tr("is not a public key that can be read");
    case PublicKey::Fault::NotAccepted:
        return FaultWords::tr("is neither an EC P-256 key nor an RSA key of 2048 bits or more");
    case PublicKey::Fault::None:
        break;
    }
    return {};
}

// What is wrong with the release, and the file it is about.
} // namespace

std::pair<QString, QString> FaultWords::release(const StationPolicy &station)
{
    const Release &release = station.release().release();
    switch (release.fault) {
    case Release::Fault::Unreadable:
        return {release.file, FaultWords::tr("cannot be read: %1").arg(release.system)};
    case Release::Fault::TooLarge:
        return {release.file, FaultWords::tr("is larger than any release")};
    case Release::Fault::NotAManifest:
        return {release.file, manifestProblem(release.manifestFault)};
    case Release::Fault::NoSignature:
        return {station.release().manifestPath(),
                FaultWords::tr("has no signature beside it (%1)")
                    .arg(QDir::toNativeSeparators(station.release().manifestPath() + ".sig"))};
    case Release::Fault::KeyUnusable:
        return {release.file, keyProblem(release.keyFault)};
    case Release::Fault::NotSigned:
        return {release.file, FaultWords::tr("is not signed by a key this station trusts")};
    case Release::Fault::None:
        break;
    }
    // Sound, and for another order than the station's.
    return {station.release().manifestPath(),
            FaultWords::tr("is for order %1, not for order %2 as the station's settings say")
                .arg(release.manifest.order, station.settings().orderName)};
}
