#include "selection/TreeWatcher.h"

#include <QFileInfo>

TreeWatcher::TreeWatcher(QObject *parent)
    : QObject(parent)
{
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, &TreeWatcher::changed);
}

void TreeWatcher::follow(const QString &root, const QString &tpSize, const QString &leaf)
{
    rootDir = root;
    tpSizeDir = tpSize;
    leafDir = leaf;
    // A folder still wanted stays watched: removed, its pending changes
    // would be lost.
    QStringList wanted;
    for (const QString &dir : {root, tpSize, leaf})
        if (!dir.isEmpty() && QFileInfo(dir).isDir())
            wanted.append(dir);
    for (const QString &dir : watcher.directories())
        if (!wanted.contains(dir))
            watcher.removePath(dir);
    for (const QString &dir : wanted)
        if (!watcher.directories().contains(dir))
            watcher.addPath(dir);
}

void TreeWatcher::changed(const QString &path)
{
    if (path == rootDir)
        emit rootChanged();
    if (path == tpSizeDir)
        emit tpSizeChanged();
    if (path == leafDir)
        emit leafChanged();
}
