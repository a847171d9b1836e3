#pragma once

#include <QObject>
#include <QString>

#include <functional>

class HistoryDialog;
class HistoryStatus;
class QAction;
class ElidedLabel;
class QMenuBar;
class QWidget;
class StationPolicy;

// The Station menu (History…, Sign in…, Sign out) and what sits beside the
// menus: the order and the operator, and today's counts. Beside the menus,
// where it leaves the status bar's messages whole.
class StationMenu : public QObject
{
    Q_OBJECT

public:
    StationMenu(QWidget *window, QMenuBar *menuBar, StationPolicy &station);

    // Shows what the station's settings ask for, and who is signed in.
    void showStation();
    // Today's counts, read for the first time.
    void countToday();
    // The history was written to, or could not be; problem says why not.
    void recorded(const QString &problem);
    // Asks for the ID of the operator who would stop the run; stop is given
    // what was read, unless the question is closed.
    void askStopper(std::function<void(const QString &id)> stop);

private:
    void signIn(const QString &refused = {});
    void askOperator(const QString &title, const QString &ask, std::function<void(const QString &id)> taken);
    void showHistory();

    QWidget *window;
    StationPolicy &station;
    QAction *signInAction;
    QAction *signOutAction;
    ElidedLabel *stationLine;
    HistoryStatus *history;
    HistoryDialog *historyDialog = nullptr;
};
