#pragma once

#include <QStringList>

// The firmware tree: FwBinFiles beside the executable, then a folder per TP
// size, then one per sensitivity, which holds the images.
QString firmwareRoot();

// A folder of images, named by its place below the firmware root.
struct Leaf
{
    QString tpSize;
    QString sensitivity;
};

// The leaf of a path formed as firmware root / TP size / sensitivity; empty
// names where the path is not below the firmware root.
Leaf leafOf(const QString &leafPath);

// The entries a folder offers as choices: sub-folders and plain files alike,
// hidden ones left out, ordered by name ignoring case. Every name the folder
// lists is written to the debug stream, "." and ".." included, which are then
// dropped. A folder that is missing or unreadable offers nothing.
QStringList listDirEntries(const QString &dirPath);

// The same entries, listed again without a word: to tell whether a listing
// still holds.
QStringList currentEntries(const QString &dirPath);

// How many entries the folder holds that the listing cannot name, and so
// leaves out: on Unix those whose names are not valid UTF-8. Hidden ones are
// not counted; they are left out anyway.
int unlistedEntries(const QString &dirPath);
