#include "update/run/UpdaterCommand.h"

#include <QCoreApplication>

namespace {
const QString updaterSwitch = QStringLiteral("-ba");
}

QString updaterProgram()
{
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("/PanelProg/PanelProg.exe");
#else
    const QString name = QStringLiteral("/PanelProg/PanelProg");
#endif
    return QCoreApplication::applicationDirPath() + name;
}

QString supervisorProgram()
{
#ifdef Q_OS_WIN
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tpfw-run.exe");
#else
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tpfw-run");
#endif
}

QStringList updaterArguments(const QStringList &binFiles)
{
    return QStringList(binFiles) << updaterSwitch;
}

QString updaterCommand(const QString &program, const QStringList &binFiles)
{
    QString command = program;
    for (const QString &path : binFiles)
        command += QStringLiteral(" \"") + path + QLatin1Char('"');
    return command + QLatin1Char(' ') + updaterSwitch;
}
