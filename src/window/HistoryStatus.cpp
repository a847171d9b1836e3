#include "window/HistoryStatus.h"

#include "selection/NameDisplay.h"
#include "update/RunHistory.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>

HistoryStatus::HistoryStatus(Clock now, QWidget *parent)
    : QWidget(parent)
    , now(std::move(now))
    , problemLabel(new QLabel)
    , countLabel(new QLabel)
{
    problemLabel->setObjectName(QStringLiteral("historyProblem"));
    problemLabel->setStyleSheet(QStringLiteral("color: #b00000"));
    countLabel->setObjectName(QStringLiteral("todayCounts"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 0, 6, 0);
    row->addWidget(problemLabel);
    row->addWidget(countLabel);
    // A window left open overnight counts the new day from its first moment.
    midnight.setSingleShot(true);
    midnight.setTimerType(Qt::PreciseTimer);
    connect(&midnight, &QTimer::timeout, this, &HistoryStatus::count);
    refresh();
}

void HistoryStatus::refresh(QString problem)
{
    // The reason is in the warning that said so, and here on demand: in
    // full it would push the menus aside.
    problemLabel->setText(QCoreApplication::translate("MainWindow", "History not written"));
    problemLabel->setToolTip(plainToolTip(problem));
    if (problemLabel->isHidden() != problem.isEmpty() && parentWidget() && isVisible()) {
        problemLabel->setVisible(!problem.isEmpty());
        // A menu bar lays out its corner again only when it is shown anew.
        hide();
        show();
    }
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
