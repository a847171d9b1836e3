#pragma once

#include "update/station/StationRun.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <memory>

class DirGroup;
class FolderReader;
struct FolderRead;
class HistoryDialog;
class HistoryStatus;
class NoticeQueue;
class ShutdownGuard;
class QAction;
class QLabel;
class QPushButton;
class QTextBrowser;
struct MainWindowForm;
struct RunReport;
class RunPanel;
class SerialField;
class TreeFit;
class TreeWatcher;
class WrappingLabel;

// The one window: a TP size and a sensitivity chosen in two chained groups,
// the images of that folder listed, and the button that hands them on.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Full paths of the entries last listed, in listing order.
    const QStringList &binFiles() const { return binFileList; }

public slots:
    void setBinListText(QString dstDirPath);
    void updateFw();
    void updateFw_Console();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    enum class Notify { AtStart, OnSuccess };
    void createChoices();
    void createRunControls();
    void layOut();
    void createStationMenu();
    void connectChoices();
    void connectRun();
    void connectRunEnds();
    void press(Notify how);
    void answer(StationRun::Question question);
    void tellRefused(const RunRefusal &refusal);
    void tellBegun();
    void tellStarted();
    void tellNotStarted(const QString &error);
    void tellInterrupted(const QString &warning);
    void reportRun(const RunReport &report);
    void showRunState();
    void updateButtonState();
    void stopUpdater();
    void showHistory();
    void showLeaf(const FolderRead &read);
    void showWhereListsAreFrom();
    void orderTabs();
    void showStation();
    void signIn();
    void readyForNextPanel();
    void warn(const QString &warning);
    QString otherCheckedTpSize() const;

    std::unique_ptr<MainWindowForm> form;
    DirGroup *tpSizeGroup;
    DirGroup *sensitivityGroup;
    QTextBrowser *binListBrowser;
    QPushButton *updateFwButton;
    QPushButton *stopButton;
    QStringList binFileList;
    // Where the listed images are from.
    QString listedLeafPath;
    int leafUnlisted = 0;
    FolderReader *leafReader;
    FolderReader *pressReader;
    // Names a shown folder cannot list, and where the list is from.
    QLabel *warningLine;
    WrappingLabel *leafLine;
    TreeWatcher *watcher;
    StationRun *run;
    NoticeQueue *notices;
    ShutdownGuard *shutdownGuard;
    HistoryStatus *history;
    RunPanel *runPanel;
    TreeFit *treeFit;
    HistoryDialog *historyDialog = nullptr;
    // How the press in hand, and the run it started, tell their end.
    Notify pressNotify = Notify::AtStart;
    Notify notify = Notify::AtStart;
    // The status bar says the press waits for its leaf.
    bool readingShown = false;
    SerialField *serialField;
    QLabel *stationLine;
    QAction *signInAction;
    QAction *signOutAction;
};
