#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <atomic>
#include <functional>
#include <optional>

// No record of the station comes near it; a line this long is no record.
constexpr int maxLineBytes = 16 * 1024 * 1024;
// The largest record the station ships (its rsyslog's limit): thousands of
// images with long paths.
constexpr qint64 maxRecordBytes = 4 * 1024 * 1024;

// Hands each whole line ('\n' ended, without it) of the regular file at path
// that starts within [from, to) to `line`, in order (to < 0: to the end).
// Read a few mebibytes at a time, so that no long file is all in memory; a
// line longer than maxLineBytes is passed over, never held whole. Stops when
// `line` returns false or cancel is set. Returns where the next line to read
// begins: past the last one handed or passed over.
qint64 forEachLine(const QString &path, qint64 from, qint64 to,
                   const std::function<bool(const QByteArray &)> &line,
                   const std::atomic<bool> *cancel = nullptr);

// The same, with where each line begins in the file.
qint64 forEachLineAt(const QString &path, qint64 from, qint64 to,
                     const std::function<bool(const QByteArray &, qint64 at)> &line,
                     const std::atomic<bool> *cancel = nullptr);

// Hands `line` each whole line of the file that holds `needle` (which holds
// no '\n'), in order, until it returns false: found by searching the file's
// bytes, never a line at a time, so that a long file with few such lines
// costs little more than its reading.
void forEachLineHolding(const QString &path, const QByteArray &needle,
                        const std::function<bool(const QByteArray &)> &line);

// Hands `line` each whole line of the file that holds `needle`, newest
// first, until it returns false: the file is searched from its end a few
// mebibytes at a time, so a line near the end costs one read, wherever the
// file began.
void forEachLineHoldingBackwards(const QString &path, const QByteArray &needle,
                                 const std::function<bool(const QByteArray &)> &line);

// Whole lines of a file found again by where they begin. The part of the
// file around the last one read is kept: lines read newest first, or oldest
// first, cost one read of the file for a mebibyte of them, not one each.
class LinesByPlace
{
public:
    explicit LinesByPlace(const QString &path);

    // The whole line that begins at `at`, without its '\n'; nothing where
    // there is none, or the file cannot be read (then error says why).
    std::optional<QByteArray> lineAt(qint64 at, QString *error);

private:
    std::optional<QByteArray> fromBlock(qint64 at) const;
    std::optional<QByteArray> readAlone(qint64 at);

    QFile file;
    qint64 blockAt = 0;
    QByteArray block;
};

// Whether the path names a regular file, or nothing: opening a FIFO or a
// device for reading could wait for a writer for ever.
bool regularOrAbsent(const QString &path);
