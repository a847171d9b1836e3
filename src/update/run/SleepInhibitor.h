#pragma once

#include <QString>

#include <memory>

// Its Unix source is Linux's: it uses logind's Inhibit call on the system bus
// (systemd).

// Keeps the machine from sleeping or shutting down while the updater writes
// the panel, for as long as this lives.
class SleepInhibitor
{
public:
    SleepInhibitor();
    ~SleepInhibitor();
    SleepInhibitor(const SleepInhibitor &) = delete;
    SleepInhibitor &operator=(const SleepInhibitor &) = delete;

    // Why sleep and shutdown are not held off; empty when they are.
    QString problem() const { return why; }
    // What holds them off for as long as any process keeps it open; -1
    // where nothing (Windows: this thread's state).
    int descriptor() const;

private:
    struct Hold;
    std::unique_ptr<Hold> hold;
    QString why;
};

// Why the run is held off sleep and shutdown, in the system's dialogs.
inline const char *inhibitReason()
{
    return "Updating touch panel firmware";
}
