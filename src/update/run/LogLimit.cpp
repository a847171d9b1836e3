#include "update/run/LogLimit.h"

#include <QFileInfo>

#include <utility>

namespace {
// Holes start and end on whole blocks of the disk.
constexpr qint64 block = 64 * 1024;
} // namespace

qint64 LogLimit::size()
{
    const qint64 chosen = qEnvironmentVariable("TPFW_RUN_LOG_LIMIT").toLongLong();
    return chosen > 0 ? chosen : qint64(256) << 20;
}

LogLimit::LogLimit(QString logPath, qint64 bytes, QObject *parent)
    : QObject(parent)
    , path(std::move(logPath))
    , limit(bytes)
    , holeEnd(bytes / 4)
{
    connect(&timer, &QTimer::timeout, this, &LogLimit::check);
    timer.start(200);
}

// Past the limit, the middle goes, down to half of it: the head as it was
// first written, and the latest quarter.
void LogLimit::check()
{
    if (diskUse(path) <= limit)
        return;
    const qint64 from = (holeEnd + block - 1) / block * block;
    const qint64 to = (QFileInfo(path).size() - limit / 4) / block * block;
    if (to > from && dropFileRange(path, from, to - from)) {
        droppedBytes += to - from;
        holeEnd = to;
    }
}
