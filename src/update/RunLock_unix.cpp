#include "update/RunLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

int openLockFile()
{
    const QByteArray path = QFile::encodeName(RunLock::path());
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    // Whatever the creator's umask: every user's supervisor must open it.
    if (fd >= 0)
        ::fchmod(fd, 0666);
    return fd;
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
    const QFileInfo runLock(QStringLiteral("/run/lock"));
    return (runLock.isDir() && runLock.isWritable() ? runLock.filePath() : QDir::tempPath())
        + QStringLiteral("/tpfw-run.lock");
}

void RunLock::prepare()
{
    const int fd = openLockFile();
    if (fd >= 0)
        ::close(fd);
}

std::unique_ptr<RunLock> RunLock::take(QString *error)
{
    auto handle = std::make_unique<Handle>();
    handle->fd = openLockFile();
    if (handle->fd < 0) {
        *error = path() + QStringLiteral(": ") + qt_error_string(errno);
        return nullptr;
    }
    struct flock whole
    {
    };
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    if (::fcntl(handle->fd, F_OFD_SETLK, &whole) != 0) {
        *error = errno == EAGAIN || errno == EACCES ? QString() : qt_error_string(errno);
        return nullptr;
    }
    std::unique_ptr<RunLock> lock(new RunLock);
    lock->handle = std::move(handle);
    return lock;
}

RunLock::~RunLock() = default;

void RunLock::publish(const RunInfo &info)
{
    rewrite(handle->fd, encode(info));
}

std::optional<RunInfo> RunLock::current()
{
    const int fd = ::open(QFile::encodeName(path()).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct flock whole
    {
    };
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    std::optional<RunInfo> info;
    if (::fcntl(fd, F_OFD_GETLK, &whole) == 0 && whole.l_type != F_UNLCK)
        info = lastWord();
    ::close(fd);
    return info;
}
