#include "update/RunLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <windows.h>

// A named mutex in the Global namespace: one for every session of the
// machine, abandoned, and so free, when its owner ends however it ends. The
// supervisor's word goes to a file beside it.
struct RunLock::Handle
{
    HANDLE mutex = nullptr;
    ~Handle()
    {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
};

namespace {

std::wstring mutexName()
{
    const QByteArray place
        = QCryptographicHash::hash(RunLock::path().toLower().toUtf8(), QCryptographicHash::Sha1);
    return (QStringLiteral("Global\\tpfw-run-") + QString::fromLatin1(place.toHex().left(16))).toStdWString();
}

bool owned(DWORD wait)
{
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

} // namespace

QString RunLock::path()
{
    const QString chosen = qEnvironmentVariable("TPFW_RUN_LOCK");
    if (!chosen.isEmpty())
        return chosen;
    const QString shared = QDir::fromNativeSeparators(qEnvironmentVariable("ProgramData"));
    return (shared.isEmpty() ? QDir::tempPath() : shared) + QStringLiteral("/tpfw-run.lock");
}

void RunLock::prepare()
{
    QFile file(path());
    file.open(QIODevice::Append);
}

std::unique_ptr<RunLock> RunLock::take(QString *error)
{
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName().c_str());
    if (!mutex) {
        *error = qt_error_string(int(GetLastError()));
        return nullptr;
    }
    if (!owned(WaitForSingleObject(mutex, 0))) {
        CloseHandle(mutex);
        error->clear();
        return nullptr;
    }
    std::unique_ptr<RunLock> lock(new RunLock);
    lock->handle = std::make_unique<Handle>();
    lock->handle->mutex = mutex;
    return lock;
}

RunLock::~RunLock() = default;

void RunLock::publish(const RunInfo &info)
{
    QFile file(path());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(encode(info));
}

std::optional<RunInfo> RunLock::current()
{
    const HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, mutexName().c_str());
    if (!mutex)
        return std::nullopt;
    // Taken at once means nobody holds it: given straight back.
    const bool free = owned(WaitForSingleObject(mutex, 0));
    if (free)
        ReleaseMutex(mutex);
    CloseHandle(mutex);
    return free ? std::nullopt : std::optional<RunInfo>(lastWord());
}
