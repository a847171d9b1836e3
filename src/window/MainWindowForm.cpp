#include "window/MainWindowForm.h"

#include <QCoreApplication>
#include <QIcon>
#include <QMainWindow>
#include <QMenuBar>
#include <QMetaObject>
#include <QStatusBar>
#include <QToolBar>

namespace {
template <typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}
} // namespace

// Outside any namespace, as the resource's initializer must be called.
static QIcon tpfwIcon()
{
    Q_INIT_RESOURCE(icons);
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/tpfw-%1.png").arg(size), QSize(size, size));
    return icon;
}

void MainWindowForm::setupForm(QMainWindow *window)
{
    if (window->objectName().isEmpty())
        window->setObjectName(QStringLiteral("MainWindow"));
    window->resize(400, 300);

    menuBar = named(new QMenuBar(window), "menuBar");
    window->setMenuBar(menuBar);
    mainToolBar = named(new QToolBar(window), "mainToolBar");
    window->addToolBar(mainToolBar);
    // It holds no action: shown, it would be a bare handle taking room.
    mainToolBar->hide();
    centralWidget = named(new QWidget(window), "centralWidget");
    window->setCentralWidget(centralWidget);
    statusBar = named(new QStatusBar(window), "statusBar");
    window->setStatusBar(statusBar);

    window->setWindowTitle(QCoreApplication::translate("MainWindow", "MainWindow"));
    QMetaObject::connectSlotsByName(window);
}

void MainWindowForm::setIcon(QMainWindow *window)
{
    window->setWindowIcon(tpfwIcon());
}
