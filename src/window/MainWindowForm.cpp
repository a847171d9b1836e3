#include "window/MainWindowForm.h"

#include <QCoreApplication>
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

void MainWindowForm::setupForm(QMainWindow *window)
{
    if (window->objectName().isEmpty())
        window->setObjectName(QStringLiteral("MainWindow"));
    window->resize(400, 300);

    menuBar = named(new QMenuBar(window), "menuBar");
    window->setMenuBar(menuBar);
    mainToolBar = named(new QToolBar(window), "mainToolBar");
    window->addToolBar(mainToolBar);
    centralWidget = named(new QWidget(window), "centralWidget");
    window->setCentralWidget(centralWidget);
    statusBar = named(new QStatusBar(window), "statusBar");
    window->setStatusBar(statusBar);

    window->setWindowTitle(QCoreApplication::translate("MainWindow", "MainWindow"));
    QMetaObject::connectSlotsByName(window);
}
