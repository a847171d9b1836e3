#pragma once

#include "update/record/FileFacts.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVector>

#include <optional>

// One image a release names: its file name in the leaf, and its exact bytes
// by size and SHA-256 (lower-case hex).
struct ReleasedImage
{
    QString name;
    qint64 size = 0;
    QByteArray sha256;
};

// Why a manifest's text is not a release, for the window to word: where in
// it ("leaves[2].images[0].sha256") and what stands there.
struct ManifestFault
{
    enum Kind {
        None,
        TooLarge,
        NotJson,
        NotSchema1,
        Missing,
        WrongType,
        BadLeaf,
        BadName,
        Twice,
        BadSize,
        BadDigest
    };
    Kind kind = None;
    QString where;
    QString value;
};

// Which images a work order's release lets a station flash, byte for byte,
// as its quality engineer signed them: per leaf ("TP size/sensitivity"),
// every image by name. Read from the UTF-8 JSON the release engineer writes:
//   {"schema": 1, "release": "WO-2291 r1", "order": "WO-2291",
//    "leaves": [{"leaf": "10.1inch/High",
//                "images": [{"name": "a.bin", "size": 18432, "sha256": "…"}]}]}
// Other keys are left alone. Anything not quite so is refused whole: a
// manifest never releases more than it says plainly.
struct ReleaseManifest
{
    // Larger than any list of images a leaf has: nothing larger is read.
    static constexpr qint64 maxBytes = 16 << 20;

    static std::optional<ReleaseManifest> parse(const QByteArray &text, ManifestFault *fault);
    // As parse() reads it, images in the order given.
    QByteArray toJson() const;

    QString release;
    QString order;
    QMap<QString, QVector<ReleasedImage>> leaves;
};

// Why the images listed for a leaf are not its release's, exactly: each
// image that is not the one released or is not in the release, in the order
// listed, then each one missing.
struct ReleaseMismatch
{
    enum Kind { NotReleased, Extra, Missing };
    Kind kind;
    QString image;
};

QVector<ReleaseMismatch> releaseMismatches(const QVector<ReleasedImage> &released,
                                           const QVector<FileFacts> &listed);
