#include "update/release/ReleaseManifest.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

namespace {

// A name that is one folder or file in one folder: nothing that leads
// elsewhere.
bool isPlainName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

QString shown(const QJsonValue &value)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray {value}).toJson(QJsonDocument::Compact))
        .mid(1)
        .chopped(1);
}

// Reads the manifest's parts, keeping the first fault and where it is.
class Reader
{
public:
    explicit Reader(ManifestFault *fault)
        : found(fault)
    { }

    bool fail(ManifestFault::Kind kind, const QString &where, const QString &value = {})
    {
        *found = {kind, where, value};
        return false;
    }

    bool text(const QJsonObject &object, const QString &where, const QString &key, QString *into)
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined() || value == QJsonValue(QString()))
            return fail(ManifestFault::Missing, where + key);
        if (!value.isString())
            return fail(ManifestFault::WrongType, where + key);
        *into = value.toString();
        return true;
    }

    bool array(const QJsonObject &object, const QString &where, const QString &key, QJsonArray *into)
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined())
            return fail(ManifestFault::Missing, where + key);
        if (!value.isArray())
            return fail(ManifestFault::WrongType, where + key);
        *into = value.toArray();
        return true;
    }

    bool object(const QJsonValue &value, const QString &where, QJsonObject *into)
    {
        if (!value.isObject())
            return fail(ManifestFault::WrongType, where);
        *into = value.toObject();
        return true;
    }

    bool image(const QJsonValue &value, const QString &where, ReleasedImage *into)
    {
        static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{64}$"));
        QJsonObject image;
        QString digest;
        if (!object(value, where, &image) || !text(image, where + '.', QStringLiteral("name"), &into->name)
            || !text(image, where + '.', QStringLiteral("sha256"), &digest))
            return false;
        if (!isPlainName(into->name))
            return fail(ManifestFault::BadName, where + ".name", into->name);
        const QJsonValue size = image.value(QStringLiteral("size"));
        if (size.isUndefined())
            return fail(ManifestFault::Missing, where + ".size");
        // Exactly a whole number of bytes, as a double holds it exactly.
        const double bytes = size.toDouble(-1);
        if (bytes < 0 || bytes > double(1LL << 53) || bytes != double(qint64(bytes)))
            return fail(ManifestFault::BadSize, where + ".size", shown(size));
        if (!hex.match(digest).hasMatch())
            return fail(ManifestFault::BadDigest, where + ".sha256", digest);
        into->size = qint64(bytes);
        into->sha256 = digest.toLatin1();
        return true;
    }

    bool leaf(const QJsonValue &value, const QString &where, ReleaseManifest *into)
    {
        QJsonObject leaf;
        QString name;
        QJsonArray images;
        if (!object(value, where, &leaf) || !text(leaf, where + '.', QStringLiteral("leaf"), &name)
            || !array(leaf, where + '.', QStringLiteral("images"), &images))
            return false;
        const QStringList parts = name.split(QLatin1Char('/'));
        if (parts.size() != 2 || !isPlainName(parts.at(0)) || !isPlainName(parts.at(1)))
            return fail(ManifestFault::BadLeaf, where + ".leaf", name);
        if (into->leaves.contains(name))
            return fail(ManifestFault::Twice, where + ".leaf", name);
        QVector<ReleasedImage> &released = into->leaves[name];
        QSet<QString> names;
        for (int i = 0; i < images.size(); ++i) {
            const QString at = where + QStringLiteral(".images[%1]").arg(i);
            ReleasedImage image;
            if (!this->image(images.at(i), at, &image))
                return false;
            if (names.contains(image.name))
                return fail(ManifestFault::Twice, at + ".name", image.name);
            names.insert(image.name);
            released.append(image);
        }
        return true;
    }

private:
    ManifestFault *found;
};

} // namespace

std::optional<ReleaseManifest> ReleaseManifest::parse(const QByteArray &text, ManifestFault *fault)
{
    *fault = {};
    Reader read(fault);
    if (text.size() > maxBytes) {
        read.fail(ManifestFault::TooLarge, {}, QString::number(text.size()));
        return std::nullopt;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        read.fail(ManifestFault::NotJson, QString::number(error.offset), error.errorString());
        return std::nullopt;
    }
    const QJsonObject top = document.object();
    ReleaseManifest manifest;
    QJsonArray leaves;
    if (top.value(QStringLiteral("schema")) != QJsonValue(1)) {
        read.fail(ManifestFault::NotSchema1, QStringLiteral("schema"),
                  shown(top.value(QStringLiteral("schema"))));
        return std::nullopt;
    }
    if (!read.text(top, {}, QStringLiteral("release"), &manifest.release)
        || !read.text(top, {}, QStringLiteral("order"), &manifest.order)
        || !read.array(top, {}, QStringLiteral("leaves"), &leaves))
        return std::nullopt;
    for (int i = 0; i < leaves.size(); ++i)
        if (!read.leaf(leaves.at(i), QStringLiteral("leaves[%1]").arg(i), &manifest))
            return std::nullopt;
    return manifest;
}

QByteArray ReleaseManifest::toJson() const
{
    QJsonArray leafList;
    for (auto leaf = leaves.cbegin(); leaf != leaves.cend(); ++leaf) {
        QJsonArray images;
        for (const ReleasedImage &image : leaf.value())
            images.append(QJsonObject {{"name", image.name},
                                       {"size", double(image.size)},
                                       {"sha256", QString::fromLatin1(image.sha256)}});
        leafList.append(QJsonObject {{"leaf", leaf.key()}, {"images", images}});
    }
    return QJsonDocument(
               QJsonObject {{"schema", 1}, {"release", release}, {"order", order}, {"leaves", leafList}})
        .toJson(QJsonDocument::Indented);
}

QVector<ReleaseMismatch> releaseMismatches(const QVector<ReleasedImage> &released,
                                           const QVector<FileFacts> &listed)
{
    QVector<ReleaseMismatch> found;
    QSet<QString> seen;
    for (const FileFacts &image : listed) {
        const QString name = QFileInfo(image.path).fileName();
        seen.insert(name);
        const auto match = std::find_if(released.begin(), released.end(),
                                        [&](const ReleasedImage &one) { return one.name == name; });
        if (match == released.end())
            found.append({ReleaseMismatch::Extra, name});
        else if (image.bytes != match->size || image.sha256 != match->sha256)
            found.append({ReleaseMismatch::NotReleased, name});
    }
    for (const ReleasedImage &image : released)
        if (!seen.contains(image.name))
            found.append({ReleaseMismatch::Missing, image.name});
    return found;
}
