#include "update/record/Sha256.h"

#include <windows.h>

#include <bcrypt.h>

struct Sha256::State
{
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    ~State()
    {
        if (hash)
            BCryptDestroyHash(hash);
        if (algorithm)
            BCryptCloseAlgorithmProvider(algorithm, 0);
    }
};

Sha256::Sha256()
    : state(std::make_unique<State>())
{
    if (BCryptOpenAlgorithmProvider(&state->algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) >= 0)
        BCryptCreateHash(state->algorithm, &state->hash, nullptr, 0, nullptr, 0, 0);
}

Sha256::~Sha256() = default;

void Sha256::add(const char *data, qint64 size)
{
    // CNG takes at most 4 GiB a call.
    for (qint64 done = 0; done < size;) {
        const ULONG part = ULONG(qMin<qint64>(size - done, 1 << 30));
        BCryptHashData(state->hash, reinterpret_cast<PUCHAR>(const_cast<char *>(data + done)), part, 0);
        done += part;
    }
}

QByteArray Sha256::hexResult()
{
    unsigned char digest[32];
    if (!state->hash || BCryptFinishHash(state->hash, digest, sizeof digest, 0) < 0)
        return {};
    return QByteArray(reinterpret_cast<const char *>(digest), sizeof digest).toHex();
}
