#include "selection/DirListing.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>

QString firmwareRoot()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/FwBinFiles");
}

Leaf leafOf(const QString &leafPath)
{
    const QString root = firmwareRoot() + QLatin1Char('/');
    if (!leafPath.startsWith(root))
        return {};
    // A TP size is one folder name: the first "/" ends it.
    const QString below = leafPath.mid(root.size());
    const int slash = below.indexOf(QLatin1Char('/'));
    return {below.left(slash), slash < 0 ? QString() : below.mid(slash + 1)};
}

namespace {

QStringList entries(const QString &dirPath, bool logged)
{
    QStringList names;
    // QDir's own defaults (all entries, name order ignoring case) are the rule.
    const QStringList listed = QDir(dirPath).entryList();
    for (const QString &name : listed) {
        if (logged)
            qDebug() << name;
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            names.append(name);
    }
    return names;
}

} // namespace

QStringList listDirEntries(const QString &dirPath)
{
    return entries(dirPath, true);
}

QStringList currentEntries(const QString &dirPath)
{
    return entries(dirPath, false);
}
