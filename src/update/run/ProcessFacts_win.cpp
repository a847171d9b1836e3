#include "update/run/ProcessFacts.h"

#include <QDir>
#include <QFileInfo>

#include <iterator>

#include <windows.h>

bool isProcessOf(qint64 pid, const QString &program, const QDateTime &latest)
{
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!process)
        return false;
    wchar_t image[MAX_PATH * 4];
    DWORD size = DWORD(std::size(image));
    FILETIME created {}, exited {}, kernel {}, user {};
    const bool known = QueryFullProcessImageNameW(process, 0, image, &size)
        && GetProcessTimes(process, &created, &exited, &kernel, &user);
    CloseHandle(process);
    if (!known)
        return false;
    // 100 ns steps since 1601, to milliseconds since 1970.
    const qint64 since1601 = (qint64(created.dwHighDateTime) << 32 | created.dwLowDateTime) / 10000;
    const QDateTime started = QDateTime::fromMSecsSinceEpoch(since1601 - 11644473600000LL);
    return QString::fromWCharArray(image, int(size))
               .compare(QDir::toNativeSeparators(QFileInfo(program).absoluteFilePath()), Qt::CaseInsensitive)
        == 0
        && started <= latest;
}
