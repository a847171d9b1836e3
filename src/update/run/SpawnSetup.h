#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <spawn.h>

// How a process of a run is set up between fork and exec: the null device
// for input, its output and errors where given, the descriptors to keep open
// in it (inherited by all it starts), a working folder, and the signals at
// their defaults whatever the starter blocks or ignores.
class SpawnSetup
{
public:
    SpawnSetup(int output, int errors, const QByteArray &workingDir, const QVector<int> &keptOpen,
               bool ownSession);
    ~SpawnSetup();
    SpawnSetup(const SpawnSetup &) = delete;
    SpawnSetup &operator=(const SpawnSetup &) = delete;

    // Starts program so set up, each argument passed on byte for byte: 0,
    // its pid in *pid, or the system's error number (a failed exec too).
    int spawn(const QString &program, const QStringList &arguments, pid_t *pid) const;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};
