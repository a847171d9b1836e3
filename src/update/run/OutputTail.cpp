#include "update/run/OutputTail.h"

#include "update/record/Background.h"

#include <QFile>
#include <QRegularExpression>

#include <utility>

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

QString displayLine(const QByteArray &bytes, bool cut)
{
    // With its size: a NUL byte ends no line.
    QString shown = QString::fromLocal8Bit(bytes.constData(), qMin(bytes.size(), displayedLineBytes));
    for (QChar &c : shown)
        if ((c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.unicode() == 0x7f)
            c = QChar::ReplacementCharacter;
    if (cut || bytes.size() > displayedLineBytes)
        shown += QChar(0x2026);
    return shown;
}

QStringList readAppended(const QString &path, TailState &state, qint64 budget, int keep)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= state.offset)
        return {};
    // Only the end of what came matters to whoever shows it.
    if (file.size() - state.offset > budget) {
        state = {file.size() - budget, {}, false, false, true};
    }
    file.seek(state.offset);
    const QByteArray bytes = file.read(file.size() - state.offset);
    state.offset += bytes.size();
    QStringList found;
    for (const char c : bytes) {
        // "\r\n" ends one line, not two.
        if (c == '\n' && std::exchange(state.afterReturn, false))
            continue;
        state.afterReturn = c == '\r';
        if (c != '\n' && c != '\r') {
            if (state.partial.size() < displayedLineBytes)
                state.partial += c;
            else
                state.partialCut = true;
            continue;
        }
        if (!std::exchange(state.skipFirstLine, false))
            found.append(displayLine(state.partial, state.partialCut));
        state.partial.clear();
        state.partialCut = false;
    }
    return found.mid(qMax(0, found.size() - keep));
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
    state = {};
    if (!path.isEmpty())
        watch.addPath(path);
    poll.start();
    read();
}

void OutputTail::stop()
{
    if (path.isEmpty())
        return;
    // What a reading on its way brings is read here again, at once: the
    // end's last lines come before the end is shown.
    ++generation;
    reading = readAgain = false;
    QStringList last = readAppended(path, state, backlog, keptLines);
    if (!state.partial.isEmpty())
        last.append(displayLine(std::exchange(state.partial, {}), state.partialCut));
    if (!last.isEmpty())
        emit lines(last);
    if (!watch.files().isEmpty())
        watch.removePaths(watch.files());
    poll.stop();
    path.clear();
}

void OutputTail::read()
{
    if (path.isEmpty())
        return;
    if (reading) {
        readAgain = true;
        return;
    }
    reading = true;
    inBackground(
        this,
        [path = path, state = state]() mutable {
            QStringList found = readAppended(path, state, backlog, keptLines);
            return std::make_pair(state, found);
        },
        [this, sent = generation](std::pair<TailState, QStringList> result) {
            if (sent != generation)
                return;
            reading = false;
            state = std::move(result.first);
            if (!result.second.isEmpty())
                emit lines(result.second);
            if (std::exchange(readAgain, false))
                read();
        });
}
