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

// Named after the lock's place, so that a test's lock is a lock of its own.
QString objectName()
{
    const QByteArray place
        = QCryptographicHash::hash(RunLock::path().toLower().toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("Global\\tpfw-run-") + QString::fromLatin1(place.toHex().left(16));
}

std::wstring mutexName()
{
    return objectName().toStdWString();
}

bool owned(DWORD wait)
{
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

} // namespace

bool RunLock::jobLives()
{
    const HANDLE job = OpenJobObjectW(JOB_OBJECT_QUERY, FALSE, RunLock::jobName().c_str());
    if (!job)
        return false;
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting {};
    const bool lives = QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting,
                                                 sizeof(accounting), nullptr)
        && accounting.ActiveProcesses > 0;
    CloseHandle(job);
    return lives;
}

QString RunLock::path()
{
    const QString chosen = qEnvironmentVariable("TPFW_RUN_LOCK");
    if (!chosen.isEmpty())
        return chosen;
    const QString shared = QDir::fromNativeSeparators(qEnvironmentVariable("ProgramData"));
    return (shared.isEmpty() ? QDir::tempPath() : shared) + QStringLiteral("/tpfw-run.lock");
}

QString RunLock::prepare()
{
    QFile file(path());
    return file.open(QIODevice::Append) ? QString() : path() + QStringLiteral(": ") + file.errorString();
}

std::wstring RunLock::jobName()
{
    return (objectName() + QStringLiteral("-job")).toStdWString();
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
    // The run of a supervisor that is gone may still be writing.
    if (jobLives()) {
        ReleaseMutex(mutex);
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
        return jobLives() ? std::optional<RunInfo>(lastWord()) : std::nullopt;
    // Taken at once means nobody holds it: given straight back.
    const bool free = owned(WaitForSingleObject(mutex, 0));
    if (free)
        ReleaseMutex(mutex);
    CloseHandle(mutex);
    // A supervisor gone leaves its mutex free, but not the panel while its
    // updater lives.
    return free && !jobLives() ? std::nullopt : std::optional<RunInfo>(lastWord());
}

RunInfo RunLock::lastWord()
{
    QFile file(path());
    return decode(file.open(QIODevice::ReadOnly) ? file.read(4096) : QByteArray());
}
