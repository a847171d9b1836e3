#include "update/record/Sha256.h"

#include <openssl/evp.h>

struct Sha256::State
{
    EVP_MD_CTX *context = EVP_MD_CTX_new();
    ~State() { EVP_MD_CTX_free(context); }
};

Sha256::Sha256()
    : state(std::make_unique<State>())
{
    EVP_DigestInit_ex(state->context, EVP_sha256(), nullptr);
}

Sha256::~Sha256() = default;

void Sha256::add(const char *data, qint64 size)
{
    EVP_DigestUpdate(state->context, data, size_t(size));
}

QByteArray Sha256::hexResult()
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(state->context, digest, &length);
    return QByteArray(reinterpret_cast<const char *>(digest), int(length)).toHex();
}
