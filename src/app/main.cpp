#include "window/MainWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Names the folder of the run logs.
    QCoreApplication::setApplicationName(QStringLiteral("tpfw"));
    int code = 0;
    {
        MainWindow window;
        window.show();
        code = app.exec();
    }
    return code;
}
