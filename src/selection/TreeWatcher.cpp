#include "selection/TreeWatcher.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSemaphore>
#include <QThread>

#include <memory>

TreeWatcher::TreeWatcher(QObject *parent)
    : QObject(parent)
{ }

void TreeWatcher::start()
{
    if (thread)
        return;
    thread = new QThread;
    watcher = new QFileSystemWatcher;
    watcher->moveToThread(thread);
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, &TreeWatcher::changed);
    thread->start();
    watchFollowed();
}

TreeWatcher::~TreeWatcher()
{
    if (!thread)
        return;
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
    if (thread)
        watchFollowed();
}

void TreeWatcher::watchFollowed()
{
    auto done = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(
        watcher,
        [watcher = watcher, dirs = QStringList({rootDir, tpSizeDir, leafDir}), done] {
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
            done->release();
        },
        Qt::QueuedConnection);
    // Folders that answer are watched before the window goes on, so that no
    // change made just after their listing goes unseen. Short: a folder
    // that is slow was already waited for by its listing.
    done->tryAcquire(1, 25);
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
