// Stand-in for the firmware updater: says what it would flash and flashes
// nothing. The last argument is the switch, all before it are images.
//
// Test hooks, through the environment:
// - TPFW_UPDATER_LOG: when about to exit, append one record of the arguments
//   to that file: their count in decimal, then every argument (UTF-8 on
//   Windows, as given elsewhere), each followed by a NUL byte, so a test can
//   compare them byte for byte and tell that the run went to its end.
// - TPFW_STANDIN_SECONDS: work that long before exiting.
// - TPFW_STANDIN_UNTIL: work until that file exists, as long as a test
//   needs the run to be on.
// - TPFW_STANDIN_TICKS=N: instead of its usual chatter while it works, print
//   N lines "writing block k/N (P%)" spread evenly over that time.
// - TPFW_STANDIN_EXIT: exit with that code, saying so on standard error;
//   "crash" makes it abort, "dump" abort with a core dump, "kill" end by
//   SIGKILL (on Windows all three end it as a crash).
// - TPFW_STANDIN_SPANS: append "start" to that file as it starts and "end"
//   as it ends, one line each, so a test can tell whether two ever ran at once.
// - TPFW_STANDIN_IGNORE_TERM: ignore SIGTERM (Unix), as a hung updater may.
// - TPFW_STANDIN_OUTPUT: first print that file's bytes as they are, as an
//   updater that floods its output, or prints what is not text, may.
// - TPFW_STANDIN_CHILD: "fork", "setsid", "daemon" or "respawn" (Unix): as
//   it starts, leave a child of its own writing on for
//   TPFW_STANDIN_CHILD_SECONDS (2 by default), the second in a session of
//   its own, as an updater whose work outlives its first process may;
//   "daemon" first closes every descriptor it inherited beyond the standard
//   three, and its child closes those too, as daemonising tools do;
//   "respawn" makes the child a helper that starts a new worker of its own
//   every millisecond, each living that long unless replaced, so whatever
//   ends it meets new processes. The child notes "child <pid>" as it starts
//   and "child end" as it ends in TPFW_STANDIN_SPANS.
// It also says whether its standard input is the null device (Unix only).

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::string utf8(const fs::path &path)
{
    const auto text = path.u8string();
    return std::string(text.begin(), text.end());
}

void appendRecord(const char *logPath, const std::vector<fs::path> &arguments)
{
    std::string record = std::to_string(arguments.size()) + '\0';
    for (const fs::path &argument : arguments)
        record += utf8(argument) + '\0';
    std::ofstream(logPath, std::ios::binary | std::ios::app) << record;
}

// Prints what became of one image; true when it could be flashed.
bool reportImage(const fs::path &path)
{
    std::error_code error;
    if (!fs::is_regular_file(path, error) || !std::ifstream(path)) {
        std::cout << utf8(path) << ": missing\n";
        return false;
    }
    std::cout << utf8(path) << ": " << fs::file_size(path, error) << " bytes\n";
    return true;
}

