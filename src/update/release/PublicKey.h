#pragma once

#include <QByteArray>

#include <optional>

// A public key trusted to sign releases, read from PEM ("PUBLIC KEY", a DER
// SubjectPublicKeyInfo): an EC key on P-256, or an RSA key of at least 2048
// bits. Read here, not by the platform's crypto, so that every platform
// takes exactly the same keys.
class PublicKey
{
public:
    enum class Kind { EcP256, Rsa };
    enum class Fault { None, NotPem, NotAKey, NotAccepted };

    // The key, or why a file holds none that may sign.
    static std::optional<PublicKey> fromPem(const QByteArray &pem, Fault *fault);

    Kind kind() const { return type; }
    // The DER SubjectPublicKeyInfo, as the key is named in records.
    const QByteArray &der() const { return info; }
    QByteArray sha256() const;
    // EC: the point, 0x04 X Y. RSA: modulus and exponent, big-endian.
    const QByteArray &point() const { return first; }
    const QByteArray &modulus() const { return first; }
    const QByteArray &exponent() const { return second; }

private:
    Kind type = Kind::EcP256;
    QByteArray info;
    QByteArray first;
    QByteArray second;
};

// An ECDSA signature as openssl writes it (DER, r and s) as r and s of 32
// bytes each, big-endian; empty where it is no such signature.
QByteArray ecdsaRawSignature(const QByteArray &der);
