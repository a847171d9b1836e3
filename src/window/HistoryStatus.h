#pragma once

#include <QDateTime>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class DayCounter;
struct DayCounts;
class QLabel;

// The station's history at a glance, beside the menus: today's counts, read
// from the history at the first refresh, after each run and when a new day
// begins (off the GUI thread, and after the first time only what was
// appended), and a word when a run could not be recorded. Kept out of the
// status bar, whose messages it would cut.
class HistoryStatus : public QWidget
{
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;
    explicit HistoryStatus(Clock now = &QDateTime::currentDateTime, QWidget *parent = nullptr);

public slots:
    // First, and after each run; problem says why it was not recorded, if it
    // was not.
    void refresh(QString problem = QString());

private:
    static QString countsText(const DayCounts &today);
    void count();

    Clock now;
    QLabel *problemLabel;
    QLabel *countLabel;
    std::shared_ptr<DayCounter> counter;
    bool counting = false;
    bool countAgain = false;
    QTimer midnight;
};