// Works for the given time, saying so now and then: every 100 ms, or in the
// given number of even steps with their share done.
void work(double seconds, int ticks)
{
    const auto start = std::chrono::steady_clock::now();
    const auto span = std::chrono::duration<double>(seconds);
    if (ticks > 0) {
        for (int k = 1; k <= ticks; ++k) {
            std::this_thread::sleep_until(
                start + std::chrono::duration_cast<std::chrono::nanoseconds>(span * k / ticks));
            std::cout << "writing block " << k << '/' << ticks << " (" << k * 100 / ticks << "%)\n"
                      << std::flush;
        }
        return;
    }
    while (std::chrono::steady_clock::now() < start + span) {
        std::cout << "writing the panel...\n" << std::flush;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

[[noreturn]] void crash(const std::string &how)
{
#ifdef _WIN32
    // What the runtime's fast fail ends a process with, without a debugger
    // prompt.
    (void)how;
    TerminateProcess(GetCurrentProcess(), 0xC0000409);
#else
    if (how == "kill")
        raise(SIGKILL);
#ifndef __SANITIZE_ADDRESS__
    // Not under AddressSanitizer: its shadow memory would make the dump huge.
    if (how == "dump") {
        const rlimit unlimited {RLIM_INFINITY, RLIM_INFINITY};
        setrlimit(RLIMIT_CORE, &unlimited);
    }
#endif
#endif
    std::abort();
}

void reportInput()
{
#ifndef _WIN32
    struct stat input
    {
    };
    const bool null = fstat(0, &input) == 0 && S_ISCHR(input.st_mode) && input.st_rdev == makedev(1, 3);
    std::cout << "stdin: " << (null ? "the null device" : "not the null device") << '\n';
#endif
}

void noteSpan(const char *word)
{
    if (const char *spans = std::getenv("TPFW_STANDIN_SPANS"))
        std::ofstream(spans, std::ios::binary | std::ios::app) << word << '\n';
}

#ifndef _WIN32
void respawnWorkers(double seconds)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    pid_t worker = 0;
    while (std::chrono::steady_clock::now() < until) {
        const pid_t next = fork();
        if (next == 0) {
            std::this_thread::sleep_until(until);
            _exit(0);
        }
        if (worker > 0) {
            kill(worker, SIGKILL);
            waitpid(worker, nullptr, 0);
        }
        worker = next;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    waitpid(worker, nullptr, 0);
}

void leaveAChild(const std::string &how)
{
    const bool daemon = how == "daemon";
    if (daemon)
        closefrom(3);
    if (fork() != 0)
        return;
    if (how == "setsid" || daemon)
        setsid();
    if (daemon)
        closefrom(0);
    noteSpan(("child " + std::to_string(getpid())).c_str());
    const char *given = std::getenv("TPFW_STANDIN_CHILD_SECONDS");
    const double seconds = given ? std::atof(given) : 2.0;
    if (how == "respawn")
        respawnWorkers(seconds);
    else
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    noteSpan("child end");
    _exit(0);
}
#endif

int run(const std::vector<fs::path> &arguments)
{
    if (const char *output = std::getenv("TPFW_STANDIN_OUTPUT"))
        std::cout << std::ifstream(output, std::ios::binary).rdbuf() << std::flush;
#ifndef _WIN32
    if (const char *child = std::getenv("TPFW_STANDIN_CHILD"))
        leaveAChild(child);
#endif
    std::cout << "working folder: " << utf8(fs::current_path()) << '\n';
    reportInput();
    if (const char *seconds = std::getenv("TPFW_STANDIN_SECONDS"))
        work(std::atof(seconds),
             std::getenv("TPFW_STANDIN_TICKS") ? std::atoi(std::getenv("TPFW_STANDIN_TICKS")) : 0);
    if (const char *until = std::getenv("TPFW_STANDIN_UNTIL"))
        while (!fs::exists(fs::u8path(until)))
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (arguments.empty()) {
        std::cerr << "usage: PanelProg IMAGE... SWITCH\n";
        return 2;
    }
    bool allFound = true;
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i)
        allFound = reportImage(arguments[i]) && allFound;
    std::cout << "switch: " << utf8(arguments.back()) << '\n'
              << "PanelProg stand-in: would flash " << arguments.size() - 1
              << " image(s); no panel was touched\n"
              << std::flush;
    const std::string exitWith = std::getenv("TPFW_STANDIN_EXIT") ? std::getenv("TPFW_STANDIN_EXIT") : "";
    if (exitWith == "crash" || exitWith == "dump" || exitWith == "kill")
        crash(exitWith);
    if (!exitWith.empty()) {
        const int code = std::atoi(exitWith.c_str());
        if (code != 0)
            std::cerr << "PanelProg stand-in: failing with exit code " << code << '\n';
        return code;
    }
    return allFound ? 0 : 1;
}

} // namespace

#ifdef _WIN32
// The wide arguments: main's are in the ANSI code page, which cannot hold
// every name an image may have.
int wmain(int argc, wchar_t *argv[])
#else
int main(int argc, char *argv[])
#endif
{
#ifndef _WIN32
    if (std::getenv("TPFW_STANDIN_IGNORE_TERM"))
        signal(SIGTERM, SIG_IGN);
#endif
    noteSpan("start");
    const std::vector<fs::path> arguments(argv + 1, argv + argc);
    const int code = run(arguments);
    noteSpan("end");
    if (const char *logPath = std::getenv("TPFW_UPDATER_LOG"))
        appendRecord(logPath, arguments);
    return code;
}
