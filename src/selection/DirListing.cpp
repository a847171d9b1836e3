#include "selection/DirListing.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>

QString firmwareRoot()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/FwBinFiles");
}

QStringList listDirEntries(const QString &dirPath)
{
    QStringList names;
    // QDir's own defaults (all entries, name order ignoring case) are the rule.
    const QStringList listed = QDir(dirPath).entryList();
    for (const QString &name : listed) {
        qDebug() << name;
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            names.append(name);
    }
    return names;
}
