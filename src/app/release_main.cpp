// tpfw-release: the release engineer's side of a signed release.
//   tpfw-release make --order O --release R --root FOLDER LEAF...
//     writes the manifest of those leaves, as their images are now, to
//     standard output; sign it with openssl dgst -sha256 -sign.
//   tpfw-release check MANIFEST --keys PEM[;PEM...] --root FOLDER
//     says whether the signature verifies with one of the keys and every
//     image of every leaf is as released, naming each that is not.

#include "update/record/FileFacts.h"
#include "update/release/Release.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <optional>

namespace {

void say(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stderr);
}

// The value after an option, if given once.
std::optional<QString> option(QStringList &arguments, const QString &name)
{
    const int at = arguments.indexOf(name);
    if (at < 0 || at + 1 >= arguments.size())
        return std::nullopt;
    const QString value = arguments.at(at + 1);
    arguments.erase(arguments.begin() + at, arguments.begin() + at + 2);
    return value;
}

// A leaf's images as the window lists them: every entry but hidden ones,
// with their bytes as they are now.
QVector<FileFacts> imagesOf(const QString &leafPath)
{
    QVector<FileFacts> images;
    for (const QString &name : QDir(leafPath).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        images.append(factsOf(leafPath + QLatin1Char('/') + name));
    return images;
}

int make(QStringList arguments)
{
    const std::optional<QString> order = option(arguments, QStringLiteral("--order"));
    const std::optional<QString> release = option(arguments, QStringLiteral("--release"));
    const std::optional<QString> root = option(arguments, QStringLiteral("--root"));
    if (!order || !release || !root || arguments.isEmpty()) {
        say(QStringLiteral("usage: tpfw-release make --order O --release R --root FOLDER LEAF..."));
        return 2;
    }
    ReleaseManifest manifest {*release, *order, {}};
    for (const QString &leaf : qAsConst(arguments)) {
        const QString path = *root + QLatin1Char('/') + leaf;
        if (leaf.split(QLatin1Char('/')).size() != 2 || !QFileInfo(path).isDir()) {
            say(QStringLiteral("%1: no such leaf (TP size/sensitivity) in %2").arg(leaf, *root));
            return 1;
        }
        const QVector<FileFacts> images = imagesOf(path);
        if (images.isEmpty()) {
            say(QStringLiteral("%1: no images").arg(leaf));
            return 1;
        }
        for (const FileFacts &image : images) {
            if (image.bytes < 0 || image.changedWhileRead) {
                say(QStringLiteral("%1: cannot be read%2")
                        .arg(image.path, image.readError.isEmpty() ? QString() : ": " + image.readError));
                return 1;
            }
            manifest.leaves[leaf].append({QFileInfo(image.path).fileName(), image.bytes, image.sha256});
        }
    }
    const QByteArray json = manifest.toJson();
    return std::fwrite(json.constData(), 1, size_t(json.size()), stdout) == size_t(json.size()) ? 0 : 1;
}

int check(QStringList arguments)
{
    const std::optional<QString> keys = option(arguments, QStringLiteral("--keys"));
    const std::optional<QString> root = option(arguments, QStringLiteral("--root"));
    if (!keys || !root || arguments.size() != 1) {
        say(QStringLiteral("usage: tpfw-release check MANIFEST --keys PEM[;PEM...] --root FOLDER"));
        return 2;
    }
    const Release release
        = Release::read(arguments.first(), keys->split(QLatin1Char(';'), Qt::SkipEmptyParts));
    if (release.fault != Release::Fault::None) {
        static const char *const why[] = {"",
                                          "cannot be read",
                                          "is too large",
                                          "is not a release manifest",
                                          "has no signature beside it",
                                          "is not a key that may sign",
                                          "is not signed by any of the keys"};
        say(QStringLiteral("%1: %2%3")
                .arg(release.file, QLatin1String(why[int(release.fault)]),
                     release.fault == Release::Fault::NotAManifest
                         ? QStringLiteral(" (%1 %2)")
                               .arg(release.manifestFault.where, release.manifestFault.value)
                         : QString()));
        return 1;
    }
    static const char *const kinds[]
        = {"differs from the image released", "is not in the release", "is released but missing"};
    int differing = 0;
    for (auto leaf = release.manifest.leaves.cbegin(); leaf != release.manifest.leaves.cend(); ++leaf)
        for (const ReleaseMismatch &mismatch :
             releaseMismatches(leaf.value(), imagesOf(*root + '/' + leaf.key()))) {
            say(QStringLiteral("%1/%2 %3")
                    .arg(leaf.key(), mismatch.image, QLatin1String(kinds[mismatch.kind])));
            ++differing;
        }
    if (differing == 0)
        say(QStringLiteral("%1: signed, every image as released").arg(release.manifest.release));
    return differing == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList given = QCoreApplication::arguments().mid(1);
    const QString command = given.value(0);
    const QStringList arguments = given.mid(1);
    if (command == QLatin1String("make"))
        return make(arguments);
    if (command == QLatin1String("check"))
        return check(arguments);
    say(QStringLiteral("usage: tpfw-release make|check ..."));
    return 2;
}
