#include "update/record/HistoryChain.h"

#include "update/record/LineReader.h"
#include "update/record/Sha256.h"

namespace HistoryChain {

namespace {

bool isHex(const QByteArray &text)
{
    return std::all_of(text.cbegin(), text.cend(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// The value of a top-level key found at `at` (its opening quote).
void takeValue(const QByteArray &line, int at, Line *read)
{
    static const QByteArray seqKey = QByteArrayLiteral("\"seq\":");
    static const QByteArray prevKey = QByteArrayLiteral("\"prev\":\"");
    if (line.mid(at, seqKey.size()) == seqKey) {
        int end = at + seqKey.size();
        while (end < line.size() && line.at(end) >= '0' && line.at(end) <= '9')
            ++end;
        read->seq = line.mid(at + seqKey.size(), end - at - seqKey.size()).toLongLong();
    } else if (line.mid(at, prevKey.size()) == prevKey) {
        read->prev = line.mid(at + prevKey.size(), 65);
    }
}

} // namespace

Line read(const QByteArray &line)
{
    Line read;
    if (!line.startsWith('{'))
        return read;
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    bool keyNext = false;
    for (int i = 0; i < line.size(); ++i) {
        const char c = line.at(i);
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (depth == 0 && i > 0)
            return Line();
        if (c == '"') {
            if (depth == 1 && keyNext)
                takeValue(line, i, &read);
            inString = true;
        } else if (c == '{' || c == '[') {
            keyNext = ++depth == 1;
        } else if (c == '}' || c == ']') {
            --depth;
        } else if (depth == 1) {
            keyNext = c == ',' ? true : c == ':' ? false : keyNext;
        }
    }
    if (depth != 0 || inString)
        return Line();
    // Its 64 hex digits and the quote that ends them.
    const bool linked = read.seq > 0 && read.prev.size() == 65 && read.prev.endsWith('"');
    read.prev.chop(1);
    read.kind = linked && isHex(read.prev) ? Kind::Chained : Kind::Unchained;
    return read;
}

QByteArray hashOf(const QByteArray &line)
{
    Sha256 hash;
    hash.add(line.constData(), line.size());
    return hash.hexResult();
}

Link lastLink(QFile &file)
{
    constexpr qint64 block = 1 << 20;
    qint64 end = file.size();
    // The bytes from `start` to `end`, where a line ends (or the file does).
    QByteArray tail;
    qint64 start = end;
    while (end > 0) {
        const int lineEnd = tail.lastIndexOf('\n');
        if (lineEnd >= 0 || start == 0) {
            const QByteArray line = tail.mid(lineEnd + 1);
            if (const Line found = read(line); found.kind == Kind::Chained)
                return {found.seq, hashOf(line)};
            tail.truncate(qMax(lineEnd, 0));
            end = start + tail.size();
            continue;
        }
        // A line longer than any record is passed over, never held whole.
        if (tail.size() > maxLineBytes)
            tail.clear();
        const qint64 from = qMax<qint64>(0, start - block);
        if (!file.seek(from))
            break;
        const QByteArray before = file.read(start - from);
        if (before.size() != start - from)
            break;
        tail.prepend(before);
        start = from;
    }
    return Link();
}

} // namespace HistoryChain
