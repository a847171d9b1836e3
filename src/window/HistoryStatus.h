#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class QLabel;
class QStatusBar;

// The station's history on the right of the status bar: today's counts,
// read from the history at start, after each run and when a new day begins,
// and a word when a run could not be recorded.
class HistoryStatus : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;
    explicit HistoryStatus(QStatusBar *statusBar, Clock now = &QDateTime::currentDateTime);

public slots:
    // After a run; problem says why it was not recorded, if it was not.
    void refresh(QString problem = QString());

private:
    void count();

    Clock now;
    QLabel *problemLabel;
    QLabel *countLabel;
    QTimer midnight;
};
