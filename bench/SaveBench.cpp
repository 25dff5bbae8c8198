// Saving 100 000 elements the way a user waits for it: the real program, started on the file
// under a private Xvfb, gets Ctrl-S from the keyboard (XTest), and the time runs until the file
// has been replaced and both the program and the X server are idle again (no CPU time for
// kQuietMs). Floors, measured in the same run, interleaved with it: writing the same bytes into a
// new file, synced and renamed over the old one (what any safe save costs), and the in-process
// SaveFile of the same architecture. Usage: SaveBench [rounds] [perf-output] (with a second
// argument the program's rounds are recorded by `perf record -g`).

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <Xm/Xm.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
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

const int kElements = 100000;
const int kQuietMs = 150;
const double kTarget = 0.5;

void Fail(const char* what) {
    bench::Fail("SaveBench", what);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ino_t Inode(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 ? status.st_ino : 0;
}

// Polls until none of the processes has run for kQuietMs (see bench::UntilIdle).
template <typename Done>
double UntilIdle(Clock::time_point start, const std::vector<pid_t>& pids, Done done) {
    return bench::UntilIdle("SaveBench", start, pids, kQuietMs, 120, done);
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
    program = bench::StartProgram(QUIRAN_PROGRAM, folder, file);
    const Clock::time_point start = Clock::now();
    Window window = 0;
    while ((window = bench::FindByName(x, DefaultRootWindow(x), "QUIRAN Pro  ~/large.arc")) == 0) {
        if (Since(start) > 120) Fail("the program did not open the file");
        usleep(20000);
    }
    const double open = UntilIdle(start, {program, xvfb}, [] { return true; });
    bench::FocusWindow(x, window);
    return open;
}

// Each round: Ctrl-S in the program, the in-process save, the floor, in turn.
Rounds Measure(Display* x, pid_t xvfb, pid_t program, MainWindow& main, const Files& files,
               const std::string& text, int count) {
    Rounds rounds;
    for (int r = 0; r < count; r++) {
        const ino_t before = Inode(files.saved);
        const long long ran = bench::RunTime(program);
        Clock::time_point start = Clock::now();
        bench::TypeControl(x, XK_s);
        rounds.through.push_back(
            UntilIdle(start, {program, xvfb}, [&] { return Inode(files.saved) != before; }));
        rounds.cpu.push_back(static_cast<double>(bench::RunTime(program) - ran) * 1e-9);
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
    std::atexit(bench::EndChildren);
    int number = 0;
    const pid_t xvfb = bench::StartXvfb("SaveBench", number);
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
    const pid_t perf = bench::StartPerf(program, perfOutput);
    const Rounds measured = Measure(x, xvfb, program, *main, files, text, rounds);
    bench::StopPerf(perf);
    Report(measured, text.size(), rounds, open);

    XCloseDisplay(x);
    bench::EndChildren();
    // perf keeps its build-id cache in HOME, the folder.
    if (std::system(("rm -rf '" + folder + "'").c_str()) != 0) std::perror(folderName);
    std::fflush(stdout);
    std::_Exit(0);
}
