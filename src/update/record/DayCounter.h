#pragma once

#include "update/record/HistoryReading.h"

#include <QDate>
#include <QString>

// Today's counts kept up to date from what is appended to the history: the
// day is read once, then only the bytes written since. Another day, or a
// history that shrank (replaced), is read afresh. Not for more than one
// thread at a time.
class DayCounter
{
public:
    explicit DayCounter(QString path);

    DayCounts count(const QDate &day);

private:
    QString path;
    QDate day;
    // Where the next line to read begins.
    qint64 offset = 0;
    DayCounts counts;
};
