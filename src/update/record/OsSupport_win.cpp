#include "update/record/OsSupport.h"

#include <QFileDevice>

#include <io.h>
#include <lmcons.h>
#include <windows.h>

bool syncToDisk(QFileDevice &file)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    return file.flush() && handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
}

QString userName()
{
    wchar_t name[UNLEN + 1];
    DWORD size = UNLEN + 1;
    return GetUserNameW(name, &size) ? QString::fromWCharArray(name) : QString();
}
