#include "update/run/RunProcess.h"

#include "update/run/RunJob.h"
#include "update/run/RunLock.h"
#include "update/run/SupervisorProtocol.h"

#include <QDir>
#include <QWinEventNotifier>

#include <windows.h>

// A process handle stays valid after the updater has ended, so its exit code
// can be read whenever tpfw gets to it; the handle is waited on by the event
// loop, not polled.
// A process started here runs in a job of its own, which holds whatever it
// starts, so that a stop ends all of it; the job never kills on close, which
// would tie the updater to the supervisor's life. Under the run lock the job
// is named for the lock, so that the machine stays held while any process
// of the run lives, its supervisor or not.
struct RunProcess::Watch
{
    HANDLE process = nullptr;
    HANDLE job = nullptr;
    qint64 pid = 0;
    QWinEventNotifier *notifier = nullptr;

    ~Watch()
    {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
        if (process)
            CloseHandle(process);
        if (job)
            CloseHandle(job);
    }
};

namespace {

class Handle
{
public:
    explicit Handle(HANDLE handle)
        : handle(handle)
    { }
    ~Handle()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    const HANDLE handle;
};

std::wstring wide(const QString &text)
{
    return text.toStdWString();
}

HANDLE openInheritable(const QString &path, DWORD access)
{
    SECURITY_ATTRIBUTES inherit {sizeof(inherit), nullptr, TRUE};
    return CreateFileW(wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       &inherit, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// One argument as the C runtime's command-line parser reads it back:
// quoted where it holds blanks or quotes, backslashes doubled only where
// they precede a quote.
QString quoted(const QString &argument)
{
    if (!argument.isEmpty() && !argument.contains(QRegExp(QStringLiteral("[ \t\"]"))))
        return argument;
    QString result = QStringLiteral("\"");
    int backslashes = 0;
    for (const QChar c : argument) {
        if (c == QLatin1Char('\\')) {
            ++backslashes;
            continue;
        }
        result += QString(c == QLatin1Char('"') ? 2 * backslashes + 1 : backslashes, QLatin1Char('\\')) + c;
        backslashes = 0;
    }
    return result + QString(2 * backslashes, QLatin1Char('\\')) + QLatin1Char('"');
}

QString commandLine(const QString &program, const QStringList &arguments)
{
    QStringList parts {quoted(QDir::toNativeSeparators(program))};
    for (const QString &argument : arguments)
        parts.append(quoted(argument));
    return parts.join(QLatin1Char(' '));
}

// Only the two standard handles are handed to the updater, none of tpfw's own.
class HandleList
{
public:
    explicit HandleList(std::initializer_list<HANDLE> handles)
        : handles(handles)
    {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        storage.resize(size);
        list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
        InitializeProcThreadAttributeList(list, 1, 0, &size);
        UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, this->handles.data(),
                                  this->handles.size() * sizeof(HANDLE), nullptr, nullptr);
    }
    ~HandleList() { DeleteProcThreadAttributeList(list); }
    HandleList(const HandleList &) = delete;
    HandleList &operator=(const HandleList &) = delete;

    std::vector<HANDLE> handles;
    std::vector<char> storage;
    LPPROC_THREAD_ATTRIBUTE_LIST list = nullptr;
};

} // namespace

void RunProcess::WatchDeleter::operator()(Watch *watch) const
{
    delete watch;
}

bool RunProcess::start(const QString &program, const QStringList &arguments, const QString &workingDir,
                       const QString &logPath, const RunGuard *guard, QString *error)
{
    guarded = guard != nullptr;
    const Handle input(openInheritable(QStringLiteral("NUL"), GENERIC_READ));
    const Handle log(openInheritable(logPath.isEmpty() ? QStringLiteral("NUL") : logPath, FILE_APPEND_DATA));
    if (input.handle == INVALID_HANDLE_VALUE || log.handle == INVALID_HANDLE_VALUE) {
        *error = qt_error_string(int(GetLastError()));
        return false;
    }
    const HandleList inherited {input.handle, log.handle};
    STARTUPINFOEXW startup {};
    startup.StartupInfo.cb = sizeof(startup);
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = input.handle;
    startup.StartupInfo.hStdOutput = log.handle;
    startup.StartupInfo.hStdError = log.handle;
    startup.lpAttributeList = inherited.list;

    std::wstring command = wide(commandLine(program, arguments));
    // The most Windows takes, its terminating null included.
    if (command.size() >= 32767) {
        *error = tooManyImages();
        return false;
    }
    PROCESS_INFORMATION process {};
    // No console window, and out of tpfw's console group: a Ctrl+C meant for
    // tpfw never reaches the updater. Suspended until it is in its job.
    const DWORD flags = CREATE_NO_WINDOW | CREATE_NEW_PROCESS_GROUP | CREATE_UNICODE_ENVIRONMENT
        | EXTENDED_STARTUPINFO_PRESENT | CREATE_SUSPENDED;
    if (!CreateProcessW(wide(QDir::toNativeSeparators(program)).c_str(), &command[0], nullptr, nullptr, TRUE,
                        flags, nullptr, wide(QDir::toNativeSeparators(workingDir)).c_str(),
                        &startup.StartupInfo, &process)) {
        const DWORD failed = GetLastError();
        *error = failed == ERROR_BAD_EXE_FORMAT ? notExecutable() : qt_error_string(int(failed));
        return false;
    }
    watch.reset(new Watch);
    watch->process = process.hProcess;
    watch->pid = process.dwProcessId;
    pid = process.dwProcessId;
    watch->job = CreateJobObjectW(nullptr, guarded ? runJobName().c_str() : nullptr);
    // Without a job (one tpfw itself runs in may forbid it) a stop ends the
    // updater alone.
    if (watch->job && !AssignProcessToJobObject(watch->job, process.hProcess)) {
        CloseHandle(watch->job);
        watch->job = nullptr;
    }
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    follow(process.dwProcessId, process.dwProcessId);
    return true;
}

bool RunProcess::attach(qint64 other)
{
    const HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(other));
    if (!process)
        return false;
    watch.reset(new Watch);
    watch->process = process;
    watch->pid = other;
    watchProcess(other);
    return true;
}

