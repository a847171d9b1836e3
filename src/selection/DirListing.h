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

// A folder below the firmware root as the user knows it: "7inch/High", or
// "FwBinFiles" for the root itself.
QString placeOf(const QString &path);

// The leaf of a path formed as firmware root / TP size / sensitivity; empty
// names where the path is not below the firmware root.
Leaf leafOf(const QString &leafPath);

// How many entries the folder holds that the listing cannot name, and so
// leaves out: on Unix those whose names are not valid UTF-8. Hidden ones are
// not counted; they are left out anyway.
int unlistedEntries(const QString &dirPath);
