#include "update/release/Signature.h"

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>

bool signatureVerifies(const PublicKey &key, const QByteArray &data, const QByteArray &signature)
{
    const auto *der = reinterpret_cast<const unsigned char *>(key.der().constData());
    const std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> pkey(
        d2i_PUBKEY(nullptr, &der, key.der().size()), EVP_PKEY_free);
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    return pkey && context
        && EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, pkey.get()) == 1
        && EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char *>(signature.constData()),
                            size_t(signature.size()),
                            reinterpret_cast<const unsigned char *>(data.constData()), size_t(data.size()))
        == 1;
}
