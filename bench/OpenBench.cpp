// Opening a large architecture the way a user waits for it: the real program is started on the
// file in a fresh process under a private Xvfb (`quiran file.arc`), and the time runs from the
// command line until the main window shows the file's title and both the program and the X server
// are idle (no CPU time for kQuietMs). Then Ctrl-Q quits it, timed until the process has ended.
// Files of 1 000, 10 000, 100 000 and 1 000 000 elements: bars of 10 wired INPUT, MASK, JOIN and
// OUTPUT elements on 16 x 16 planes, every element on the working area, written by the program's
// own writer. The floor, measured in the same run just before each open, is reading the same file
// with plain POSIX read into a 1 MiB buffer and finding its lines with memchr. The 1 000-element
// open is the program's start-up cost. Beside it, the in-process LoadFile of the same file in this
// process, whose heap is warm from the rounds before (what WindowBench times).
// The environment variable QUIRAN_BENCH_PROGRAM names another build of the program to time, for a
// comparison on the same files.
// Usage: OpenBench [rounds] [largest element count] [perf output] (with a perf output one more
// open of the largest file, before the rounds, is recorded by perf from the program's
// start to its end).

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <X11/keysym.h>
#include <Xm/Xm.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/BenchProcess.h"
#include "bench/support/BenchProgram.h"
#include "shell/FileSelection.h"
#include "shell/MainWindow.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::Since;

const char* const kName = "OpenBench";
const int kQuietMs = 150;
const double kTargetRatio = 12; // at 100 000 elements
const int kSizes[] = {1000, 10000, 100000, 1000000};

// The plain read of the file: 1 MiB at a time, every line found. Seconds.
double ReadFloor(const std::string& path, long long& lines) {
    std::unique_ptr<char[]> buffer(new char[1 << 20]);
    const Clock::time_point start = Clock::now();
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0) bench::Fail(kName, "open");
    lines = 0;
    for (;;) {
        const ssize_t n = read(fd, buffer.get(), 1 << 20);
        if (n < 0) bench::Fail(kName, "read");
        if (n == 0) break;
        const char* p = buffer.get();
        const char* end = p + n;
        while ((p = static_cast<const char*>(std::memchr(p, '\n', end - p))) != nullptr) {
            lines++;
            p++;
        }
    }
    close(fd);
    return Since(start);
}

long long FileBytes(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 ? static_cast<long long>(status.st_size) : 0;
}

struct Rounds {
    // cpu and server: the seconds the program and the X server ran on a processor in the open.
    std::vector<double> open, floor, ratio, quit, inProcess, cpu, server;
    std::vector<long long> resident;
};

// One open of the file through the program and its quit; the program's resident memory once it
// rests. The window's title names the file from HOME, the folder.
// The bench's own main window, whose title also begins with "QUIRAN Pro".
Window gOwnWindow = 0;

