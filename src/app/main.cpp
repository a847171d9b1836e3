#include "app/Console.h"
#include "window/MainWindow.h"
#include "window/Translations.h"

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

// Answers --version and --help, which start no window; -1 for any other
// command line, every other argument being ignored.
int answerOptions(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const bool version = std::strcmp(argv[i], "--version") == 0;
        if (!version && std::strcmp(argv[i], "--help") != 0)
            continue;
        attachParentConsole();
        std::fputs(version ? "tpfw " TPFW_VERSION "\n"
                           : "usage: tpfw [--version] [--help]\n"
                             "  --version  print the version and exit\n"
                             "  --help     print this help and exit\n",
                   stdout);
        std::fflush(stdout);
        return 0;
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const int answered = answerOptions(argc, argv); answered >= 0)
        return answered;
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
    // Kept until the window is gone: a translator is only lent.
    const std::unique_ptr<QTranslator> translators[]
        = {translatorFor(QLocale()), toolkitTranslatorFor(QLocale())};
    for (const std::unique_ptr<QTranslator> &translator : translators)
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
