#include "update/record/DayCounter.h"

#include "update/record/LineReader.h"

#include <QFileInfo>

DayCounter::DayCounter(QString historyPath)
    : path(std::move(historyPath))
{ }

DayCounts DayCounter::count(const QDate &today)
{
    // Another day, or a history that shrank (replaced): read afresh.
    if (today != day || QFileInfo(path).size() < offset) {
        day = today;
        offset = 0;
        counts = {};
    }
    // Whole lines only: a line still being written is read next time.
    offset = forEachLine(path, offset, -1, [this](const QByteArray &line) {
        tally(line, day, counts);
        return true;
    });
    return counts;
}
