#include "update/run/RunLock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// An open-file-description lock: it belongs to the supervisor's open file,
// not to a process id, so nothing the supervisor does with other files can
// drop it, and it goes with the last descriptor of that open file.
struct RunLock::Handle
{
    int fd = -1;
    ~Handle()
    {
        if (fd >= 0)
            ::close(fd);
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

int RunLock::descriptor() const
{
    return handle->fd;
}

std::optional<RunInfo> RunLock::current()
{
    QString problem;
    const int fd = openLockFile(O_RDONLY, &problem);
    if (fd < 0)
        return std::nullopt;
    struct flock whole
    {
    };
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    std::optional<RunInfo> info;
    if (::fcntl(fd, F_OFD_GETLK, &whole) == 0 && whole.l_type != F_UNLCK)
        info = lastInfo();
    ::close(fd);
    return info;
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
