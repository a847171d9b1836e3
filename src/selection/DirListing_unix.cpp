#include "selection/DirListing.h"

#include <QFile>

#include <dirent.h>

int unlistedEntries(const QString &dirPath)
{
    DIR *dir = opendir(QFile::encodeName(dirPath).constData());
    if (!dir)
        return 0;
    int count = 0;
    while (const dirent *entry = readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith('.') && QFile::encodeName(QFile::decodeName(name)) != name)
            ++count;
    }
    closedir(dir);
    return count;
}
