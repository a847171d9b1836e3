#include "update/run/RunProcess.h"

#include "update/run/RunKeeper.h"
#include "update/run/SpawnSetup.h"
#include "update/run/SupervisorProtocol.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSocketNotifier>
#include <QTimer>
#include <QVector>

#include <utility>
#include <vector>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

// The updater is spawned as tpfw's own child, so that its exit status can be
// learnt at all, but in a session of its own, so that neither a closing
// terminal nor tpfw's end reaches it. A pidfd tells when it has ended without
// any polling or SIGCHLD handler, and leaves QProcess's children alone.
struct RunProcess::Watch
{
    int pidfd = -1;
    QSocketNotifier *notifier = nullptr;
    // The keeper's report, where the process is a run's keeper, and what
    // it told so far.
    int report = -1;
    QByteArray told;

    ~Watch()
    {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
        for (const int fd : {pidfd, report})
            if (fd >= 0)
                ::close(fd);
    }
};

namespace {

class Fd
{
public:
    explicit Fd(int opened)
        : fd(opened)
    { }
    ~Fd() { close(); }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    void close()
    {
        if (fd >= 0)
            ::close(std::exchange(fd, -1));
    }
    int take() { return std::exchange(fd, -1); }
    int fd;
};

int openLog(const QString &logPath)
{
    if (logPath.isEmpty())
        return ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    return ::open(QFile::encodeName(logPath).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
}

// The processes below root, by their parents as /proc tells them.
QVector<pid_t> descendantsOf(pid_t root)
{
    QHash<pid_t, QVector<pid_t>> children;
    for (const QString &name : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const pid_t pid = pid_t(name.toInt(&number));
        QFile stat(QStringLiteral("/proc/%1/stat").arg(name));
        if (!number || !stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...", where the name may hold anything.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            children[pid_t(fields.at(1).toInt())].append(pid);
    }
    QVector<pid_t> found = children.value(root);
    for (int i = 0; i < found.size(); ++i)
        found += children.value(found.at(i));
    return found;
}

// Signals every process below this one, wherever it went. Each is signalled
// through a pidfd opened while it was still known to be below, never by a
// number that may have been given anew.
void signalDescendants(int signal, pid_t spared)
{
    std::vector<std::pair<pid_t, int>> pidfds;
    for (const pid_t pid : descendantsOf(::getpid()))
        if (const int pidfd = int(syscall(SYS_pidfd_open, pid, 0)); pidfd >= 0)
            pidfds.emplace_back(pid, pidfd);
    const QVector<pid_t> below = descendantsOf(::getpid());
    for (const auto &[pid, pidfd] : pidfds) {
        if (pid != spared && below.contains(pid))
            syscall(SYS_pidfd_send_signal, pidfd, signal, nullptr, 0);
        ::close(pidfd);
    }
}

// The process started here and its group; under the guard, the whole tree
// but the keeper, which stays to see the end and tell it.
void signalRun(qint64 pid, bool wholeTree, int signal)
{
    if (pid <= 0)
        return;
    if (wholeTree)
        signalDescendants(signal, pid_t(pid));
    else
        ::kill(-pid_t(pid), signal);
}

// What there is to read now, to the pipe's end at most.
void readAvailable(int fd, QByteArray *into)
{
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return;
        into->append(buffer, int(got));
    }
}

// The keeper's first line, told at once: whether the updater started.
QByteArray readLine(int fd)
{
    QByteArray line;
    char c = 0;
    for (;;) {
        const ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return line;
        line.append(c);
        if (c == '\n')
            return line;
    }
}

} // namespace

void RunProcess::WatchDeleter::operator()(Watch *watch) const
{
    delete watch;
}

bool RunProcess::start(const QString &program, const QStringList &arguments, const QString &workingDir,
                       const QString &logPath, const RunGuard *guard, QString *error)
{
    // Whatever the keeper leaves when it is killed comes back to this
    // process: the run is over only when none of it is left.
    guarded = guard && ::prctl(PR_SET_CHILD_SUBREAPER, 1) == 0;
    const Fd log(openLog(logPath));
    int report[2] = {-1, -1};
    if (log.fd < 0 || (guarded && ::pipe2(report, O_CLOEXEC) != 0)) {
        *error = qt_error_string(errno);
        return false;
    }
    Fd reportRead(report[0]);
    Fd reportWrite(report[1]);
    const SpawnSetup setup(guarded ? reportWrite.fd : log.fd, log.fd, QFile::encodeName(workingDir),
                           guarded ? guard->descriptors : QVector<int>(), true);
    pid_t spawned = 0;
    if (const int failed = setup.spawn(program, arguments, &spawned)) {
        *error = failed == E2BIG ? tooManyImages() : qt_error_string(failed);
        return false;
    }
    watch.reset(new Watch);
    pid = spawned;
    if (!guarded) {
        follow(spawned, spawned);
        return true;
    }
    reportWrite.close();
    const KeeperReport told = RunKeeper::read(readLine(reportRead.fd));
    if (told.updaterPid <= 0) {
        waitpid(spawned, nullptr, 0);
        watch.reset();
        *error = told.startError == E2BIG ? tooManyImages()
            : told.startError             ? qt_error_string(told.startError)
                              : QStringLiteral("the run's keeper ended before the updater started");
        return false;
    }
    watch->report = reportRead.take();
    ::fcntl(watch->report, F_SETFL, O_NONBLOCK);
    follow(spawned, told.updaterPid);
    return true;
}

bool RunProcess::attach(qint64 other)
{
    watch.reset(new Watch);
    pid = 0;
    if (!watchProcess(other)) {
        watch.reset();
        return false;
    }
    return true;
}

void RunProcess::follow(qint64 launched, qint64 told)
{
    emit started(told);
    if (!watchProcess(launched)) {
        const QString why = QStringLiteral("cannot follow the updater: ") + qt_error_string(errno);
        QTimer::singleShot(0, this, [this, why] { end({RunEnd::Unknown, 0, why}); });
    }
}

// A pidfd tells of the end of any process, tpfw's child or not; only a child
// can be asked how it ended, and is reaped by asking.
bool RunProcess::watchProcess(qint64 watched)
{
    // Through syscall: the C library's wrapper is newer than Debian 12's.
    watch->pidfd = int(syscall(SYS_pidfd_open, pid_t(watched), 0));
    if (watch->pidfd < 0)
        return false;
    watch->notifier = new QSocketNotifier(watch->pidfd, QSocketNotifier::Read, this);
    connect(watch->notifier, &QSocketNotifier::activated, this, [this] {
        siginfo_t info {};
        int result;
        do
            result = waitid(P_PIDFD, id_t(watch->pidfd), &info, WEXITED);
        while (result != 0 && errno == EINTR);
        if (watch->report >= 0) {
            readAvailable(watch->report, &watch->told);
            end(RunKeeper::read(watch->told).runEnd());
        } else if (result != 0)
            end({RunEnd::Unknown, 0, errno == ECHILD ? QString() : qt_error_string(errno)});
        else if (info.si_code == CLD_EXITED)
            end({RunEnd::Exited, info.si_status, {}});
        else
            end({RunEnd::Crashed, info.si_status, {}});
    });
    return true;
}

bool RunProcess::hasEnded() const
{
    if (!watch)
        return heldEnd.has_value();
    if (watch->report >= 0) {
        readAvailable(watch->report, &watch->told);
        return RunKeeper::read(watch->told).updaterEnd.has_value();
    }
    siginfo_t info {};
    return waitid(P_PIDFD, id_t(watch->pidfd), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0;
}

void RunProcess::askToStop()
{
    if (watch)
        requestStop(watch->pidfd);
}

// The process started here leads a session, and so a process group, of its
// own: whatever it started goes with it.
void RunProcess::askToEnd()
{
    signalRun(pid, guarded, SIGTERM);
}

// Under the run lock every child of this process is of the run; elsewhere
// what is left of the process started here is its group.
bool RunProcess::anythingLeft()
{
    if (pid <= 0)
        return false;
    if (!guarded)
        return ::kill(-pid_t(pid), 0) == 0;
    for (;;) {
        siginfo_t info {};
        if (waitid(P_ALL, 0, &info, WEXITED | WNOHANG) != 0)
            return errno != ECHILD;
        if (info.si_pid == 0)
            return true;
    }
}

void RunProcess::forceStop()
{
    signalRun(pid, guarded, SIGKILL);
}
