#include "bench/support/BenchProcess.h"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace bench {

namespace {

// What was started here and not yet waited for.
std::vector<pid_t> gChildren;

void Track(pid_t pid) {
    if (pid > 0) gChildren.push_back(pid);
}

// A "Name:   123 kB" line of /proc/pid/status, in bytes.
long long StatusBytes(pid_t pid, const char* key) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const size_t length = std::strlen(key);
    while (std::getline(in, line)) {
        if (line.compare(0, length, key) == 0) return std::atoll(line.c_str() + length) * 1024;
    }
    return 0;
}

} // namespace

void EndChildren() {
    // Last started first: perf before the program it records, the program before its server.
    while (!gChildren.empty()) {
        const pid_t pid = gChildren.back();
        gChildren.pop_back();
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}

void Fail(const char* bench, const char* what) {
    std::printf("%s: %s\n", bench, what);
    EndChildren();
    std::fflush(stdout);
    std::_Exit(1);
}

pid_t StartXvfb(const char* name, int& number) {
    int fds[2];
    if (pipe(fds) != 0) Fail(name, "pipe");
    const pid_t pid = fork();
    if (pid < 0) Fail(name, "fork");
    if (pid == 0) {
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    Track(pid);
    close(fds[1]);
    char text[32] = {};
    ssize_t got = 0;
    while (got < static_cast<ssize_t>(sizeof text) - 1) {
        const ssize_t n = read(fds[0], text + got, sizeof text - 1 - got);
        if (n <= 0 || std::strchr(text, '\n') != nullptr) break;
        got += n;
    }
    close(fds[0]);
    if (text[0] == '\0') Fail(name, "Xvfb did not start");
    number = std::atoi(text);
    return pid;
}

pid_t StartProgram(const char* program, const std::string& folder, const std::string& file,
                   const char* perfOutput) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0) _exit(120);
        setenv("HOME", folder.c_str(), 1);
        const int out = open((folder + "/stderr.txt").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        dup2(out, 1);
        dup2(out, 2);
        if (perfOutput != nullptr) {
            // The program is built without frame pointers: its stacks are unwound from DWARF.
            execlp("perf", "perf", "record", "-q", "--call-graph", "dwarf", "-o", perfOutput, "--",
                   program, file.c_str(), static_cast<char*>(nullptr));
        } else {
            execl(program, program, file.c_str(), static_cast<char*>(nullptr));
        }
        _exit(123);
    }
    Track(pid);
    return pid;
}

pid_t ProgramOf(pid_t started, const char* perfOutput) {
    if (perfOutput == nullptr) return started;
    const std::string children =
        "/proc/" + std::to_string(started) + "/task/" + std::to_string(started) + "/children";
    for (int tries = 0; tries < 10000; tries++) {
        std::ifstream in(children);
        pid_t child = 0;
        if (in >> child && child > 0) return child;
        SleepMs(1);
    }
    Fail("bench", "perf started no program");
}

pid_t StartPerf(pid_t pid, const char* output) {
    if (output == nullptr) return 0;
    const pid_t perf = fork();
    if (perf == 0) {
        const std::string text = std::to_string(pid);
        execlp("perf", "perf", "record", "-q", "-g", "-p", text.c_str(), "-o", output,
               static_cast<char*>(nullptr));
        _exit(127);
    }
    Track(perf);
    SleepMs(1000);
    return perf;
}

void StopPerf(pid_t perf) {
    if (perf <= 0) return;
    kill(perf, SIGINT);
    WaitFor(perf);
}

int WaitFor(pid_t pid) {
    int status = 0;
    const pid_t done = waitpid(pid, &status, 0);
    Forget(pid);
    if (done != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

void Forget(pid_t pid) {
    for (size_t i = 0; i < gChildren.size(); i++) {
        if (gChildren[i] == pid) {
            gChildren.erase(gChildren.begin() + static_cast<long>(i));
            return;
        }
    }
}

long long RunTime(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/schedstat");
    long long ns = -1;
    in >> ns;
    return ns;
}

long long ResidentBytes(pid_t pid) {
    return StatusBytes(pid, "VmRSS:");
}

long long PeakResidentBytes(pid_t pid) {
    return StatusBytes(pid, "VmHWM:");
}

bool HasName(Display* display, Window window, const char* prefix) {
    char* name = nullptr;
    if (!XFetchName(display, window, &name) || name == nullptr) return false;
    const bool match = std::strncmp(name, prefix, std::strlen(prefix)) == 0;
    XFree(name);
    return match;
}

Window FindByName(Display* display, Window window, const char* prefix, Window skip) {
    if (window == skip) return 0;
    if (HasName(display, window, prefix)) return window;
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; i++)
        found = FindByName(display, children[i], prefix, skip);
    if (children != nullptr) XFree(children);
    return found;
}

void FocusWindow(Display* display, Window window) {
    XWarpPointer(display, None, window, 0, 0, 0, 0, 200, 200);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
}

void TypeControl(Display* display, unsigned long keysym) {
    const unsigned control = XKeysymToKeycode(display, XK_Control_L);
    const unsigned key = XKeysymToKeycode(display, keysym);
    XTestFakeKeyEvent(display, control, True, 0);
    XTestFakeKeyEvent(display, key, True, 0);
    XTestFakeKeyEvent(display, key, False, 0);
    XTestFakeKeyEvent(display, control, False, 0);
    XFlush(display);
}

void SleepMs(int ms) {
    usleep(ms > 0 ? static_cast<useconds_t>(ms) * 1000 : 500);
}

} // namespace bench
