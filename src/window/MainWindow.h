#pragma once

#include "selection/DirListing.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

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
class RunPanel;
class SerialField;
class StationGate;
struct RunReport;
class TreeFit;
class TreeWatcher;
class UpdaterSession;
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
    void launchUpdater(Notify how);
    // Whether the station allows a press now; says why not where it does not.
    bool stationAllows(const Leaf &leaf);
    // Asks where the panel was updated OK before, then reads the leaf again.
    void checkUnitThenRead(Notify how);
    void readLeafThenStart(Notify how);
    void checkAndStart(Notify how, const FolderRead &now);
    void startUpdater(Notify how);
    void tellStarted();
    void tellNotStarted(const QString &error);
    void reportRun(const RunReport &report);
    void updateButtonState();
    void stopUpdater();
    void showHistory();
    void showLeaf(const FolderRead &read);
    void showWhereListsAreFrom();
    void orderTabs();
    void showStation();
    void signIn();
    void readyForNextPanel();
    bool listedImagesHold(const FolderRead &now);
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
    UpdaterSession *updater;
    NoticeQueue *notices;
    ShutdownGuard *shutdownGuard;
    HistoryStatus *history;
    RunPanel *runPanel;
    TreeFit *treeFit;
    HistoryDialog *historyDialog = nullptr;
    Notify notify = Notify::AtStart;
    // A press whose reading of the leaf is on its way, and how long it waits.
    std::optional<Notify> waitingPress;
    QTimer *pressPatience;
    StationGate *gate;
    SerialField *serialField;
    QLabel *stationLine;
    QAction *signInAction;
    QAction *signOutAction;
    // The serial read at the press, and whether its earlier runs are looked for.
    QString pressSerial;
    bool lookingForUnit = false;
};
