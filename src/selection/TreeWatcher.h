#pragma once

#include <QObject>
#include <QString>

class QFileSystemWatcher;
class QThread;

// Tells when a folder the window shows changes on disk: the firmware root,
// the checked TP size's folder and the listed leaf. The watching is set up
// on a thread of its own: it looks each folder up, which a share that does
// not answer would make the window wait for. Nothing is watched before
// start(): a window shows first, and watches after.
class TreeWatcher : public QObject
{
    Q_OBJECT

public:
    explicit TreeWatcher(QObject *parent = nullptr);
    // A watching thread stuck on such a share is left behind, never waited
    // for.
    ~TreeWatcher() override;

    // From now on these folders, once started; an empty or missing one is
    // not watched.
    void follow(const QString &root, const QString &tpSizeDir, const QString &leafDir);
    // Watches the folders followed so far, and those followed later. What
    // changed before is not told: they are to be read again.
    void start();

signals:
    void rootChanged();
    void tpSizeChanged();
    void leafChanged();

private:
    void changed(const QString &path);
    void watchFollowed();

    QThread *thread = nullptr;
    // Lives in thread.
    QFileSystemWatcher *watcher = nullptr;
    QString rootDir;
    QString tpSizeDir;
    QString leafDir;
};
