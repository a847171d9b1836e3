#include "update/release/Release.h"

#include "update/record/Sha256.h"
#include "update/release/Signature.h"

#include <QFile>

#include <optional>

namespace {

// A key or a signature is a few hundred bytes.
constexpr qint64 maxSmallFile = 64 << 10;

// The file's bytes, if it can be read and is no longer than limit.
std::optional<QByteArray> bytesOf(const QString &path, qint64 limit, Release *release)
{
    QFile file(path);
    release->file = path;
    if (!file.open(QIODevice::ReadOnly)) {
        release->fault = Release::Fault::Unreadable;
        release->system = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.read(limit + 1);
    if (bytes.size() > limit) {
        release->fault = Release::Fault::TooLarge;
        return std::nullopt;
    }
    return bytes;
}

} // namespace

Release Release::read(const QString &manifestPath, const QStringList &keyPaths)
{
    Release release;
    QVector<PublicKey> keys;
    for (const QString &path : keyPaths) {
        const std::optional<QByteArray> pem = bytesOf(path, maxSmallFile, &release);
        if (!pem)
            return release;
        const std::optional<PublicKey> key = PublicKey::fromPem(*pem, &release.keyFault);
        if (!key) {
            release.fault = Fault::KeyUnusable;
            return release;
        }
        keys.append(*key);
    }
    const std::optional<QByteArray> text = bytesOf(manifestPath, ReleaseManifest::maxBytes, &release);
    if (!text)
        return release;
    const QString signaturePath = manifestPath + QStringLiteral(".sig");
    const std::optional<QByteArray> signature = bytesOf(signaturePath, maxSmallFile, &release);
    if (!signature) {
        if (!QFile::exists(signaturePath))
            release.fault = Fault::NoSignature;
        return release;
    }
    release.file = manifestPath;
    const std::optional<ReleaseManifest> manifest = ReleaseManifest::parse(*text, &release.manifestFault);
    if (!manifest) {
        release.fault = Fault::NotAManifest;
        return release;
    }
    const auto signer = std::find_if(keys.cbegin(), keys.cend(), [&](const PublicKey &key) {
        return signatureVerifies(key, *text, *signature);
    });
    if (signer == keys.cend()) {
        release.fault = Fault::NotSigned;
        return release;
    }
    release.manifest = *manifest;
    release.keySha256 = signer->sha256();
    Sha256 hash;
    hash.add(text->constData(), text->size());
    release.sha256 = hash.hexResult();
    return release;
}