void OpenAndQuit(Display* x, pid_t xvfb, const std::string& folder, const std::string& file,
                 const std::string& title, const char* perfOutput, Rounds& rounds) {
    // Each open starts on a server at rest, whatever the round before left it doing.
    bench::UntilIdle(kName, Clock::now(), {xvfb}, kQuietMs, 60, [] { return true; });
    const long long serverBefore = bench::RunTime(xvfb);
    const Clock::time_point start = Clock::now();
    const char* other = std::getenv("QUIRAN_BENCH_PROGRAM");
    const pid_t started = bench::StartProgram(other != nullptr ? other : QUIRAN_PROGRAM, folder,
                                              folder + "/" + file, perfOutput);
    const pid_t program = bench::ProgramOf(started, perfOutput);
    // The main window is found once, by the blank title it shows before the load, and then only
    // its title is asked for: walking the window tree at every poll would keep the server busy
    // and slow the program it times.
    Window window = 0;
    Clock::time_point searched = start;
    const double open = bench::UntilIdle(kName, start, {program, xvfb}, kQuietMs, 600, [&] {
        if (window == 0) {
            if (Since(searched) < 0.005) return false;
            searched = Clock::now();
            window = bench::FindByName(x, DefaultRootWindow(x), "QUIRAN Pro", gOwnWindow);
            if (window == 0) return false;
        }
        return bench::HasName(x, window, title.c_str());
    });
    rounds.open.push_back(open);
    rounds.cpu.push_back(static_cast<double>(bench::RunTime(program)) * 1e-9);
    rounds.server.push_back(static_cast<double>(bench::RunTime(xvfb) - serverBefore) * 1e-9);
    rounds.resident.push_back(bench::ResidentBytes(program));

    bench::FocusWindow(x, window);
    const Clock::time_point quit = Clock::now();
    bench::TypeControl(x, XK_q);
    if (bench::WaitFor(started) != 0) bench::Fail(kName, "the program did not quit with status 0");
    rounds.quit.push_back(Since(quit));
    // The server takes the windows down after the program has gone; the next open must not find
    // this one's.
    while (bench::FindByName(x, DefaultRootWindow(x), "QUIRAN Pro", gOwnWindow) != 0) {
        if (Since(quit) > 60) bench::Fail(kName, "the program's window stayed");
        bench::SleepMs(5);
    }
}

void InProcess(MainWindow& main, const std::string& path, int count, Rounds& rounds) {
    const Clock::time_point start = Clock::now();
    if (LoadFile(main, path.c_str(), nullptr) != 0 || main.GetElements().GetCount() != count) {
        bench::Fail(kName, "the in-process load failed");
    }
    rounds.inProcess.push_back(Since(start));
    main.QueryQuit();
}

