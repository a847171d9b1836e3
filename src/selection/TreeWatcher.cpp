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
    if (!watcher.directories().isEmpty())
        watcher.removePaths(watcher.directories());
    for (const QString &dir : {root, tpSize, leaf})
        if (!dir.isEmpty() && QFileInfo(dir).isDir())
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
