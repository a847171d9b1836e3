#include "update/run/ProcessFacts.h"

#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace {

// When the system started, as /proc/stat tells it ("btime <seconds>").
qint64 bootSeconds()
{
    QFile stat(QStringLiteral("/proc/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line; !(line = stat.readLine()).isEmpty();)
        if (line.startsWith("btime "))
            return line.mid(6).trimmed().toLongLong();
    return -1;
}

// When the process started; invalid where it cannot be told. Never later
// than it did: both parts are rounded down.
QDateTime startOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    const qint64 boot = bootSeconds();
    if (boot < 0 || !stat.open(QIODevice::ReadOnly))
        return {};
    // After "pid (name) ", where the name may hold anything: the start is
    // the 22nd field, the 20th after the name.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 20)
        return {};
    const qint64 ticks = fields.at(19).toLongLong();
    return QDateTime::fromMSecsSinceEpoch(boot * 1000 + ticks * 1000 / ::sysconf(_SC_CLK_TCK));
}

} // namespace

bool isProcessOf(qint64 pid, const QString &program, const QDateTime &latest)
{
    if (pid <= 0)
        return false;
    const QString runs = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
    const QDateTime started = startOf(pid);
    return !runs.isEmpty() && runs == QFileInfo(program).canonicalFilePath() && started.isValid()
        && started <= latest;
}
