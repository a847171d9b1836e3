#pragma once

#include <QByteArray>
#include <QFile>

// The station's history is a chain: every record it takes carries `seq`
// (1, 2, 3… in append order) and `prev`, the SHA-256 in hex of the line of
// the record before it exactly as stored, without its line end (64 zeros
// for the first). An edit, a deletion or an insertion anywhere but at the
// end shows at the next record. Records of before the chain (schema 2) are
// no links of it; a line cut short (a power loss) is no record at all.
namespace HistoryChain {

enum class Kind {
    // Not one whole JSON object: cut short, or never a record.
    NotARecord,
    // A record without its place in the chain.
    Unchained,
    Chained,
};

// What the chain reads of a line, found by one pass over its bytes: the
// record's own top-level `seq` and `prev`, never a text that looks like them.
struct Line
{
    Kind kind = Kind::NotARecord;
    qint64 seq = 0;
    QByteArray prev;
};

Line read(const QByteArray &line);

// In lower-case hex.
QByteArray hashOf(const QByteArray &line);

// What a record appended to a history chains to.
struct Link
{
    // 0 where the chain has no record yet.
    qint64 seq = 0;
    QByteArray hash = QByteArray(64, '0');
};

// The last chained record of the file (open for reading), looked for from
// its end: lines that are no record, or no link, are passed over. The file
// is read a block at a time, never whole.
Link lastLink(QFile &file);

} // namespace HistoryChain
