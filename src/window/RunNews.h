#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class NoticeQueue;
class QStatusBar;
class RunPanel;
class StationRun;
struct RunReport;

// What the window tells of the station's runs, from what its station run
// says: the status bar, the run panel and the notices. A press of this
// window tells its start or its success as it was pressed for.
class RunNews : public QObject
{
    Q_OBJECT

public:
    enum class Notify { AtStart, OnSuccess };

    RunNews(StationRun *run, RunPanel *panel, QStatusBar *status, NoticeQueue *notices, QObject *parent);

    // How the next press tells its start or its success.
    void pressed(Notify how) { pressNotify = how; }

signals:
    // A press or a run is over and told: the next panel may come.
    void told();

private:
    void tellBegun();
    void tellStarted();
    void tellNotStarted(const QString &error);
    void tellInterrupted(const QString &warning);
    void report(const RunReport &report);
    void showWaiting();
    QString waitingText() const;
    void warn(const QString &warning);

    StationRun *run;
    RunPanel *panel;
    QStatusBar *status;
    NoticeQueue *notices;
    // How the press in hand, and the run it started, tell their end.
    Notify pressNotify = Notify::AtStart;
    Notify notify = Notify::AtStart;
    // What the status bar says the press waits for: its leaf, or a long
    // look-up of its panel's earlier runs.
    QString waitingShown;
    // What the status bar says of a run that holds the machine.
    QString heldShown;
    // A look-up is told of only once it has taken longer than this.
    QTimer lookupPatience;
};
