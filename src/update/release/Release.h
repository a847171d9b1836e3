#pragma once

#include "update/release/PublicKey.h"
#include "update/release/ReleaseManifest.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A work order's release as a station takes it: the manifest, its signature
// beside it (<manifest>.sig) made by one of the keys the station trusts.
// Whatever is wrong with any of the files is a fault naming that file: the
// station then starts nothing.
struct Release
{
    enum class Fault { None, Unreadable, TooLarge, NotAManifest, NoSignature, KeyUnusable, NotSigned };

    // Reads the files, which may be on a share: off the GUI thread.
    static Release read(const QString &manifestPath, const QStringList &keyPaths);

    ReleaseManifest manifest;
    // Of the manifest file's bytes, and of the signing key's DER
    // SubjectPublicKeyInfo: lower-case hex.
    QByteArray sha256;
    QByteArray keySha256;

    Fault fault = Fault::None;
    // The file the fault is about.
    QString file;
    // The system's words, where it gave any.
    QString system;
    ManifestFault manifestFault;
    PublicKey::Fault keyFault = PublicKey::Fault::None;
};
