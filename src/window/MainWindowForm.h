#pragma once

class QMainWindow;
class QMenuBar;
class QStatusBar;
class QToolBar;
class QWidget;

// The bare frame of the main window. The pointers do not own: the widgets
// belong to the window they were built into.
struct MainWindowForm
{
    QMenuBar *menuBar = nullptr;
    QToolBar *mainToolBar = nullptr;
    QWidget *centralWidget = nullptr;
    QStatusBar *statusBar = nullptr;

    void setupForm(QMainWindow *window);
    // Reading the icon's seven sizes takes longer than painting the window:
    // it is given once the window is on screen.
    void setIcon(QMainWindow *window);
};
