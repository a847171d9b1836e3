#include "window/MainWindow.h"

#include "app/MainWindowForm.h"
#include "selection/DirGroup.h"
#include "selection/DirListing.h"

#include <QCoreApplication>
#include <QDebug>
#include <QGridLayout>
#include <QPushButton>
#include <QTextBrowser>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , form(std::make_unique<MainWindowForm>())
{
    form->setupForm(this);

    tpSizeGroup = new DirGroup(QStringLiteral("TP Size"));
    tpSizeGroup->listAllDir(QCoreApplication::applicationDirPath() + QStringLiteral("/FwBinFiles"));
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
