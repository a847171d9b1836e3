#include "app/Translations.h"
#include "window/MainWindow.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

// Without a display the toolkit aborts with advice to reinstall.
bool noDisplay(int argc, char *argv[])
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
        || qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return false;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0)
            return false;
    return true;
#else
    Q_UNUSED(argc)
    Q_UNUSED(argv)
    return false;
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    if (noDisplay(argc, argv)) {
        std::fputs(
            "tpfw: no display to open the window on; start it in a desktop session, or under xvfb-run.\n",
            stderr);
        return 1;
    }
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication app(argc, argv);
    // Names the folder of the run logs.
    QCoreApplication::setApplicationName(QStringLiteral("tpfw"));
    const std::unique_ptr<QTranslator> translator = translatorFor(QLocale());
    if (translator)
        QCoreApplication::installTranslator(translator.get());
    int code = 0;
    {
        MainWindow window;
        window.show();
        code = app.exec();
    }
    return code;
}
