#include "update/record/FileFacts.h"

#include "update/record/Sha256.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace {

struct Stamp
{
    qint64 size;
    QDateTime modified;
    bool operator==(const Stamp &other) const { return size == other.size && modified == other.modified; }
};

Stamp stampOf(const QFile &file)
{
    return {file.size(), file.fileTime(QFileDevice::FileModificationTime)};
}

// Size and hash of one reading; false where the file changed meanwhile.
bool readOnce(QFile &file, FileFacts &facts)
{
    file.seek(0);
    const Stamp before = stampOf(file);
    Sha256 hash;
    // What was hashed is what is counted.
    qint64 bytes = 0;
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (qint64 read; (read = file.read(chunk.data(), chunk.size())) > 0;) {
        hash.add(chunk.constData(), read);
        bytes += read;
    }
    if (file.error() != QFileDevice::NoError)
        return true;
    facts.bytes = bytes;
    facts.sha256 = hash.hexResult();
    return stampOf(file) == before && bytes == before.size;
}

} // namespace

FileFacts factsOf(const QString &path)
{
    FileFacts facts {path, -1, {}, {}};
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir()) {
        facts.readError = QStringLiteral("not a regular file");
        return facts;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.isSequential())
        return facts;
    facts.changedWhileRead = !readOnce(file, facts) && !readOnce(file, facts);
    return facts;
}
