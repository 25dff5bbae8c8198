#pragma once

// What the benches that time the real program in a process of its own share: a private Xvfb, the
// program started on a file in a folder of its own, the processes' run time and the wait until
// they rest, the program's window found by its title and keys typed into it through XTest. Every
// process started here is ended by its PID on every way out (EndChildren, Fail).

#include <X11/Xlib.h>
#include <sys/types.h>

#include <string>
#include <vector>

#include "bench/support/BenchProgram.h"

namespace bench {

// Ends every process started here that has not been waited for, by its PID.
void EndChildren();
// Prints the bench's name and what failed, ends the children and exits with 1.
[[noreturn]] void Fail(const char* bench, const char* what);

// A private X server; its display number. name is the bench's, for Fail.
pid_t StartXvfb(const char* name, int& number);

// The program run in folder (also its HOME) on the file, its output in folder/stderr.txt. With a
// perf output the program runs under `perf record --call-graph dwarf` from its first instruction:
// the PID returned is perf's, which ends when the program does, and ProgramOf finds the program's.
pid_t StartProgram(const char* program, const std::string& folder, const std::string& file,
                   const char* perfOutput = nullptr);
// The first child of a process started here (waits for it to appear), or the process itself when
// it was started without perf.
pid_t ProgramOf(pid_t started, const char* perfOutput);

// perf recording the process into output with call graphs; 0 without an output. StopPerf ends
// it and waits for it.
pid_t StartPerf(pid_t pid, const char* output);
void StopPerf(pid_t perf);

// Waits for a process started here; its exit status, -1 when it was killed.
int WaitFor(pid_t pid);
// Forgets a process that has been waited for.
void Forget(pid_t pid);

// Nanoseconds the process has run on a processor; -1 once it is gone.
long long RunTime(pid_t pid);
// The process's resident memory in bytes, now and at its peak; 0 when it cannot be read.
long long ResidentBytes(pid_t pid);
long long PeakResidentBytes(pid_t pid);

// Polls until none of the processes has run for quietMs; the seconds since start at which the
// last of them stopped running, or at which done() first held when that was later. Fails after
// limit seconds.
template <typename Done>
double UntilIdle(const char* name, Clock::time_point start, const std::vector<pid_t>& pids,
                 int quietMs, double limit, Done done);

// The first window below window whose name begins with prefix, or 0; the window skip and the
// windows below it are not looked at.
Window FindByName(Display* display, Window window, const char* prefix, Window skip = 0);
// Whether the window's name begins with prefix.
bool HasName(Display* display, Window window, const char* prefix);
// Gives the window the pointer and the focus, so that typed keys reach it.
void FocusWindow(Display* display, Window window);
// Control and the key of the keysym, pressed and released through XTest.
void TypeControl(Display* display, unsigned long keysym);

void SleepMs(int ms);

template <typename Done>
double UntilIdle(const char* name, Clock::time_point start, const std::vector<pid_t>& pids,
                 int quietMs, double limit, Done done) {
    std::vector<long long> last(pids.size(), -1);
    Clock::time_point lastChange = Clock::now();
    double doneAt = -1;
    for (;;) {
        bool changed = false;
        for (size_t i = 0; i < pids.size(); i++) {
            const long long now = RunTime(pids[i]);
            if (now != last[i]) changed = true;
            last[i] = now;
        }
        const Clock::time_point now = Clock::now();
        if (changed) lastChange = now;
        if (doneAt < 0 && done()) doneAt = Since(start);
        if (doneAt >= 0 && now - lastChange > std::chrono::milliseconds(quietMs)) break;
        if (Since(start) > limit) Fail(name, "the program never became idle");
        SleepMs(0);
    }
    const double rested = std::chrono::duration<double>(lastChange - start).count();
    return doneAt > rested ? doneAt : rested;
}

} // namespace bench
