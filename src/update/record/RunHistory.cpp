#include "update/record/RunHistory.h"

#include "update/record/HistoryChain.h"
#include "update/record/LineReader.h"
#include "update/record/OsSupport.h"
#include "update/record/PendingRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <cerrno>
#include <utility>

namespace {

bool lockHistory(const QString &path, QLockFile &lock, QString *error)
{
    QDir().mkpath(QFileInfo(path).path());
    if (lock.tryLock(10000))
        return true;
    *error = lock.error() == QLockFile::LockFailedError ? QStringLiteral("another tpfw holds its lock")
                                                        : QStringLiteral("cannot lock ") + path + ".lock";
    return false;
}

// Appends under a lock already held.
bool appendLine(const QString &path, const RunRecord &record, QString *error)
{
    if (!regularOrAbsent(path)) {
        *error = path + QStringLiteral(": not a regular file");
        return false;
    }
    QFile file(path);
    // Unbuffered: a failing write says why at once, in the system's words.
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    const qint64 size = file.size();
    const HistoryChain::Link link = HistoryChain::lastLink(file);
    RunRecord chained = record;
    chained.seq = link.seq + 1;
    chained.prev = link.hash;
    QByteArray line = toJsonLine(chained) + '\n';
    char last = '\n';
    if (size > 0 && file.seek(size - 1))
        file.getChar(&last);
    if (last != '\n')
        line.prepend('\n');
    // One write of the whole line; what a failed one left is taken back.
    errno = 0;
    if (file.write(line) != line.size() || !syncToDisk(file)) {
        *error = path + QStringLiteral(": ") + (errno ? qt_error_string(errno) : file.errorString());
        file.resize(size);
        return false;
    }
    return true;
}

} // namespace

bool appendToHistory(const QString &path, const RunRecord &record, QString *error)
{
    QLockFile lock(path + ".lock");
    return lockHistory(path, lock, error) && appendLine(path, record, error);
}

Filing fileRecord(const QString &path, const RunRecord &record, const QString &pendingPath, QString *error)
{
    QLockFile lock(path + ".lock");
    if (!lockHistory(path, lock, error))
        return Filing::Failed;
    if (!QFile::exists(pendingPath))
        return Filing::FiledByAnother;
    if (!appendLine(path, record, error))
        return Filing::Failed;
    removePending(pendingPath);
    return Filing::Filed;
}
