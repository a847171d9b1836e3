// tpfw-run: runs one update for tpfw, detached from the window that asked
// for it, and records how it ended. Started by tpfw only.

#include "update/run/RunKeeper.h"
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
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool keeper = RunKeeper::isCommand(arguments);
    const auto run = parseSupervisorArguments(arguments.mid(keeper ? 1 : 0));
    if (!run) {
        std::fputs("tpfw-run: started by tpfw only\n", stderr);
        return 2;
    }
#ifndef Q_OS_WIN
    if (keeper)
        return RunKeeper(*run).exec();
#endif
    RunSupervisor supervisor(*run);
    QObject::connect(&supervisor, &RunSupervisor::done, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    int code = 0;
    return supervisor.start(&code) ? app.exec() : code;
}
