#include "window/HistoryStatus.h"

#include "selection/NameDisplay.h"
#include "update/record/Background.h"
#include "update/record/DataFolder.h"
#include "update/record/DayCounter.h"
#include "update/record/HistoryReading.h"
#include "window/WarningLabel.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>

#include <utility>

HistoryStatus::HistoryStatus(Clock clock, QWidget *parent)
    : QWidget(parent)
    , now(std::move(clock))
    , problemLabel(new WarningLabel)
    , countLabel(new QLabel)
    , counter(std::make_shared<DayCounter>(historyPath()))
{
    problemLabel->setObjectName(QStringLiteral("historyProblem"));
    countLabel->setObjectName(QStringLiteral("todayCounts"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 0, 6, 0);
    row->addWidget(problemLabel);
    row->addWidget(countLabel);
    // A window left open overnight counts the new day from its first moment.
    midnight.setSingleShot(true);
    midnight.setTimerType(Qt::PreciseTimer);
    connect(&midnight, &QTimer::timeout, this, &HistoryStatus::count);
    problemLabel->hide();
}

void HistoryStatus::refresh(QString problem)
{
    // The reason is in the warning that said so, and here on demand: in
    // full it would push the menus aside.
    problemLabel->setText(tr("History not written"));
    problemLabel->setToolTip(plainToolTip(problem));
    problemLabel->setVisible(!problem.isEmpty());
    count();
}

QString HistoryStatus::countsText(const DayCounts &today)
{
    const QString runs = tr("Today: %1 OK · %2 failed").arg(today.ok).arg(today.failed);
    // Only where panels are scanned is there a panel to count.
    if (today.firstRuns.isEmpty())
        return runs;
    return tr("%1 · first pass %2 of %3").arg(runs).arg(today.firstPassOk()).arg(today.firstRuns.size());
}

void HistoryStatus::count()
{
    const QDateTime time = now();
    midnight.start(int(qMin<qint64>(time.msecsTo(time.date().addDays(1).startOfDay()) + 1, 3600 * 1000)));
    // One count at a time, each from where the last one stopped.
    if (counting) {
        countAgain = true;
        return;
    }
    counting = true;
    // Off the GUI thread: a history on a slow disk never stops the window.
    // A window that goes meanwhile leaves the count behind.
    inBackground(
        this, [counter = counter, day = time.date()] { return counter->count(day); },
        [this](const DayCounts &today) {
            countLabel->setText(countsText(today));
            counting = false;
            if (std::exchange(countAgain, false))
                count();
        });
}
