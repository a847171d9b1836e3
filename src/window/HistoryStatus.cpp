#include "window/HistoryStatus.h"

#include "update/RunHistory.h"

#include <QCoreApplication>
#include <QLabel>
#include <QStatusBar>

HistoryStatus::HistoryStatus(QStatusBar *statusBar)
    : QObject(statusBar)
    , problemLabel(new QLabel)
    , countLabel(new QLabel)
{
    problemLabel->setObjectName(QStringLiteral("historyProblem"));
    countLabel->setObjectName(QStringLiteral("todayCounts"));
    statusBar->addPermanentWidget(problemLabel);
    statusBar->addPermanentWidget(countLabel);
    refresh();
}

void HistoryStatus::refresh(QString problem)
{
    problemLabel->setText(problem.isEmpty()
                              ? QString()
                              : QCoreApplication::translate("MainWindow", "History not written: ") + problem);
    problemLabel->setVisible(!problem.isEmpty());
    const DayCounts today = countDay(historyPath(), QDate::currentDate());
    countLabel->setText(QCoreApplication::translate("MainWindow", "Today: %1 OK · %2 failed")
                            .arg(today.ok)
                            .arg(today.failed));
}
