#pragma once

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

// What the supervisor holding the lock says of its run, for every window of
// the machine to read.
struct RunInfo
{
    qint64 supervisorPid = 0;
    // 0 until the updater has started.
    qint64 updaterPid = 0;
    // The run's pending record: whose data folder the run belongs to.
    QString pending;
    QDateTime started;
};

// One updater per machine, whoever starts it: the supervisor holds this
// lock for its whole run, and so does every process of the run, so that a
// killed supervisor never frees the machine while its updater writes. The
// operating system lets it go when the last of them ends, however it ends:
// no lock is left behind by a kill or a power cut.
class RunLock
{
public:
    // Machine-wide unless TPFW_RUN_LOCK names another place (for tests).
    static QString path();
    // Makes the lock's file, which every user may open, so that a window can
    // watch it before any run. Says why the lock's place cannot be used (a
    // link, a folder, a FIFO, no permission): anyone may put something there.
    static QString prepare();

    // Held until this is destroyed; null when another process holds it.
    static std::unique_ptr<RunLock> take(QString *error);
    ~RunLock();
    RunLock(const RunLock &) = delete;
    RunLock &operator=(const RunLock &) = delete;

    void publish(const RunInfo &info);

#ifdef Q_OS_WIN
    // The job every process of a run is put into: while one of them lives the
    // machine is held, mutex or not.
    static std::wstring jobName();
    static bool jobLives();
#else
    // The locked descriptor, which the updater inherits: the lock is held
    // while any process of the run keeps it open.
    int descriptor() const;
#endif

    // The run on now, if any: held, with what its supervisor said so far
    // (empty if it has not said anything yet, or the run is another user's
    // that cannot be read).
    static std::optional<RunInfo> current();
    // What the last supervisor said, held or not: a run that ended before a
    // window read its word.
    static RunInfo lastWord();

private:
    RunLock() = default;
    static QByteArray encode(const RunInfo &info);
    static RunInfo decode(const QByteArray &json);

    struct Handle;
    std::unique_ptr<Handle> handle;
};
