#pragma once

#include "selection/FolderReader.h"
#include "update/station/StationRun.h"
#include "window/RunNews.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <memory>

class Bench;
class DirGroup;
class FolderReader;
struct FolderRead;
class NoticeQueue;
class ShutdownGuard;
class QLabel;
class QPushButton;
class QTextBrowser;
struct MainWindowForm;
class RunPanel;
class SerialField;
class StationMenu;
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
    MainWindow(FolderReader::Begun rootReading, QWidget *parent);
    void createChoices();
    void createRunControls();
    void layOut();
    void connectChoices();
    void connectRun();
    void press(RunNews::Notify how);
    void answer(StationRun::Question question);
    void tellRefused(const RunRefusal &refusal);
    void updateButtonState();
    void stopUpdater();
    void stopAs(const QString &id);
    void showLeaf(const FolderRead &read);
    void recheckLeaf();
    void showWhereListsAreFrom();
    void orderTabs();
    void showStation();
    void startBehindFrame();
    void readyForNextPanel();
    void scanned(const QString &serial);
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
    Bench *bench;
    NoticeQueue *notices;
    ShutdownGuard *shutdownGuard;
    RunPanel *runPanel;
    TreeFit *treeFit;
    RunNews *news;
    SerialField *serialField;
    StationMenu *menu;
};
