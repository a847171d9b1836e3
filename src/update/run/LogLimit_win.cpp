#include "update/run/LogLimit.h"

#include <windows.h>
#include <winioctl.h>

bool dropFileRange(const QString &path, qint64 from, qint64 length)
{
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD returned = 0;
    FILE_ZERO_DATA_INFORMATION range {};
    range.FileOffset.QuadPart = from;
    range.BeyondFinalZero.QuadPart = from + length;
    // Sparse first: only then does zeroing give the disk back.
    const bool dropped = DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr)
        && DeviceIoControl(file, FSCTL_SET_ZERO_DATA, &range, sizeof(range), nullptr, 0, &returned, nullptr);
    CloseHandle(file);
    return dropped;
}

qint64 diskUse(const QString &path)
{
    DWORD high = 0;
    const DWORD low = GetCompressedFileSizeW(reinterpret_cast<const wchar_t *>(path.utf16()), &high);
    return low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR ? 0 : qint64(high) << 32 | low;
}
