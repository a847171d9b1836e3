#include "update/run/RunLock.h"

#include "update/run/RunJob.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <windows.h>

// A named mutex in the Global namespace: one for every session of the
// machine, abandoned, and so free, when its owner ends however it ends. The
// supervisor's run info goes to a file beside it.
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

bool runJobLives()
{
    const HANDLE job = OpenJobObjectW(JOB_OBJECT_QUERY, FALSE, runJobName().c_str());
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
    // The one place for every user, never one of a user's own: without
    // ProgramData the path names no file, and nothing starts.
    const QString shared = QDir::fromNativeSeparators(qEnvironmentVariable("ProgramData"));
    return shared.isEmpty() ? QString() : shared + QStringLiteral("/tpfw-run.lock");
}

QString RunLock::prepare()
{
    QFile file(path());
    return file.open(QIODevice::Append) ? QString() : path() + QStringLiteral(": ") + file.errorString();
}

std::wstring runJobName()
{
    return (objectName() + QStringLiteral("-job")).toStdWString();
}

RunLockAttempt RunLock::take()
{
    RunLockAttempt attempt;
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName().c_str());
    if (!mutex) {
        attempt.error = qt_error_string(int(GetLastError()));
        return attempt;
    }
    attempt.result = RunLockAttempt::Result::Held;
    if (!owned(WaitForSingleObject(mutex, 0))) {
        CloseHandle(mutex);
        return attempt;
    }
    // The run of a supervisor that is gone may still be writing.
    if (runJobLives()) {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
        return attempt;
    }
    attempt.result = RunLockAttempt::Result::Taken;
    attempt.lock.reset(new RunLock);
    attempt.lock->handle = std::make_unique<Handle>();
    attempt.lock->handle->mutex = mutex;
    return attempt;
}

QVector<int> RunLock::descriptors() const
{
    return {};
}

RunLock::~RunLock() = default;

void RunLock::setInfo(const RunInfo &info)
{
    QFile file(path());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(encode(info));
}

std::optional<RunInfo> RunLock::current()
{
    const HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, mutexName().c_str());
    if (!mutex)
        return runJobLives() ? std::optional<RunInfo>(lastInfo()) : std::nullopt;
    // Taken at once means nobody holds it: given straight back.
    const bool free = owned(WaitForSingleObject(mutex, 0));
    if (free)
        ReleaseMutex(mutex);
    CloseHandle(mutex);
    // A supervisor gone leaves its mutex free, but not the panel while its
    // updater lives.
    return free && !runJobLives() ? std::nullopt : std::optional<RunInfo>(lastInfo());
}

RunInfo RunLock::lastInfo()
{
    QFile file(path());
    return decode(file.open(QIODevice::ReadOnly) ? file.read(4096) : QByteArray());
}
