#pragma once

#include <QObject>
#include <QString>

class QFileSystemWatcher;
class QThread;

// Tells when a folder the window shows changes on disk: the firmware root,
// the checked TP size's folder and the listed leaf. The watching is set up
// on a thread of its own: it looks each folder up, which a share that does
// not answer would make the window wait for.
class TreeWatcher : public QObject
{
    Q_OBJECT

public:
    explicit TreeWatcher(QObject *parent = nullptr);
    // A watching thread stuck on such a share is left behind, never waited
    // for.
    ~TreeWatcher() override;

    // From now on these folders; an empty or missing one is not watched.
    void follow(const QString &root, const QString &tpSizeDir, const QString &leafDir);

signals:
    void rootChanged();
    void tpSizeChanged();
    void leafChanged();

private:
    void changed(const QString &path);

    QThread *thread;
    // Lives in thread.
    QFileSystemWatcher *watcher;
    QString rootDir;
    QString tpSizeDir;
    QString leafDir;
};
