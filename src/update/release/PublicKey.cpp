#include "update/release/PublicKey.h"

#include "update/record/Sha256.h"

namespace {

const QByteArray ecKeyOid = QByteArray::fromHex("2a8648ce3d0201");
const QByteArray p256Oid = QByteArray::fromHex("2a8648ce3d030107");
const QByteArray rsaOid = QByteArray::fromHex("2a864886f70d010101");
constexpr int minRsaBits = 2048;

// One DER element read off the front of a span.
struct Der
{
    const QByteArray &bytes;
    int at = 0;
    int end;

    explicit Der(const QByteArray &all, int from = 0, int to = -1)
        : bytes(all)
        , at(from)
        , end(to < 0 ? all.size() : to)
    { }

    // The next element's value, if it has that tag; the span moves past it.
    std::optional<Der> next(uchar tag)
    {
        if (end - at < 2 || uchar(bytes.at(at)) != tag)
            return std::nullopt;
        int length = uchar(bytes.at(at + 1));
        int from = at + 2;
        if (length & 0x80) {
            const int octets = length & 0x7F;
            if (octets < 1 || octets > 3 || end - from < octets)
                return std::nullopt;
            length = 0;
            for (int i = 0; i < octets; ++i)
                length = length << 8 | uchar(bytes.at(from++));
        }
        if (end - from < length)
            return std::nullopt;
        at = from + length;
        return Der(bytes, from, from + length);
    }
    QByteArray value() const { return bytes.mid(at, end - at); }
    bool done() const { return at == end; }
};

// An INTEGER's value, without the zero that keeps it positive.
std::optional<QByteArray> unsignedInteger(Der &der)
{
    const std::optional<Der> integer = der.next(0x02);
    if (!integer || integer->done())
        return std::nullopt;
    QByteArray value = integer->value();
    if (value.at(0) & 0x80)
        return std::nullopt;
    while (value.size() > 1 && value.at(0) == 0)
        value.remove(0, 1);
    return value;
}

int bitsOf(const QByteArray &number)
{
    int bits = (number.size() - 1) * 8;
    for (uchar top = uchar(number.at(0)); top; top >>= 1)
        ++bits;
    return bits;
}

} // namespace

std::optional<PublicKey> PublicKey::fromPem(const QByteArray &pem, Fault *fault)
{
    static const QByteArray begin = "-----BEGIN PUBLIC KEY-----";
    static const QByteArray finish = "-----END PUBLIC KEY-----";
    const int from = pem.indexOf(begin);
    const int to = pem.indexOf(finish, from);
    *fault = Fault::NotPem;
    if (from < 0 || to < 0)
        return std::nullopt;
    PublicKey key;
    QByteArray body = pem.mid(from + begin.size(), to - from - begin.size());
    body.replace('\n', QByteArray()).replace('\r', QByteArray());
    key.info = QByteArray::fromBase64(body, QByteArray::AbortOnBase64DecodingErrors);
    *fault = Fault::NotAKey;
    Der whole(key.info);
    std::optional<Der> info = whole.next(0x30);
    std::optional<Der> algorithm = info ? info->next(0x30) : std::nullopt;
    std::optional<Der> oid = algorithm ? algorithm->next(0x06) : std::nullopt;
    std::optional<Der> bits = info ? info->next(0x03) : std::nullopt;
    if (!whole.done() || !oid || !bits || !info->done() || bits->done() || bits->bytes.at(bits->at) != 0)
        return std::nullopt;
    bits->at += 1;
    *fault = Fault::NotAccepted;
    if (oid->value() == ecKeyOid) {
        const std::optional<Der> curve = algorithm->next(0x06);
        key.first = bits->value();
        if (!curve || curve->value() != p256Oid || key.first.size() != 65 || key.first.at(0) != 0x04)
            return std::nullopt;
        key.type = Kind::EcP256;
    } else if (oid->value() == rsaOid) {
        std::optional<Der> numbers = bits->next(0x30);
        const std::optional<QByteArray> modulus = numbers ? unsignedInteger(*numbers) : std::nullopt;
        const std::optional<QByteArray> exponent = numbers ? unsignedInteger(*numbers) : std::nullopt;
        if (!exponent)
            return std::nullopt;
        if (bitsOf(*modulus) < minRsaBits)
            return std::nullopt;
        key.type = Kind::Rsa;
        key.first = *modulus;
        key.second = *exponent;
    } else
        return std::nullopt;
    *fault = Fault::None;
    return key;
}

QByteArray PublicKey::sha256() const
{
    Sha256 hash;
    hash.add(info.constData(), info.size());
    return hash.hexResult();
}

QByteArray ecdsaRawSignature(const QByteArray &der)
{
    Der whole(der);
    std::optional<Der> pair = whole.next(0x30);
    const std::optional<QByteArray> r = pair ? unsignedInteger(*pair) : std::nullopt;
    const std::optional<QByteArray> s = pair ? unsignedInteger(*pair) : std::nullopt;
    if (!s || !pair->done() || !whole.done() || r->size() > 32 || s->size() > 32)
        return {};
    return QByteArray(32 - r->size(), '\0') + *r + QByteArray(32 - s->size(), '\0') + *s;
}
