#pragma once

#include <QString>

class QFileDevice;

// What the station's history needs from the operating system.

// Asks the system to put what was written to the open file on the disk
// before returning, as a power loss would otherwise undo it.
bool syncToDisk(QFileDevice &file);

// Takes room on the disk for the open file, up to the given size, so that
// writing it that far needs no more: blocks allocated, not a sparse file.
// Says why not in *error.
bool allocate(QFileDevice &file, qint64 bytes, QString *error);

// Puts a file in another's place in one step: what is found after a power
// cut is the one or the other.
bool replaceFile(const QString &from, const QString &to);

// The account tpfw runs under, as the system knows it.
QString userName();
