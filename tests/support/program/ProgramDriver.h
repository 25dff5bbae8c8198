#pragma once

// What the end-to-end tests share for driving the real program: a scratch folder for a run (its
// working folder and HOME), starting the program with its environment and waiting for it,
// waiting until something holds, shell commands such as xdotool, and the files a run writes.

#include <sys/resource.h>
#include <sys/types.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

const int kTimeoutMs = 15000;

// The whole file, "" when it cannot be read.
std::string ReadAll(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
bool Exists(const std::string& path);

// How many times longer every step of the program takes than in a plain build: 3 for a sanitized
// one (its options are set in the environment), else 1. Deadlines are multiplied by it.
int Slowness();

void SleepMs(int ms);
// Sleeps ms times Slowness(): pacing that a slower build needs longer.
void SleepScaledMs(int ms);
// Polls every 50 ms until done() holds or the time is up; returns done().
bool WaitFor(const std::function<bool()>& done, int timeoutMs = kTimeoutMs);

// Waits until the process has used no processor time for quietMs on end: it waits for input.
// False when it never rests so long within timeoutMs, or is gone.
bool WaitIdle(pid_t pid, int quietMs = 200, int timeoutMs = kTimeoutMs);

// The standard output of a shell command.
std::string Command(const std::string& command);
// xdotool with the arguments; its exit status.
int Xdo(const std::string& arguments);
// Keys typed into the window (an id xdotool takes; xdotool key names, such as "ctrl+s" or
// "Return"), delayMs apart, once it has the focus.
void TypeKeys(const std::string& window, const std::string& keys, int delayMs);

// A fresh folder below /tmp made from pattern ("...XXXXXX"), removed with all it holds when the
// object goes; empty when it could not be made.
class ScratchFolder {
public:
    explicit ScratchFolder(const char* pattern);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Get() const { return dir; }
    std::string Path(const std::string& name) const { return dir + "/" + name; }

private:
    std::string dir;
};

// How a run starts: HOME, the working folder and the standard error file ("" keeps the test's),
// more variables in order, a bound on the address space in bytes (0: none) and more resource
// limits (setrlimit resources with the soft and hard bound they get).
struct ProgramSetup {
    std::string home;
    std::string workingFolder;
    std::string stderrPath;
    std::vector<std::pair<std::string, std::string>> environment;
    rlim_t addressLimit = 0;
    std::vector<std::pair<int, rlim_t>> limits;
};

// A run in folder, which is its HOME and its working folder, with its standard error in the
// folder's file stderrName.
ProgramSetup SetupIn(const ScratchFolder& folder, const std::string& stderrName = "stderr.txt");
// The argument vector of path run with args: path itself, then args.
std::vector<std::string> ArgvOf(const char* path, const std::vector<std::string>& args);

// Has the program write every message box it shows to logPath, through the preloaded library; a
// sanitized program is told to accept a library loaded before its runtime.
void LogMessages(ProgramSetup& setup, const std::string& logPath, const char* library);

// One run of a program; killed when the object goes while it still runs.
class ProgramRun {
public:
    ProgramRun() = default;
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Starts path with argv (argv[0] included); false when no process could be made. A child
    // that cannot set up its run exits with 120 (working folder), 121 (standard error), 122
    // (a resource limit) or 123 (exec).
    bool Start(const char* path, const std::vector<std::string>& argv, const ProgramSetup& setup);
    // Waits for the process to end; returns its wait status, or -1 when it is still running.
    int Wait(int timeoutMs = kTimeoutMs);
    bool Running();
    // Ends the process: SIGTERM, and SIGKILL when it has not ended graceMs later (at once for
    // 0); reaped.
    void Stop(int graceMs);
    pid_t Pid() const { return pid; }

private:
    pid_t pid = 0;
};

} // namespace e2e
