#include "window/MainWindow.h"

#include "app/MainWindowForm.h"
#include "selection/DirGroup.h"
#include "selection/DirListing.h"
#include "window/UpdaterCommand.h"

#include <QDebug>
#include <QGridLayout>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTextBrowser>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , form(std::make_unique<MainWindowForm>())
{
    form->setupForm(this);

    tpSizeGroup = new DirGroup(QStringLiteral("TP Size"));
    tpSizeGroup->listAllDir(firmwareRoot());
    sensitivityGroup = new DirGroup(QStringLiteral("Sensitivity"));
    binListBrowser = new QTextBrowser;
    updateFwButton = new QPushButton(QStringLiteral("UpdateFW"));

    auto *grid = new QGridLayout;
    grid->addWidget(tpSizeGroup, 0, 0, 1, 1);
    grid->addWidget(sensitivityGroup, 0, 1, 1, 1);
    grid->addWidget(binListBrowser, 3, 0, 1, 2);
    grid->addWidget(updateFwButton, 4, 0, 1, 2);
    form->centralWidget->setLayout(grid);

    connect(tpSizeGroup, SIGNAL(passDirName(QString)), sensitivityGroup, SLOT(listSubDir(QString)));
    connect(sensitivityGroup, SIGNAL(passFullDirName(QString)), this, SLOT(setBinListText(QString)));
    connect(updateFwButton, SIGNAL(clicked()), this, SLOT(updateFw_Console()));
}

MainWindow::~MainWindow() = default;

void MainWindow::setBinListText(QString dstDirPath)
{
    qDebug() << dstDirPath;
    const QStringList names = listDirEntries(dstDirPath);
    binFileList.clear();
    for (const QString &name : names)
        binFileList.append(dstDirPath + QLatin1Char('/') + name);
    // Plain text, never markup: the names shown must be the files sent.
    binListBrowser->setPlainText(names.join(QLatin1Char('\n')));
}

void MainWindow::updateFw()
{
    launchUpdater(tr("Update FW OK !!!"));
}

void MainWindow::updateFw_Console()
{
    updateFwButton->setEnabled(false);
    launchUpdater(tr("When updating FW, don't press \"UpdateFW\" button!!"));
    updateFwButton->setEnabled(true);
}

// Starts the updater on the listed images without waiting for it, then tells
// the user whether it started: a failed start must never read as success.
void MainWindow::launchUpdater(const QString &startedText)
{
    const QString program = updaterProgram();
    const QStringList argumentStrList = updaterArguments(binFileList);
    for (int i = 0; i < binFileList.size(); ++i)
        qDebug() << "argumentStrList" << i << ": " << argumentStrList.at(i);
    qDebug() << "commandStr: " << updaterCommand(program, binFileList);

    const bool started = QProcess::startDetached(program, argumentStrList);
    if (!started)
        qDebug() << "Cannot start the FW updater:" << program;

    const QString text = started ? startedText : tr("Cannot start the FW updater: ") + program;
    QMessageBox notice(started ? QMessageBox::Information : QMessageBox::Warning, tr("Message Box"), text,
                       QMessageBox::Ok, this);
    // The path is shown as it is, whatever its folder names look like.
    notice.setTextFormat(Qt::PlainText);
    notice.exec();
}
