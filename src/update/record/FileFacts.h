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
    // Why it was not read, where that is worth a word in the record.
    QString readError;
    // It changed while it was read, and again when read once more: what it
    // is cannot be told.
    bool changedWhileRead = false;
};

// Reads the whole file, for its size and hash together, and reads it once
// more where its size or modification time differ after the reading from
// before it. What is not a regular file or a folder (a FIFO, a socket, a
// device, or a link to one) is never opened: reading it might never end.
FileFacts factsOf(const QString &path);
