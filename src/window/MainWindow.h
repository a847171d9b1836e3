#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <memory>

class DirGroup;
class QPushButton;
class QTextBrowser;
struct MainWindowForm;

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

private:
    void launchUpdater(const QString &startedText);

    std::unique_ptr<MainWindowForm> form;
    DirGroup *tpSizeGroup;
    DirGroup *sensitivityGroup;
    QTextBrowser *binListBrowser;
    QPushButton *updateFwButton;
    QStringList binFileList;
};
