#pragma once

#include <QByteArray>
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

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};
