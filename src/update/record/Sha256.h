#pragma once

#include <QByteArray>

#include <memory>

// SHA-256 through the platform's tuned implementation (OpenSSL's libcrypto,
// or Windows' CNG), which uses the processor's SHA instructions where it has
// them: several times the speed of a portable one on large images.
class Sha256
{
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256 &) = delete;
    Sha256 &operator=(const Sha256 &) = delete;

    void add(const char *data, qint64 size);
    // In lower-case hex; the hash is spent after this.
    QByteArray hexResult();

private:
    struct State;
    std::unique_ptr<State> state;
};
