#include "update/run/RunKeeper.h"

#include "update/run/LogLimit.h"
#include "update/run/SpawnSetup.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <utility>
#include <vector>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        data += written;
        size -= size_t(written);
    }
}

pid_t spawn(const SupervisedRun &run, int output, int *error)
{
    // In the keeper's own session: a stop asks the keeper's group, and the
    // keeper, which ignores it, stays to see the end.
    const SpawnSetup setup(output, output, QFile::encodeName(run.workingDir), {}, false);
    pid_t spawned = 0;
    *error = setup.spawn(run.program, run.arguments, &spawned);
    return *error ? 0 : spawned;
}

} // namespace

QStringList RunKeeper::command(const SupervisedRun &run)
{
    return QStringList {QCoreApplication::applicationFilePath(), QString::fromLatin1("--keep")}
    + supervisorArguments(run);
}

int RunKeeper::exec()
{
    // Whatever the updater starts comes back to the keeper when its parent
    // ends, however far it moved away (setsid, a double fork).
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    for (int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE})
        std::signal(signal, SIG_IGN);
    const pid_t supervisor = ::getppid();
    int output[2];
    if (::pipe2(output, O_CLOEXEC) != 0) {
        tell(failedLine(errno));
        return 1;
    }
    int error = 0;
    updaterPid = spawn(run, output[1], &error);
    ::close(output[1]);
    if (!updaterPid) {
        tell(failedLine(error));
        return 1;
    }
    QElapsedTimer running;
    running.start();
    updaterPidfd = int(syscall(SYS_pidfd_open, pid_t(updaterPid), 0));
    tell(startedLine(updaterPid));
    const int log = run.record.log.isEmpty()
        ? ::open("/dev/null", O_WRONLY | O_CLOEXEC)
        : ::open(QFile::encodeName(run.record.log).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    LogLimit limit(run.record.log, LogLimit::size());
    drain(output[0], log, limit);
    ::close(output[0]);
    if (log >= 0)
        ::close(log);
    reapAll();
    limit.check();
    updaterEnd.droppedOutput = limit.dropped();
    if (::getppid() == supervisor)
        tell(overLine(updaterEnd.droppedOutput));
    else
        RunSupervisor::fileForGoneSupervisor(run, updaterEnd, running);
    return 0;
}

void RunKeeper::tell(const QByteArray &line)
{
    writeAll(STDOUT_FILENO, line.constData(), size_t(line.size()));
}

// Until the last process holding the output's pipe has closed it, telling
// the updater's end as soon as it comes. What the log cannot take (a full
// disk) is read all the same: an updater is never held up by its output.
void RunKeeper::drain(int output, int log, LogLimit &limit)
{
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        pollfd watched[] = {{output, POLLIN, 0}, {updaterPidfd, POLLIN, 0}};
        if (::poll(watched, updaterPidfd >= 0 ? 2 : 1, -1) < 0)
            continue;
        if (updaterPidfd >= 0 && watched[1].revents) {
            siginfo_t info {};
            if (waitid(P_PIDFD, id_t(updaterPidfd), &info, WEXITED) == 0)
                noteEnd(info.si_code == CLD_EXITED, info.si_status);
            ::close(std::exchange(updaterPidfd, -1));
        }
        if (!watched[0].revents)
            continue;
        const ssize_t got = ::read(output, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return;
        if (log >= 0)
            writeAll(log, buffer.data(), size_t(got));
        limit.check();
    }
}

// Until nothing of the run is left.
void RunKeeper::reapAll()
{
    for (;;) {
        siginfo_t info {};
        if (waitid(P_ALL, 0, &info, WEXITED) != 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (info.si_pid == updaterPid)
            noteEnd(info.si_code == CLD_EXITED, info.si_status);
    }
}

void RunKeeper::noteEnd(bool exited, int status)
{
    updaterEnd = {exited ? RunEnd::Exited : RunEnd::Crashed, status, {}, false, 0};
    tell(exitedLine(updaterEnd));
}
