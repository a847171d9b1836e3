#include "update/run/SpawnSetup.h"

#include <QFile>

#include <vector>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

extern char **environ;

SpawnSetup::SpawnSetup(int output, int errors, const QByteArray &workingDir, const QVector<int> &keptOpen,
                       bool ownSession)
{
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errors, STDERR_FILENO);
    // Onto itself: kept open across exec, and so inherited by all the
    // process starts.
    for (const int fd : keptOpen)
        if (fd >= 0)
            posix_spawn_file_actions_adddup2(&actions, fd, fd);
    posix_spawn_file_actions_addchdir_np(&actions, workingDir.constData());

    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGHUP, SIGINT, SIGQUIT, SIGPIPE, SIGTERM, SIGCHLD})
        sigaddset(&defaults, signal);
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(
        &attributes,
        short(POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | (ownSession ? POSIX_SPAWN_SETSID : 0)));
}

SpawnSetup::~SpawnSetup()
{
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
}

int SpawnSetup::spawn(const QString &program, const QStringList &arguments, pid_t *pid) const
{
    std::vector<QByteArray> bytes {QFile::encodeName(program)};
    for (const QString &argument : arguments)
        bytes.push_back(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    return posix_spawn(pid, argv.front(), &actions, &attributes, argv.data(), environ);
}
