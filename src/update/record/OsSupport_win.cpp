#include "update/record/OsSupport.h"

#include <QDir>
#include <QFileDevice>

#include <io.h>
#include <lmcons.h>
#include <windows.h>

bool syncToDisk(QFileDevice &file)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    return file.flush() && handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
}

bool replaceFile(const QString &from, const QString &to)
{
    return MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// Not sparse: a file made longer on NTFS has its clusters allocated.
bool allocate(QFileDevice &file, qint64 bytes, QString *error)
{
    if (file.resize(bytes))
        return true;
    *error = file.errorString();
    return false;
}

QString userName()
{
    wchar_t name[UNLEN + 1];
    DWORD size = UNLEN + 1;
    return GetUserNameW(name, &size) ? QString::fromWCharArray(name) : QString();
}
