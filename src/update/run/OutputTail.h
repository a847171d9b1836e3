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

// How a line of an updater's output is shown: at most a few thousand
// characters of it (a longer one ends in "…"), with whatever is not text
// (control bytes, bytes that are no character) as replacement characters.
// The log keeps every line whole.
QString displayLine(const QByteArray &bytes, bool cut = false);
constexpr int displayedLineBytes = 4000;

// Where the reading of a log stands: how far it got, and what of a line not
// yet ended has come so far (never more than is shown of a line).
struct TailState
{
    qint64 offset = 0;
    QByteArray partial;
    bool partialCut = false;
    bool afterReturn = false;
    // The reading starts in the middle of a line: that one is no line.
    bool skipFirstLine = false;
};

// The lines appended to the log at path since state, as they are shown, of
// no more than its last `budget` bytes (what comes before is passed over)
// and at most the last `keep` lines: what a window shows of a runaway log.
QStringList readAppended(const QString &path, TailState &state, qint64 budget, int keep);

// Follows a run log as its updater writes it: the lines it already held (the
// last ones only, however long it is), then each line once it is written out.
// A file watch tells of most writes at once; a read once a second catches
// what a watch misses (network folders, some platforms). A carriage return
// ends a line too, as console progress bars rewrite theirs with it. Read off
// the GUI thread, and only the end of what came at once: whatever an updater
// prints, the window never waits on it.
class OutputTail : public QObject
{
    Q_OBJECT

public:
    explicit OutputTail(QObject *parent = nullptr);

    void follow(const QString &path);
    // Reads what came since (its end only), then stops following.
    void stop();

    // What is read of a log at a time, and the most lines told at once.
    static constexpr qint64 backlog = 256 * 1024;
    static constexpr int keptLines = 2000;

signals:
    void lines(QStringList lines);

private:
    void read();

    QString path;
    TailState state;
    // A reading on a worker, and whether another is due when it is done.
    bool reading = false;
    bool readAgain = false;
    // Tells a reading that comes back after a stop or a new log to go.
    int generation = 0;
    QFileSystemWatcher watch;
    QTimer poll;
};
