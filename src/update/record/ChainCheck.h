#pragma once

#include "update/record/HistoryChain.h"

#include <QByteArray>
#include <QString>

#include <atomic>

#include <optional>

// Checks a history's chain as its lines go by, in order, holding nothing
// but the last link: a file of any length is checked in constant memory.
// The first break is kept; what follows it is not judged.
class ChainCheck
{
public:
    enum class Break {
        // The record at `line` was changed after the next one was written.
        Edited,
        // From `seq` on, records that belong before `line` are not there.
        Missing,
        // The record at `line` does not follow the one before it: its `seq`
        // (0 where it has none) is from elsewhere.
        Inserted,
        // The record at `line` takes a `seq` already taken.
        SeqRepeated,
    };
    struct Found
    {
        Break kind;
        // 1-based, as an editor counts the file's lines.
        qint64 line;
        qint64 seq;
    };

    // The history file's chain, read once, a few mebibytes at a time, to
    // its first break (a file that cannot be read holds no record); a set
    // cancel ends the reading soon.
    static ChainCheck ofFile(const QString &path, const std::atomic<bool> *cancel = nullptr);

    // The next line of the file, without its line end.
    void add(const QByteArray &line);
    // A last line without its line end: cut short.
    void addCutTail();

    const std::optional<Found> &firstBreak() const { return broken; }
    qint64 records() const { return chained; }
    qint64 lastSeq() const { return last.seq; }
    // Records from before the chain began (schema 2 and older).
    qint64 olderRecords() const { return older; }
    // Lines cut short, which the chain passes over, and the first of them.
    qint64 cutLines() const { return cut; }
    qint64 firstCutLine() const { return firstCut; }

private:
    void addRecord(const HistoryChain::Line &read, const QByteArray &line);
    void noteCut(qint64 line);
    void fail(Break kind, qint64 line, qint64 seq);

    qint64 lines = 0;
    qint64 chained = 0;
    qint64 older = 0;
    qint64 cut = 0;
    qint64 firstCut = 0;
    HistoryChain::Link last;
    qint64 lastLine = 0;
    std::optional<Found> broken;
};
