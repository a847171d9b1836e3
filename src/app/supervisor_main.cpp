// tpfw-run: runs one update for tpfw, detached from the window that asked
// for it, and records how it ended. Started by tpfw only.

#include "update/run/RunSupervisor.h"
#include "update/run/SupervisorProtocol.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
#ifndef Q_OS_WIN
    // Its window's terminal closing, or a window gone, must not end the run.
    std::signal(SIGHUP, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
#endif
    StopListener::blockRequests();
    QCoreApplication app(argc, argv);
    const auto run = parseSupervisorArguments(QCoreApplication::arguments().mid(1));
    if (!run) {
        std::fputs("tpfw-run: started by tpfw only\n", stderr);
        return 2;
    }
    RunSupervisor supervisor(*run);
    QObject::connect(&supervisor, &RunSupervisor::done, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    int code = 0;
    return supervisor.start(&code) ? app.exec() : code;
}
