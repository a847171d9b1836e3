#include "update/run/SupervisorProtocol.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/signalfd.h>
#include <sys/syscall.h>
#include <unistd.h>

// A signalfd: the request arrives as a readable descriptor in the event
// loop, never as a handler interrupting the supervisor.
struct StopListener::Channel
{
    int fd = -1;
    ~Channel()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

namespace {

sigset_t requestSignal()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGUSR1);
    return set;
}

} // namespace

void requestStop(qint64 supervisor)
{
    // Through syscall: the C library's wrapper is newer than Debian 12's.
    syscall(SYS_pidfd_send_signal, int(supervisor), SIGUSR1, nullptr, 0);
}

void StopListener::blockRequests()
{
    const sigset_t set = requestSignal();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

StopListener::StopListener(QObject *parent)
    : QObject(parent)
    , channel(std::make_unique<Channel>())
{
    const sigset_t set = requestSignal();
    channel->fd = ::signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
    if (channel->fd < 0)
        return;
    auto *notifier = new QSocketNotifier(channel->fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        signalfd_siginfo info {};
        while (::read(channel->fd, &info, sizeof(info)) == sizeof(info))
            emit requested();
    });
}

StopListener::~StopListener() = default;
