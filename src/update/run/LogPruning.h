#pragma once

#include <QThread>

#include <memory>

// The run logs kept within their limits (see pruneRunLogs), once, off the
// GUI thread: a folder of a thousand logs, maybe on a slow disk. Its end
// waits for what it started, so that nothing of it outlives its owner.
class LogPruning
{
public:
    LogPruning() = default;
    LogPruning(const LogPruning &) = delete;
    LogPruning &operator=(const LogPruning &) = delete;
    ~LogPruning();

    // Prunes the logs the first time it is called; later calls do nothing.
    void start();

private:
    std::unique_ptr<QThread> thread;
};
