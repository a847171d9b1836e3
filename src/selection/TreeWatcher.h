#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

// Tells when a folder the window shows changes on disk: the firmware root,
// the checked TP size's folder and the listed leaf.
class TreeWatcher : public QObject
{
    Q_OBJECT

public:
    explicit TreeWatcher(QObject *parent = nullptr);

    // From now on these folders; an empty or missing one is not watched.
    void follow(const QString &root, const QString &tpSizeDir, const QString &leafDir);

signals:
    void rootChanged();
    void tpSizeChanged();
    void leafChanged();

private:
    void changed(const QString &path);

    QFileSystemWatcher watcher;
    QString rootDir;
    QString tpSizeDir;
    QString leafDir;
};