double MedianOf(const std::vector<long long>& values) {
    std::vector<double> doubles(values.begin(), values.end());
    return Median(doubles);
}

} // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
    if (rounds < 1) rounds = 1;
    const int largest = argc > 2 ? std::atoi(argv[2]) : 1000000;
    const char* perfOutput = argc > 3 ? argv[3] : nullptr;
    std::vector<int> sizes;
    for (int size : kSizes) {
        if (size <= largest) sizes.push_back(size);
    }
    if (sizes.empty()) bench::Fail(kName, "no size up to the largest");

    char folderName[] = "/tmp/quiran-openbench-XXXXXX";
    if (mkdtemp(folderName) == nullptr) bench::Fail(kName, "mkdtemp");
    const std::string folder = folderName;
    setenv("HOME", folderName, 1);
    std::atexit(bench::EndChildren);
    int number = 0;
    const pid_t xvfb = bench::StartXvfb(kName, number);
    const std::string display = ":" + std::to_string(number);
    setenv("DISPLAY", display.c_str(), 1);

    // This process's own windows write the files and load them in-process.
    XtAppContext app = nullptr;
    MainWindow* main = bench::OpenProgram(app);
    if (main == nullptr) bench::Fail(kName, "cannot open the display");
    gOwnWindow = XtWindow(main->GetShell());
    std::vector<std::string> files;
    for (int size : sizes) {
        files.push_back("bars" + std::to_string(size) + ".arc");
        bench::WriteChains(*main, size, folder + "/" + files.back(), true);
        main->Clear();
    }

    Display* x = XOpenDisplay(display.c_str());
    if (x == nullptr) bench::Fail(kName, "no second connection");
    // Windows come and go while the tree is walked.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });

    if (perfOutput != nullptr) {
        // Recorded apart from the rounds, whose figures perf would slow.
        Rounds recorded;
        const std::string& file = files.back();
        std::string output = perfOutput;
        if (output[0] != '/') {
            char here[4096];
            if (getcwd(here, sizeof here) == nullptr) bench::Fail(kName, "getcwd");
            output = std::string(here) + "/" + output;
        }
        OpenAndQuit(x, xvfb, folder, file, "QUIRAN Pro  ~/" + file, output.c_str(), recorded);
        std::printf("recorded the open of %d elements (%.3f s under perf) into %s\n", sizes.back(),
                    recorded.open[0], output.c_str());
    }
    std::vector<Rounds> measured(sizes.size());
    std::vector<long long> lines(sizes.size());
    for (int r = 0; r < rounds; r++) {
        for (size_t i = 0; i < sizes.size(); i++) {
            const std::string path = folder + "/" + files[i];
            const double floor = ReadFloor(path, lines[i]);
            measured[i].floor.push_back(floor);
            OpenAndQuit(x, xvfb, folder, files[i], "QUIRAN Pro  ~/" + files[i], nullptr,
                        measured[i]);
            measured[i].ratio.push_back(measured[i].open.back() / floor);
            InProcess(*main, path, sizes[i], measured[i]);
        }
    }

    std::printf("Open through the program in a fresh process (command line to idle with the title "
                "shown), median of %d interleaved rounds;\nfloor: POSIX read of the file into "
                "1 MiB and memchr of its lines, just before each open:\n",
                rounds);
    std::printf("  %9s %8s %8s %8s %7s %9s %10s %8s %9s %8s %9s\n", "elements", "MB", "open s",
                "floor s", "ratio", "us/elem", "beyond 1k", "RSS MB", "KB/elem", "quit s",
                "us/elem");
    const double startup = Median(measured[0].open);
    const double startupRss = MedianOf(measured[0].resident);
    const double startupQuit = Median(measured[0].quit);
    for (size_t i = 0; i < sizes.size(); i++) {
        const Rounds& m = measured[i];
        const double n = sizes[i];
        const double beyond = n - sizes[0];
        const double open = Median(m.open);
        const double rss = MedianOf(m.resident);
        const double quit = Median(m.quit);
        // Per element beyond the 1 000-element open, which is mostly start-up.
        char extra[32] = "-";
        char perRss[32] = "-";
        char perQuit[32] = "-";
        if (beyond > 0) {
            std::snprintf(extra, sizeof extra, "%.2f", (open - startup) / beyond * 1e6);
            std::snprintf(perRss, sizeof perRss, "%.2f", (rss - startupRss) / beyond / 1024);
            std::snprintf(perQuit, sizeof perQuit, "%.2f", (quit - startupQuit) / beyond * 1e6);
        }
        std::printf("  %9d %8.1f %8.3f %8.4f %7.1f %9.2f %10s %8.1f %9s %8.3f %9s\n", sizes[i],
                    static_cast<double>(FileBytes(folder + "/" + files[i])) / 1e6, open,
                    Median(m.floor), Median(m.ratio), open / n * 1e6, extra, rss / 1e6, perRss,
                    quit, perQuit);
    }
    std::printf("  start-up (the 1 000-element open): %.3f s, %.1f MB resident\n", startup,
                startupRss / 1e6);
    for (size_t i = 0; i < sizes.size(); i++) {
        if (sizes[i] == 100000) {
            std::printf("  open 100 000: %.1f x the floor (target at most %.0f x)\n",
                        Median(measured[i].ratio), kTargetRatio);
        }
    }
    std::printf("Where the open's time went (program and X server on a processor):\n");
    for (size_t i = 0; i < sizes.size(); i++) {
        std::printf("  %9d program %.3f s, X server %.3f s\n", sizes[i], Median(measured[i].cpu),
                    Median(measured[i].server));
    }
    std::printf("In-process LoadFile in this process (in-process, warm heap), to READY:\n");
    for (size_t i = 0; i < sizes.size(); i++) {
        const double inProcess = Median(measured[i].inProcess);
        std::printf("  %9d %8.3f s %7.1f x the floor; the program's open / in-process: %.2f\n",
                    sizes[i], inProcess, inProcess / Median(measured[i].floor),
                    Median(measured[i].open) / inProcess);
    }

    XCloseDisplay(x);
    bench::EndChildren();
    for (const std::string& file : files)
        unlink((folder + "/" + file).c_str());
    if (std::system(("rm -rf '" + folder + "'").c_str()) != 0) std::perror(folderName);
    std::fflush(stdout);
    std::_Exit(0);
}
