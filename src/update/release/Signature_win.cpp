#include "update/release/Signature.h"

#include "update/record/Sha256.h"

#include <windows.h>

#include <bcrypt.h>

namespace {

// A CNG public key blob: its header, then its numbers, big-endian.
template <typename Header> QByteArray blobOf(const Header &header, const QByteArray &numbers)
{
    return QByteArray(reinterpret_cast<const char *>(&header), sizeof header) + numbers;
}

QByteArray keyBlob(const PublicKey &key)
{
    if (key.kind() == PublicKey::Kind::EcP256) {
        const BCRYPT_ECCKEY_BLOB header {BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
        return blobOf(header, key.point().mid(1));
    }
    const BCRYPT_RSAKEY_BLOB header {BCRYPT_RSAPUBLIC_MAGIC,
                                     ULONG(key.modulus().size() * 8),
                                     ULONG(key.exponent().size()),
                                     ULONG(key.modulus().size()),
                                     0,
                                     0};
    return blobOf(header, key.exponent() + key.modulus());
}

} // namespace

bool signatureVerifies(const PublicKey &key, const QByteArray &data, const QByteArray &signature)
{
    const bool ec = key.kind() == PublicKey::Kind::EcP256;
    QByteArray raw = ec ? ecdsaRawSignature(signature) : signature;
    if (raw.isEmpty())
        return false;
    Sha256 hash;
    hash.add(data.constData(), data.size());
    QByteArray digest = QByteArray::fromHex(hash.hexResult());
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (BCryptOpenAlgorithmProvider(&algorithm, ec ? BCRYPT_ECDSA_P256_ALGORITHM : BCRYPT_RSA_ALGORITHM,
                                    nullptr, 0)
        < 0)
        return false;
    QByteArray blob = keyBlob(key);
    BCRYPT_KEY_HANDLE handle = nullptr;
    bool verified = false;
    if (BCryptImportKeyPair(algorithm, nullptr, ec ? BCRYPT_ECCPUBLIC_BLOB : BCRYPT_RSAPUBLIC_BLOB, &handle,
                            reinterpret_cast<PUCHAR>(blob.data()), ULONG(blob.size()), 0)
        >= 0) {
        BCRYPT_PKCS1_PADDING_INFO padding {BCRYPT_SHA256_ALGORITHM};
        verified
            = BCryptVerifySignature(handle, ec ? nullptr : &padding, reinterpret_cast<PUCHAR>(digest.data()),
                                    ULONG(digest.size()), reinterpret_cast<PUCHAR>(raw.data()),
                                    ULONG(raw.size()), ec ? 0 : BCRYPT_PAD_PKCS1)
            >= 0;
        BCryptDestroyKey(handle);
    }
    BCryptCloseAlgorithmProvider(algorithm, 0);
    return verified;
}
