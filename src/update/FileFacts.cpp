#include "update/FileFacts.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

FileFacts factsOf(const QString &path)
{
    FileFacts facts {path, -1, {}, {}};
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir()) {
        facts.unread = QStringLiteral("not a regular file");
        return facts;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.isSequential())
        return facts;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    // What was hashed is what is counted, even if the file changes meanwhile.
    qint64 bytes = 0;
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (qint64 read; (read = file.read(chunk.data(), chunk.size())) > 0;) {
        hash.addData(chunk.constData(), int(read));
        bytes += read;
    }
    if (file.error() != QFileDevice::NoError)
        return facts;
    facts.bytes = bytes;
    facts.sha256 = hash.result().toHex();
    return facts;
}
