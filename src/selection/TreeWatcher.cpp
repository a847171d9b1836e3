#include "selection/TreeWatcher.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QThread>

TreeWatcher::TreeWatcher(QObject *parent)
    : QObject(parent)
    , thread(new QThread)
    , watcher(new QFileSystemWatcher)
{
    watcher->moveToThread(thread);
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, &TreeWatcher::changed);
    thread->start();
}

TreeWatcher::~TreeWatcher()
{
    thread->quit();
    if (!thread->wait(100)) {
        // Ends, and goes, once the share lets it.
        connect(thread, &QThread::finished, watcher, &QObject::deleteLater);
        connect(thread, &QThread::finished, thread, &QObject::deleteLater);
        return;
    }
    delete watcher;
    delete thread;
}

void TreeWatcher::follow(const QString &root, const QString &tpSize, const QString &leaf)
{
    rootDir = root;
    tpSizeDir = tpSize;
    leafDir = leaf;
    QMetaObject::invokeMethod(
        watcher,
        [watcher = watcher, dirs = QStringList({root, tpSize, leaf})] {
            // A folder still wanted stays watched: removed, its pending
            // changes would be lost.
            QStringList wanted;
            for (const QString &dir : dirs)
                if (!dir.isEmpty() && QFileInfo(dir).isDir())
                    wanted.append(dir);
            for (const QString &dir : watcher->directories())
                if (!wanted.contains(dir))
                    watcher->removePath(dir);
            for (const QString &dir : wanted)
                if (!watcher->directories().contains(dir))
                    watcher->addPath(dir);
        },
        Qt::QueuedConnection);
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
