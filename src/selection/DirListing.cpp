#include "selection/DirListing.h"

#include "selection/NameDisplay.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>

QString firmwareRoot()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/FwBinFiles");
}

QString placeOf(const QString &path)
{
    const QString root = firmwareRoot();
    return displayName(path == root ? QStringLiteral("FwBinFiles") : path.mid(root.size() + 1));
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
