#include "window/HistoryStatus.h"

#include "update/RunHistory.h"

#include <QCoreApplication>
#include <QLabel>
#include <QStatusBar>

HistoryStatus::HistoryStatus(QStatusBar *statusBar, Clock now)
    : QObject(statusBar)
    , now(std::move(now))
    , problemLabel(new QLabel)
    , countLabel(new QLabel)
{
    problemLabel->setObjectName(QStringLiteral("historyProblem"));
    countLabel->setObjectName(QStringLiteral("todayCounts"));
    statusBar->addPermanentWidget(problemLabel);
    statusBar->addPermanentWidget(countLabel);
    // A window left open overnight counts the new day from its first moment.
    midnight.setSingleShot(true);
    midnight.setTimerType(Qt::PreciseTimer);
    connect(&midnight, &QTimer::timeout, this, &HistoryStatus::count);
    refresh();
}

void HistoryStatus::refresh(QString problem)
{
    problemLabel->setText(problem.isEmpty()
                              ? QString()
                              : QCoreApplication::translate("MainWindow", "History not written: ") + problem);
    problemLabel->setVisible(!problem.isEmpty());
    count();
}

void HistoryStatus::count()
{
    const QDateTime time = now();
    const DayCounts today = countDay(historyPath(), time.date());
    countLabel->setText(QCoreApplication::translate("MainWindow", "Today: %1 OK · %2 failed")
                            .arg(today.ok)
                            .arg(today.failed));
    midnight.start(int(qMin<qint64>(time.msecsTo(time.date().addDays(1).startOfDay()) + 1, 3600 * 1000)));
}
