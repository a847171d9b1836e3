#include "update/OutputTail.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <utility>

namespace {
// What is read of a log that was long already when following began: enough
// for the last screenfuls, never the whole of a runaway log.
constexpr qint64 backlog = 256 * 1024;
} // namespace

int percentIn(const QStringList &lines)
{
    static const QRegularExpression percent(QStringLiteral("(\\d{1,3}(?:\\.\\d+)?) ?%"));
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        int found = -1;
        for (auto match = percent.globalMatch(*line); match.hasNext();) {
            const double value = match.next().captured(1).toDouble();
            if (value <= 100)
                found = int(value);
        }
        if (found >= 0)
            return found;
    }
    return -1;
}

OutputTail::OutputTail(QObject *parent)
    : QObject(parent)
{
    connect(&watch, &QFileSystemWatcher::fileChanged, this, &OutputTail::read);
    poll.setInterval(1000);
    connect(&poll, &QTimer::timeout, this, &OutputTail::read);
}

void OutputTail::follow(const QString &logPath)
{
    stop();
    path = logPath;
    partial.clear();
    afterReturn = false;
    const qint64 size = QFileInfo(path).size();
    offset = size > backlog ? size - backlog : 0;
    skipFirstLine = offset > 0;
    if (!path.isEmpty())
        watch.addPath(path);
    poll.start();
    read();
}

void OutputTail::stop()
{
    if (path.isEmpty())
        return;
    read();
    if (!partial.isEmpty())
        emit lines({QString::fromLocal8Bit(std::exchange(partial, {}))});
    if (!watch.files().isEmpty())
        watch.removePaths(watch.files());
    poll.stop();
    path.clear();
}

void OutputTail::read()
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= offset)
        return;
    file.seek(offset);
    const QByteArray bytes = file.read(file.size() - offset);
    offset += bytes.size();
    QStringList found;
    for (const char c : bytes) {
        // "\r\n" ends one line, not two.
        if (c == '\n' && std::exchange(afterReturn, false))
            continue;
        afterReturn = c == '\r';
        if (c != '\n' && c != '\r') {
            partial += c;
            continue;
        }
        // A line cut where the backlog starts is no line of the output.
        if (!std::exchange(skipFirstLine, false))
            found.append(QString::fromLocal8Bit(partial));
        partial.clear();
    }
    if (!found.isEmpty())
        emit lines(found);
}
