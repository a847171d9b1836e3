#include "update/record/LineReader.h"

#include <QByteArrayMatcher>
#include <QFile>
#include <QFileInfo>

#include <utility>

bool regularOrAbsent(const QString &path)
{
    const QFileInfo info(path);
    return !info.exists() || info.isFile();
}

qint64 forEachLine(const QString &path, qint64 from, qint64 to,
                   const std::function<bool(const QByteArray &)> &line, const std::atomic<bool> *cancel)
{
    return forEachLineAt(
        path, from, to, [&line](const QByteArray &bytes, qint64) { return line(bytes); }, cancel);
}

qint64 forEachLineAt(const QString &path, qint64 from, qint64 to,
                     const std::function<bool(const QByteArray &, qint64)> &line,
                     const std::atomic<bool> *cancel)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return from;
    // From the byte before: the line it ends, or is part of, is the one
    // before the range.
    qint64 restAt = qMax<qint64>(0, from - 1);
    qint64 next = from;
    bool skipping = from > 0;
    file.seek(restAt);
    QByteArray rest;
    for (QByteArray block; !(cancel && *cancel) && !(block = file.read(4 * 1024 * 1024)).isEmpty();) {
        rest += block;
        int begin = 0;
        for (int end; (end = rest.indexOf('\n', begin)) >= 0; begin = end + 1) {
            if (to >= 0 && restAt + begin >= to && !skipping)
                return restAt + begin;
            next = restAt + end + 1;
            const bool overlong = end - begin > maxLineBytes;
            if (!std::exchange(skipping, false) && !overlong
                && !line(QByteArray::fromRawData(rest.constData() + begin, end - begin), restAt + begin))
                return next;
        }
        rest.remove(0, begin);
        restAt += begin;
        // The rest of an overlong line is passed over as it comes.
        if (rest.size() > maxLineBytes) {
            restAt += rest.size();
            rest.clear();
            skipping = true;
        }
    }
    return next;
}

void forEachLineHolding(const QString &path, const QByteArray &needle,
                        const std::function<bool(const QByteArray &)> &line)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return;
    const QByteArrayMatcher matcher(needle);
    QByteArray rest;
    bool skipping = false;
    for (QByteArray block; !(block = file.read(4 * 1024 * 1024)).isEmpty();) {
        // The end of an overlong line is passed over as it comes.
        if (skipping) {
            const int end = block.indexOf('\n');
            if (end < 0)
                continue;
            block.remove(0, end + 1);
            skipping = false;
        }
        rest += block;
        // Whole lines only: the last one, if unended, waits for the next block.
        const int whole = rest.lastIndexOf('\n') + 1;
        for (int at = 0; (at = matcher.indexIn(rest, at)) >= 0 && at < whole;) {
            const int begin = rest.lastIndexOf('\n', at) + 1;
            const int end = rest.indexOf('\n', at);
            if (end - begin <= maxLineBytes
                && !line(QByteArray::fromRawData(rest.constData() + begin, end - begin)))
                return;
            at = end + 1;
        }
        rest.remove(0, whole);
        if (rest.size() > maxLineBytes) {
            rest.clear();
            skipping = true;
        }
    }
}

namespace {

constexpr qint64 searchBytes = 4 * 1024 * 1024;

// Where the line holding `at` begins.
qint64 lineStartBefore(QFile &file, qint64 at)
{
    for (qint64 end = at; end > 0;) {
        const qint64 begin = qMax<qint64>(0, end - 64 * 1024);
        if (!file.seek(begin))
            return 0;
        const int newline = file.read(end - begin).lastIndexOf('\n');
        if (newline >= 0)
            return begin + newline + 1;
        end = begin;
    }
    return 0;
}

} // namespace

void forEachLineHoldingBackwards(const QString &path, const QByteArray &needle,
                                 const std::function<bool(const QByteArray &)> &line)
{
    QFile file(path);
    if (!regularOrAbsent(path) || !file.open(QIODevice::ReadOnly))
        return;
    LinesByPlace lines(path);
    for (qint64 end = file.size(); end > 0;) {
        const qint64 begin = qMax<qint64>(0, end - searchBytes);
        // Into the bytes after it by the needle's length less one, so that a
        // needle across the edge is found; one that begins there was found
        // before.
        if (!file.seek(begin))
            return;
        const QByteArray block = file.read(end - begin + needle.size() - 1);
        qint64 next = begin;
        for (int found = block.lastIndexOf(needle, int(end - begin - 1)); found >= 0;
             found = found > 0 ? block.lastIndexOf(needle, found - 1) : -1) {
            const qint64 start = lineStartBefore(file, begin + found);
            QString error;
            if (const std::optional<QByteArray> whole = lines.lineAt(start, &error); whole && !line(*whole))
                return;
            // The rest of this line holds nothing more to hand over.
            next = qMin(begin, start);
            if (start <= begin)
                break;
            found = int(start - begin);
        }
        end = next;
    }
}

namespace {

constexpr qint64 blockBytes = 1024 * 1024;
// Of a block, how much lies past the line asked for.
constexpr qint64 aheadBytes = 64 * 1024;

} // namespace

LinesByPlace::LinesByPlace(const QString &path)
    : file(path)
{ }

std::optional<QByteArray> LinesByPlace::lineAt(qint64 at, QString *error)
{
    if (!file.isOpen() && !file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    if (std::optional<QByteArray> line = fromBlock(at))
        return line;
    // Mostly before the line: a history is read newest first.
    blockAt = qMax<qint64>(0, at + aheadBytes - blockBytes);
    block = file.seek(blockAt) ? file.read(blockBytes) : QByteArray();
    if (std::optional<QByteArray> line = fromBlock(at))
        return line;
    return readAlone(at);
}

std::optional<QByteArray> LinesByPlace::fromBlock(qint64 at) const
{
    const qint64 begin = at - blockAt;
    if (begin < 0 || begin >= block.size())
        return std::nullopt;
    const int end = block.indexOf('\n', int(begin));
    if (end < 0)
        return std::nullopt;
    return block.mid(int(begin), end - int(begin));
}

// A line longer than a block, a piece at a time: asked for at most
// maxLineBytes at once, the toolkit would take that much memory.
std::optional<QByteArray> LinesByPlace::readAlone(qint64 at)
{
    if (!file.seek(at))
        return std::nullopt;
    QByteArray line;
    char piece[64 * 1024];
    while (line.size() <= maxLineBytes) {
        const qint64 got = file.readLine(piece, sizeof piece);
        if (got <= 0)
            return std::nullopt;
        line.append(piece, int(got));
        if (line.endsWith('\n')) {
            line.chop(1);
            return line;
        }
    }
    return std::nullopt;
}
