#include "update/DayCounter.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

DayCounter::DayCounter(QString path)
    : path(std::move(path))
{ }

DayCounts DayCounter::count(const QDate &today)
{
    const QFileInfo info(path);
    // Never opened where it is not a regular file: a FIFO would block.
    if (!info.isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return counts;
    const qint64 size = file.size();
    if (today != day || size < offset) {
        day = today;
        offset = size;
        counts = countDay(path, day, size);
        return counts;
    }
    file.seek(offset);
    const QByteArray added = file.read(size - offset);
    // Whole lines only: a line still being written is read next time.
    int begin = 0;
    for (int end; (end = added.indexOf('\n', begin)) >= 0; begin = end + 1)
        tally(QJsonDocument::fromJson(added.mid(begin, end - begin)).object(), day, counts);
    offset += begin;
    return counts;
}
