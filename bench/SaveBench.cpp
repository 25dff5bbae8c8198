// Saving 100 000 elements the way a user waits for it: the real program, started on the file
// under a private Xvfb, gets Ctrl-S from the keyboard (XTest), and the time runs until the file
// has been replaced and both the program and the X server are idle again (no CPU time for
// kQuietMs). Floors, measured in the same run, interleaved with it: writing the same bytes into a
// new file, synced and renamed over the old one (what any safe save costs), and the in-process
// SaveFile of the same architecture. Usage: SaveBench [rounds] [perf-output] (with a second
// argument the program's rounds are recorded by `perf record -g`).

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <Xm/Xm.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/support/BenchProgram.h"
#include "shell/FileSelection.h"
#include "shell/MainWindow.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::Since;

const int kElements = 100000;
const int kQuietMs = 150;
const double kTarget = 0.5;

// What the bench started, ended on every way out.
pid_t gChildren[3] = {0, 0, 0};

void EndChildren() {
    for (pid_t& pid : gChildren) {
        if (pid <= 0) continue;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        pid = 0;
    }
}

void Fail(const char* what) {
    std::printf("SaveBench: %s\n", what);
    EndChildren();
    std::fflush(stdout);
    std::_Exit(1);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Nanoseconds the process has run on a processor.
long long RunTime(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/schedstat");
    long long ns = -1;
    in >> ns;
    return ns;
}

ino_t Inode(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 ? status.st_ino : 0;
}

// Polls until none of the processes has run for kQuietMs; the time since start at which the last
// of them stopped running, or at which done() first held when that was later.
template <typename Done>
double UntilIdle(Clock::time_point start, const std::vector<pid_t>& pids, Done done) {
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
        if (doneAt >= 0 && now - lastChange > std::chrono::milliseconds(kQuietMs)) break;
        if (Since(start) > 120) Fail("the program never became idle");
        usleep(500);
    }
    return std::max(doneAt, std::chrono::duration<double>(lastChange - start).count());
}

// A private X server; its display number.
pid_t StartXvfb(int& number) {
    int fds[2];
    if (pipe(fds) != 0) Fail("pipe");
    const pid_t pid = fork();
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
    close(fds[1]);
    char text[32] = {};
    ssize_t got = 0;
    while (got < static_cast<ssize_t>(sizeof text) - 1) {
        const ssize_t n = read(fds[0], text + got, sizeof text - 1 - got);
        if (n <= 0 || std::strchr(text, '\n') != nullptr) break;
        got += n;
    }
    close(fds[0]);
    if (text[0] == '\0') Fail("Xvfb did not start");
    number = std::atoi(text);
    return pid;
}

pid_t StartProgram(const std::string& folder, const std::string& file) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0) _exit(120);
        setenv("HOME", folder.c_str(), 1);
        const int out = open((folder + "/stderr.txt").c_str(), O_WRONLY | O_CREAT, 0644);
        dup2(out, 1);
        dup2(out, 2);
        execl(QUIRAN_PROGRAM, QUIRAN_PROGRAM, file.c_str(), static_cast<char*>(nullptr));
        _exit(123);
    }
    return pid;
}

Window FindByName(Display* display, Window window, const char* prefix) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name != nullptr) {
        const bool match = std::strncmp(name, prefix, std::strlen(prefix)) == 0;
        XFree(name);
        if (match) return window;
    }
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; i++)
        found = FindByName(display, children[i], prefix);
    if (children != nullptr) XFree(children);
    return found;
}

void CtrlS(Display* display) {
    const unsigned control = XKeysymToKeycode(display, XK_Control_L);
    const unsigned s = XKeysymToKeycode(display, XK_s);
    XTestFakeKeyEvent(display, control, True, 0);
    XTestFakeKeyEvent(display, s, True, 0);
    XTestFakeKeyEvent(display, s, False, 0);
    XTestFakeKeyEvent(display, control, False, 0);
    XFlush(display);
}

// Writing the bytes into a new file beside the target, synced, renamed over it.
double WriteFloor(const std::string& text, const std::string& path) {
    const std::string temp = path + ".new";
    const Clock::time_point start = Clock::now();
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) Fail("open");
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0) Fail("write");
        done += static_cast<size_t>(n);
    }
    if (fsync(fd) != 0 || close(fd) != 0 || rename(temp.c_str(), path.c_str()) != 0) Fail("sync");
    return Since(start);
}

// The files of a run, in the bench's folder: the one the program saves, the one the in-process
// save writes and the floor's.
struct Files {
    std::string saved;
    std::string inProcess;
    std::string floor;
};

struct Rounds {
    std::vector<double> through, inProcess, floor, cpu;
};

