#include "update/record/OsSupport.h"

#include <QFile>
#include <QFileDevice>

#include <cstdio>

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

bool syncToDisk(QFileDevice &file)
{
    return file.flush() && ::fsync(file.handle()) == 0;
}

bool allocate(QFileDevice &file, qint64 bytes, QString *error)
{
    const int failed = ::posix_fallocate(file.handle(), 0, bytes);
    if (failed)
        *error = qt_error_string(failed);
    return !failed;
}

bool replaceFile(const QString &from, const QString &to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

QString userName()
{
    // From the account database: a desktop launcher need not set USER.
    const passwd *account = getpwuid(geteuid());
    return account ? QString::fromLocal8Bit(account->pw_name) : QString::number(geteuid());
}
