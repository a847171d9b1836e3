#pragma once

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

// The progress the output last told of, as a percentage ("45%", "45 %"):
// that of the latest line that holds one, or -1 where none does.
int percentIn(const QStringList &lines);

// Follows a run log as its updater writes it: the lines it already held (the
// last ones only, however long it is), then each line once it is written out.
// A file watch tells of most writes at once; a read once a second catches
// what a watch misses (network folders, some platforms). A carriage return
// ends a line too, as console progress bars rewrite theirs with it.
class OutputTail : public QObject
{
    Q_OBJECT

public:
    explicit OutputTail(QObject *parent = nullptr);

    void follow(const QString &path);
    // Reads what came since, then stops following.
    void stop();

signals:
    void lines(QStringList lines);

private:
    void read();

    QString path;
    qint64 offset = 0;
    QByteArray partial;
    bool afterReturn = false;
    bool skipFirstLine = false;
    QFileSystemWatcher watch;
    QTimer poll;
};
