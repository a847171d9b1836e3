#include "update/record/ChainCheck.h"

#include "update/record/LineReader.h"

#include <QFileInfo>

ChainCheck ChainCheck::ofFile(const QString &path, const std::atomic<bool> *cancel)
{
    ChainCheck check;
    const qint64 end = forEachLine(
        path, 0, -1,
        [&check](const QByteArray &line) {
            check.add(line);
            return !check.broken;
        },
        cancel);
    if (!check.broken && end < QFileInfo(path).size() && !(cancel && *cancel))
        check.addCutTail();
    return check;
}

void ChainCheck::add(const QByteArray &line)
{
    ++lines;
    if (broken)
        return;
    const HistoryChain::Line read = HistoryChain::read(line);
    switch (read.kind) {
    case HistoryChain::Kind::NotARecord:
        // An empty line is no cut.
        if (!line.isEmpty())
            noteCut(lines);
        return;
    case HistoryChain::Kind::Unchained:
        // Once the chain has begun, a record without its place in it is
        // put there by hand.
        if (chained > 0)
            return fail(Break::Inserted, lines, 0);
        ++older;
        return;
    case HistoryChain::Kind::Chained:
        return addRecord(read, line);
    }
}

void ChainCheck::addCutTail()
{
    noteCut(lines + 1);
}

void ChainCheck::noteCut(qint64 line)
{
    if (cut++ == 0)
        firstCut = line;
}

void ChainCheck::addRecord(const HistoryChain::Line &read, const QByteArray &line)
{
    const qint64 expected = last.seq + 1;
    if (read.seq > expected)
        return fail(Break::Missing, lines, expected);
    if (read.seq < expected) {
        // Chained to the record before it, or a chain begun again: another
        // writer took a number already taken. Neither: a copy of a record
        // from elsewhere.
        const bool repeated
            = read.prev == last.hash || (read.seq == 1 && read.prev == HistoryChain::Link().hash);
        return fail(repeated ? Break::SeqRepeated : Break::Inserted, lines, read.seq);
    }
    if (read.prev != last.hash)
        return fail(Break::Edited, chained > 0 ? lastLine : lines, chained > 0 ? last.seq : read.seq);
    ++chained;
    last = {read.seq, HistoryChain::hashOf(line)};
    lastLine = lines;
}

void ChainCheck::fail(Break kind, qint64 line, qint64 seq)
{
    broken = Found {kind, line, seq};
}
