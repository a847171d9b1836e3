#include "update/run/RunLock.h"

#include <QCryptographicHash>
#include <QFile>

#include <cstddef>
#include <cstring>
#include <utility>

#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// An open-file-description lock: it belongs to the supervisor's open file,
// not to a process id, so nothing the supervisor does with other files can
// drop it, and it goes with the last descriptor of that open file. Beside
// it, a token no one can remove or replace: an abstract socket's name, held
// as the lock is. A lock file removed or replaced during a run frees the
// file's lock for anyone, never the token.
struct RunLock::Handle
{
    int fd = -1;
    int token = -1;
    ~Handle()
    {
        for (const int open : {fd, token})
            if (open >= 0)
                ::close(open);
    }
};

namespace {

// Never follows a link nor waits on a FIFO. Opened for writing, the file is
// made where there is none, and only there: in sticky /run/lock another
// user's file is opened as it is, since an O_CREAT open of it is refused
// there (protected_regular). On failure says why, naming the place.
int openLockFile(int access, QString *problem)
{
    const QByteArray path = QFile::encodeName(RunLock::path());
    const int flags = access | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(path.constData(), flags);
    if (fd < 0 && errno == ENOENT && access == O_RDWR) {
        fd = ::open(path.constData(), flags | O_CREAT | O_EXCL, 0666);
        // Whatever this creator's umask: every user's supervisor must open it.
        if (fd >= 0)
            ::fchmod(fd, 0666);
        else if (errno == EEXIST)
            fd = ::open(path.constData(), flags);
    }
    struct stat status
    {
    };
    if (fd >= 0 && ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode))
        return fd;
    const int why = errno;
    *problem = RunLock::path() + QStringLiteral(": ")
        + (fd >= 0            ? QStringLiteral("not a regular file")
               : why == ELOOP ? QStringLiteral("a symbolic link")
                              : qt_error_string(why));
    if (fd >= 0)
        ::close(fd);
    return -1;
}

// The file the descriptor locks is the one at the lock's place: not one
// removed or replaced since it was opened.
bool isAtPath(int fd)
{
    struct stat opened
    {
    };
    struct stat there
    {
    };
    return ::fstat(fd, &opened) == 0 && ::lstat(QFile::encodeName(RunLock::path()).constData(), &there) == 0
        && opened.st_dev == there.st_dev && opened.st_ino == there.st_ino;
}

// The token's name, one for each lock place.
sockaddr_un tokenAddress(socklen_t *length)
{
    const QByteArray name = "tpfw-run-"
        + QCryptographicHash::hash(QFile::encodeName(RunLock::path()), QCryptographicHash::Sha256)
              .toHex()
              .left(32);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    // Abstract: the name starts with a NUL, and lives in no folder.
    std::memcpy(address.sun_path + 1, name.constData(), size_t(name.size()));
    *length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(name.size()));
    return address;
}

// Listened on, so that a window can ask for it without taking it. -1 with
// errno EADDRINUSE where a run holds it.
int takeToken()
{
    socklen_t length = 0;
    const sockaddr_un address = tokenAddress(&length);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr *>(&address), length) == 0
        && ::listen(fd, 0) == 0)
        return fd;
    const int why = errno;
    if (fd >= 0)
        ::close(fd);
    errno = why;
    return -1;
}

// Anything but a refusal (its backlog full, a failure) counts as held: the
// machine is free only where that is proven.
bool tokenHeld()
{
    socklen_t length = 0;
    const sockaddr_un address = tokenAddress(&length);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const bool held = fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr *>(&address), length) == 0
        || errno != ECONNREFUSED;
    if (fd >= 0)
        ::close(fd);
    return held;
}

// What the lock says, in place: its file is the locked one.
bool rewrite(int fd, const QByteArray &content)
{
    return ::ftruncate(fd, 0) == 0
        && ::pwrite(fd, content.constData(), size_t(content.size()), 0) == content.size();
}

} // namespace

QString RunLock::path()
{
    const QString chosen = qEnvironmentVariable("TPFW_RUN_LOCK");
    if (!chosen.isEmpty())
        return chosen;
    // The one place for every user: a place of one's own (a per-user
    // temporary folder) would let each user's run start beside another's.
    // Where users may not make it there, the package's tmpfiles.d makes it.
    return QStringLiteral("/run/lock/tpfw-run.lock");
}

QString RunLock::prepare()
{
    QString problem;
    const int fd = openLockFile(O_RDWR, &problem);
    if (fd >= 0)
        ::close(fd);
    return problem;
}

RunLockAttempt RunLock::take()
{
    RunLockAttempt attempt;
    auto handle = std::make_unique<Handle>();
    // The file may be replaced between its opening and its locking: the
    // lock counts only on the file at the lock's place.
    for (int tries = 0; tries < 3 && handle->fd < 0; ++tries) {
        handle->fd = openLockFile(O_RDWR, &attempt.error);
        if (handle->fd < 0)
            return attempt;
        struct flock whole
        {
        };
        whole.l_type = F_WRLCK;
        whole.l_whence = SEEK_SET;
        if (::fcntl(handle->fd, F_OFD_SETLK, &whole) != 0) {
            if (errno == EAGAIN || errno == EACCES)
                attempt.result = RunLockAttempt::Result::Held;
            else
                attempt.error = qt_error_string(errno);
            return attempt;
        }
        if (!isAtPath(handle->fd))
            ::close(std::exchange(handle->fd, -1));
    }
    if (handle->fd < 0) {
        attempt.error = path() + QStringLiteral(": replaced again and again while it was taken");
        return attempt;
    }
    handle->token = takeToken();
    if (handle->token < 0) {
        if (errno == EADDRINUSE)
            attempt.result = RunLockAttempt::Result::Held;
        else
            attempt.error = qt_error_string(errno);
        return attempt;
    }
    attempt.result = RunLockAttempt::Result::Taken;
    attempt.lock.reset(new RunLock);
    attempt.lock->handle = std::move(handle);
    return attempt;
}

RunLock::~RunLock() = default;

void RunLock::setInfo(const RunInfo &info)
{
    rewrite(handle->fd, encode(info));
}

QVector<int> RunLock::descriptors() const
{
    return {handle->fd, handle->token};
}

std::optional<RunInfo> RunLock::current()
{
    QString problem;
    const int fd = openLockFile(O_RDONLY, &problem);
    struct flock whole
    {
    };
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    // The file's lock free, or no file: free only where the token is too,
    // and the file looked at is the one at the lock's place.
    const bool fileLocked
        = fd >= 0 && (::fcntl(fd, F_OFD_GETLK, &whole) != 0 || whole.l_type != F_UNLCK || !isAtPath(fd));
    if (fd >= 0)
        ::close(fd);
    if (fileLocked || tokenHeld())
        return lastInfo();
    return std::nullopt;
}

RunInfo RunLock::lastInfo()
{
    QString problem;
    const int fd = openLockFile(O_RDONLY, &problem);
    if (fd < 0)
        return {};
    QByteArray info(4096, Qt::Uninitialized);
    const ssize_t size = ::pread(fd, info.data(), size_t(info.size()), 0);
    ::close(fd);
    return decode(info.left(int(qMax<ssize_t>(size, 0))));
}