// Starts the program on the file and waits until it shows it and rests; the seconds that took.
// The window gets the pointer and the focus, so that typed keys reach it.
double OpenInProgram(Display* x, pid_t xvfb, const std::string& folder, const std::string& file,
                     pid_t& program) {
    program = StartProgram(folder, file);
    gChildren[1] = program;
    const Clock::time_point start = Clock::now();
    Window window = 0;
    while ((window = FindByName(x, DefaultRootWindow(x), "QUIRAN Pro  ~/large.arc")) == 0) {
        if (Since(start) > 120) Fail("the program did not open the file");
        usleep(20000);
    }
    const double open = UntilIdle(start, {program, xvfb}, [] { return true; });
    XWarpPointer(x, None, window, 0, 0, 0, 0, 200, 200);
    XSetInputFocus(x, window, RevertToParent, CurrentTime);
    XSync(x, False);
    return open;
}

// perf recording the program into output; 0 without an output.
pid_t StartPerf(pid_t program, const char* output) {
    if (output == nullptr) return 0;
    const pid_t perf = fork();
    gChildren[0] = perf;
    if (perf == 0) {
        const std::string pid = std::to_string(program);
        execlp("perf", "perf", "record", "-q", "-g", "-p", pid.c_str(), "-o", output,
               static_cast<char*>(nullptr));
        _exit(127);
    }
    sleep(1);
    return perf;
}

void StopPerf(pid_t perf) {
    if (perf == 0) return;
    kill(perf, SIGINT);
    waitpid(perf, nullptr, 0);
    gChildren[0] = 0;
}

// Each round: Ctrl-S in the program, the in-process save, the floor, in turn.
Rounds Measure(Display* x, pid_t xvfb, pid_t program, MainWindow& main, const Files& files,
               const std::string& text, int count) {
    Rounds rounds;
    for (int r = 0; r < count; r++) {
        const ino_t before = Inode(files.saved);
        const long long ran = RunTime(program);
        Clock::time_point start = Clock::now();
        CtrlS(x);
        rounds.through.push_back(
            UntilIdle(start, {program, xvfb}, [&] { return Inode(files.saved) != before; }));
        rounds.cpu.push_back(static_cast<double>(RunTime(program) - ran) * 1e-9);
        if (ReadAll(files.saved) != text) Fail("the program saved other bytes");

        main.SetModified();
        start = Clock::now();
        if (SaveFile(main, files.inProcess.c_str()) != 0) Fail("the in-process save failed");
        rounds.inProcess.push_back(Since(start));

        rounds.floor.push_back(WriteFloor(text, files.floor));
    }
    return rounds;
}

void Report(const Rounds& rounds, size_t bytes, int count, double open) {
    std::printf("Save %d elements (%zu bytes), median of %d interleaved rounds (program opened "
                "in %.2f s):\n",
                kElements, bytes, count, open);
    const double through = Median(rounds.through);
    const double inProcess = Median(rounds.inProcess);
    const double floorSeconds = Median(rounds.floor);
    std::printf("  %-40s %7.3f s  (target at most %.1f s)  %5.2f x writing the bytes (%.3f s)\n",
                "Ctrl-S to replaced and idle (program)", through, kTarget, through / floorSeconds,
                floorSeconds);
    std::printf("  %-40s %7.3f s                          %5.2f x writing the bytes\n",
                "in-process SaveFile", inProcess, inProcess / floorSeconds);
    std::printf("  program / in-process: %.2f; the program ran %.3f s of the save on a processor\n",
                through / inProcess, Median(rounds.cpu));
}

} // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    if (rounds < 1) rounds = 1;
    const char* perfOutput = argc > 2 ? argv[2] : nullptr;
    char folderName[] = "/tmp/quiran-savebench-XXXXXX";
    if (mkdtemp(folderName) == nullptr) Fail("mkdtemp");
    const std::string folder = folderName;
    setenv("HOME", folderName, 1);

    // Xlib exits on a lost connection: what was started goes then too.
    std::atexit(EndChildren);
    int number = 0;
    const pid_t xvfb = StartXvfb(number);
    gChildren[2] = xvfb;
    const std::string display = ":" + std::to_string(number);
    setenv("DISPLAY", display.c_str(), 1);

    // The program's windows in this process make the file and save it in-process.
    XtAppContext app = nullptr;
    MainWindow* main = bench::OpenProgram(app);
    if (main == nullptr) Fail("cannot open the display");
    const Files files = {folder + "/large.arc", folder + "/inprocess.arc", folder + "/floor.arc"};
    bench::WriteChains(*main, kElements, files.saved);
    const std::string text = ReadAll(files.saved);
    std::ofstream(files.inProcess, std::ios::binary) << text;
    std::ofstream(files.floor, std::ios::binary) << text;

    Display* x = XOpenDisplay(display.c_str());
    if (x == nullptr) Fail("no second connection");
    // Windows come and go while the tree is walked.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    pid_t program = 0;
    const double open = OpenInProgram(x, xvfb, folder, files.saved, program);
    const pid_t perf = StartPerf(program, perfOutput);
    const Rounds measured = Measure(x, xvfb, program, *main, files, text, rounds);
    StopPerf(perf);
    Report(measured, text.size(), rounds, open);

    XCloseDisplay(x);
    EndChildren();
    // perf keeps its build-id cache in HOME, the folder.
    if (std::system(("rm -rf '" + folder + "'").c_str()) != 0) std::perror(folderName);
    std::fflush(stdout);
    std::_Exit(0);
}
