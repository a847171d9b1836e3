#include "window/MainWindow.h"

#include "app/MainWindowForm.h"
#include "selection/DirGroup.h"
#include "selection/DirListing.h"
#include "update/UpdaterSession.h"
#include "window/HistoryStatus.h"
#include "window/NoticeQueue.h"

#include <QCloseEvent>
#include <QDebug>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
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

    updater = new UpdaterSession(this);
    notices = new NoticeQueue(this);
    connect(updater, &UpdaterSession::running, form->statusBar,
            [this](const QString &status) { form->statusBar->showMessage(status); });
    connect(updater, &UpdaterSession::started, this, &MainWindow::tellStarted);
    connect(updater, &UpdaterSession::notStarted, this, &MainWindow::tellNotStarted);
    connect(updater, &UpdaterSession::ended, this, &MainWindow::reportRun);
    connect(notices, &NoticeQueue::allClosed, this, &MainWindow::updateButtonState);
    history = new HistoryStatus(form->statusBar);
    connect(updater, &UpdaterSession::recorded, history, &HistoryStatus::refresh);
}

MainWindow::~MainWindow() = default;

void MainWindow::setBinListText(QString dstDirPath)
{
    qDebug() << dstDirPath;
    const QStringList names = listDirEntries(dstDirPath);
    binFileList.clear();
    listedLeaf = leafOf(dstDirPath);
    for (const QString &name : names)
        binFileList.append(dstDirPath + QLatin1Char('/') + name);
    // Plain text, never markup: the names shown must be the files sent.
    binListBrowser->setPlainText(names.join(QLatin1Char('\n')));
}

void MainWindow::updateFw()
{
    launchUpdater(Notify::OnSuccess);
}

void MainWindow::updateFw_Console()
{
    launchUpdater(Notify::AtStart);
}

// One run at a time: the button stays off from the press until the run has
// ended and the notice is closed, and a second start is refused.
void MainWindow::launchUpdater(Notify how)
{
    if (updater->isBusy()) {
        notices->show(QMessageBox::Warning, tr("The FW updater is still running."));
        return;
    }
    updateFwButton->setEnabled(false);
    notify = how;
    updater->start(binFileList, listedLeaf);
}

void MainWindow::tellStarted()
{
    if (notify == Notify::AtStart)
        notices->show(QMessageBox::Information, tr("When updating FW, don't press \"UpdateFW\" button!!"));
}

void MainWindow::tellNotStarted(const QString &error)
{
    form->statusBar->clearMessage();
    notices->show(QMessageBox::Warning, error);
    updateButtonState();
}

void MainWindow::reportRun(const RunReport &report)
{
    form->statusBar->showMessage(report.outcome + QStringLiteral(" (") + report.duration + QLatin1Char(')'));
    if (!report.ok)
        notices->show(QMessageBox::Warning, report.outcome, report.details);
    else if (notify == Notify::OnSuccess)
        notices->show(QMessageBox::Information, tr("Update FW OK !!!"));
    updateButtonState();
}

void MainWindow::updateButtonState()
{
    updateFwButton->setEnabled(!updater->isBusy() && !notices->isOpen());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    const bool leave = !updater->isBusy()
        || QMessageBox::question(this, tr("Message Box"),
                                 tr("The FW updater is still running. Close anyway? "
                                    "The update goes on without this window."),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            == QMessageBox::Yes;
    event->setAccepted(leave);
}
