#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QStatusBar;

// The station's history on the right of the status bar: today's counts,
// read from the history at start and after each run, and a word when a run
// could not be recorded.
class HistoryStatus : public QObject
{
    Q_OBJECT

public:
    explicit HistoryStatus(QStatusBar *statusBar);

public slots:
    // After a run; problem says why it was not recorded, if it was not.
    void refresh(QString problem = QString());

private:
    QLabel *problemLabel;
    QLabel *countLabel;
};
