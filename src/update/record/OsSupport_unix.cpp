#include "update/record/OsSupport.h"

#include <QFileDevice>

#include <pwd.h>
#include <unistd.h>

bool syncToDisk(QFileDevice &file)
{
    return file.flush() && ::fsync(file.handle()) == 0;
}

QString userName()
{
    // From the account database: a desktop launcher need not set USER.
    const passwd *account = getpwuid(geteuid());
    return account ? QString::fromLocal8Bit(account->pw_name) : QString::number(geteuid());
}
