#pragma once

#include "update/release/PublicKey.h"

#include <QByteArray>

// Whether key made signature over data, as "openssl dgst -sha256 -sign"
// makes it: ECDSA (DER) or RSA PKCS #1 v1.5, over the data's SHA-256. The
// platform's crypto checks it: libcrypto, or Windows' CNG.
bool signatureVerifies(const PublicKey &key, const QByteArray &data, const QByteArray &signature);
