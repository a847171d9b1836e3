#pragma once

#include <QByteArray>
#include <QString>

// What a file handed to the updater was at the moment it was handed over.
struct FileFacts
{
    QString path;
    // -1 and empty where the file could not be read (a folder, say).
    qint64 bytes = -1;
    // SHA-256, in lower-case hex.
    QByteArray sha256;
};

// Reads the whole file once, for its size and hash together.
FileFacts factsOf(const QString &path);
