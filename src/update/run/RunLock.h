#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>

#include <memory>
#include <optional>

// Its Unix source is Linux's: it uses open file description locks
// (F_OFD_SETLK) and a socket in the abstract namespace.

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

class RunLock;

// What an attempt to take the machine's run lock came to.
struct RunLockAttempt
{
    enum class Result { Taken, Held, Failed };
    Result result = Result::Failed;
    // Set where taken.
    std::unique_ptr<RunLock> lock;
    // The system's words where it failed.
    QString error;
};

// One updater per machine, whoever starts it: the supervisor holds this
// lock for its whole run, and so does every process of the run, so that a
// killed supervisor never frees the machine while its updater writes. The
// operating system lets it go when the last of them ends, however it ends:
// no lock is left behind by a kill or a power cut.
class RunLock
{
public:
    // Machine-wide, one for every user, unless TPFW_RUN_LOCK names another
    // place (for tests).
    static QString path();
    // Makes the lock's file, which every user may open, so that a window can
    // watch it before any run. Says why the lock's place cannot be used (a
    // link, a folder, a FIFO, no permission): anyone may put something there.
    static QString prepare();

    // Held until the attempt's lock is destroyed.
    static RunLockAttempt take();
    ~RunLock();
    RunLock(const RunLock &) = delete;
    RunLock &operator=(const RunLock &) = delete;

    void setInfo(const RunInfo &info);

    // What the run's processes inherit: the lock is held while any of them
    // keeps one open. None where the platform holds the machine another way
    // (Windows: a job, see RunJob.h).
    QVector<int> descriptors() const;

    // The run on now, if any: held, with what its supervisor said so far
    // (empty if it has not said anything yet, or the run is another user's
    // that cannot be read).
    static std::optional<RunInfo> current();
    // What the last supervisor said, held or not: a run that ended before a
    // window read its info.
    static RunInfo lastInfo();

private:
    RunLock() = default;
    static QByteArray encode(const RunInfo &info);
    static RunInfo decode(const QByteArray &json);

    struct Handle;
    std::unique_ptr<Handle> handle;
};