void RunProcess::follow(qint64 launched, qint64 told)
{
    emit started(told);
    watchProcess(launched);
}

bool RunProcess::watchProcess(qint64)
{
    watch->notifier = new QWinEventNotifier(watch->process, this);
    connect(watch->notifier, &QWinEventNotifier::activated, this, [this] {
        DWORD code = 0;
        if (!GetExitCodeProcess(watch->process, &code))
            end({RunEnd::Unknown, 0, qt_error_string(int(GetLastError()))});
        // An NTSTATUS error (an access violation, an abort through the
        // runtime's fast fail, ...) is how Windows ends a crashed process.
        else if (code >= 0xC0000000)
            end({RunEnd::Crashed, int(code), {}});
        else
            end({RunEnd::Exited, int(code), {}});
    });
    return true;
}

bool RunProcess::hasEnded() const
{
    return watch ? WaitForSingleObject(watch->process, 0) == WAIT_OBJECT_0 : heldEnd.has_value();
}

void RunProcess::askToStop()
{
    if (watch)
        requestStop(watch->pid);
}

// Windows has no request to end that a console program must heed: the job
// ends at once, all of it, and nothing is left to force.
void RunProcess::askToEnd()
{
    forceStop();
}

bool RunProcess::anythingLeft()
{
    return guarded && runJobLives();
}

void RunProcess::forceStop()
{
    if (watch && watch->job)
        TerminateJobObject(watch->job, 1);
    else if (watch)
        TerminateProcess(watch->process, 1);
    else if (const HANDLE job = OpenJobObjectW(JOB_OBJECT_TERMINATE, FALSE, runJobName().c_str())) {
        // What the first process left in the run's job.
        TerminateJobObject(job, 1);
        CloseHandle(job);
    }
}
