#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

// Its Unix source is Linux's: it uses fallocate(2) with FALLOC_FL_PUNCH_HOLE,
// to give back a log's middle in place.

// Keeps a run's log within a size on the disk, whatever the updater prints:
// past it, the first and the last parts stay and the middle is given back (a
// hole punched in the file), while the updater's own descriptor writes on at
// the end, unaware. Those who read a log read its end, never the hole.
class LogLimit : public QObject
{
    Q_OBJECT

public:
    // 256 MiB unless TPFW_RUN_LOG_LIMIT says another size (for tests).
    static qint64 size();

    LogLimit(QString path, qint64 limit, QObject *parent = nullptr);
    // Bytes given back so far, from the middle.
    qint64 dropped() const { return droppedBytes; }
    // One look at the log, as is done a few times a second.
    void check();

private:
    QString path;
    qint64 limit;
    // Where the bytes given back end: the head kept is before them.
    qint64 holeEnd;
    qint64 droppedBytes = 0;
    QTimer timer;
};

// What each platform does to give a part of a file back to the disk, keeping
// its size (the part reads as zeros), and to tell what it takes on the disk.
bool dropFileRange(const QString &path, qint64 from, qint64 length);
qint64 diskUse(const QString &path);
