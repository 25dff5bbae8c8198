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

#include "model/data/Connection.h"
#include "model/elements/AInputElem.h"
#include "model/elements/AJoinElem.h"
#include "model/elements/AMaskElem.h"
#include "model/elements/AOutputElem.h"
#include "model/elements/ArchitectureGraphics.h"
#include "model/elements/PinCode.h"
#include "model/format/TextFormat.h"
#include "shell/DragContext.h"
#include "shell/DragDisplay.h"
#include "shell/FallbackResources.h"
#include "shell/FileSelection.h"
#include "shell/MainWindow.h"
#include "shell/OverviewWindow.h"
#include "shell/ShellElementUi.h"
#include "shell/Startup.h"
#include "shell/WindowMessage.h"
#include "toolkit/Colors.h"
#include "toolkit/MatrixDraw.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/ReadInt.h"

namespace {

using Clock = std::chrono::steady_clock;

const int kElements = 100000;
const int kQuietMs = 150;
const double kTarget = 0.5;

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

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

MessageResult Answer(Widget, MessageKind kind, const char*, const char*) {
    return kind == kMessageYesNo || kind == kMessageYesNoCancel ? kResultNo : kResultOk;
}

// The program's windows in this process, for making the file and for the in-process save.
MainWindow* OpenProgram() {
    static char name[] = "quiran";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    XtAppContext app = nullptr;
    InitLineBuffer();
    OpenDragDisplay(argc, argv);
    Widget topLevel = XtOpenApplication(&app, "QUIRAN", nullptr, 0, &argc, argv,
                                        const_cast<String*>(kFallbackResources),
                                        applicationShellWidgetClass, nullptr, 0);
    if (topLevel == nullptr) return nullptr;
    SetTopLevelShell(topLevel, app);
    InstallShellElementUi(topLevel);
    CreateStippleBitmap(topLevel);
    InitColors(topLevel);
    CreateMatrixGCs(topLevel);
    InitDragAndDrop();
    SetReadIntAppContext(app);
    CreateFileDialog();
    InitArchitectureGraphics();
    OverviewWindow::InitCursor(topLevel);
    SetWindowMessageFunction(Answer);
    MainWindow* main = new MainWindow(topLevel);
    SetMainWindow(main);
    XtRealizeWidget(topLevel);
    XmUpdateDisplay(topLevel);
    return main;
}

// Chains of INPUT, four MASK and four JOIN elements in turn, OUTPUT, one chain a row, written as
// the program writes an architecture file.
void WriteArchitecture(MainWindow& main, int count, const std::string& path) {
    const int kChain = 10;
    for (int c = 0; c < count / kChain; c++) {
        AElement* previous = nullptr;
        for (int k = 0; k < kChain; k++) {
            AElement* element;
            const int x = 20 + 70 * k, y = 20 + 70 * c;
            if (k == 0) {
                element = new AInputElem(&main, x, y);
            } else if (k == kChain - 1) {
                element = new AOutputElem(&main, x, y);
            } else if (k % 2 == 1) {
                element = new AMaskElem(&main, x, y);
            } else {
                element = new AJoinElem(&main, x, y);
            }
            element->CreateData();
            main.GetElements().Add(element);
            if (previous != nullptr) {
                main.GetConnections().Add(
                    new Connection(&main, previous, OutputPinCode(0), element, InputPinCode(0), 0));
            }
            previous = element;
        }
    }
    std::ofstream out(path, std::ios::binary);
    main.Write(out, 0, nullptr);
    main.ClearModified();
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

    MainWindow* main = OpenProgram();
    if (main == nullptr) Fail("cannot open the display");
    const std::string file = folder + "/large.arc";
    const std::string inProcessFile = folder + "/inprocess.arc";
    const std::string floorFile = folder + "/floor.arc";
    WriteArchitecture(*main, kElements, file);
    const std::string text = ReadAll(file);
    {
        std::ofstream(inProcessFile, std::ios::binary) << text;
        std::ofstream(floorFile, std::ios::binary) << text;
    }

    Display* x = XOpenDisplay(display.c_str());
    if (x == nullptr) Fail("no second connection");
    // Windows come and go while the tree is walked.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    const pid_t program = StartProgram(folder, file);
    gChildren[1] = program;
    Clock::time_point start = Clock::now();
    Window window = 0;
    while ((window = FindByName(x, DefaultRootWindow(x), "QUIRAN Pro  ~/large.arc")) == 0) {
        if (Since(start) > 120) Fail("the program did not open the file");
        usleep(20000);
    }
    const double open = UntilIdle(start, {program, xvfb}, [] { return true; });
    XWarpPointer(x, None, window, 0, 0, 0, 0, 200, 200);
    XSetInputFocus(x, window, RevertToParent, CurrentTime);
    XSync(x, False);

    pid_t perf = 0;
    if (perfOutput != nullptr) {
        perf = fork();
        gChildren[0] = perf;
        if (perf == 0) {
            const std::string pid = std::to_string(program);
            execlp("perf", "perf", "record", "-q", "-g", "-p", pid.c_str(), "-o", perfOutput,
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        sleep(1);
    }

    std::vector<double> through, inProcess, floor, cpu;
    for (int r = 0; r < rounds; r++) {
        const ino_t before = Inode(file);
        const long long ran = RunTime(program);
        start = Clock::now();
        CtrlS(x);
        through.push_back(UntilIdle(start, {program, xvfb}, [&] { return Inode(file) != before; }));
        cpu.push_back(static_cast<double>(RunTime(program) - ran) * 1e-9);
        if (ReadAll(file) != text) Fail("the program saved other bytes");

        main->SetModified();
        start = Clock::now();
        if (SaveFile(*main, inProcessFile.c_str()) != 0) Fail("the in-process save failed");
        inProcess.push_back(Since(start));

        floor.push_back(WriteFloor(text, floorFile));
    }
    if (perf != 0) {
        kill(perf, SIGINT);
        waitpid(perf, nullptr, 0);
        gChildren[0] = 0;
    }

    std::printf("Save %d elements (%zu bytes), median of %d interleaved rounds (program opened "
                "in %.2f s):\n",
                kElements, text.size(), rounds, open);
    const double floorSeconds = Median(floor);
    std::printf("  %-40s %7.3f s  (target at most %.1f s)  %5.2f x writing the bytes (%.3f s)\n",
                "Ctrl-S to replaced and idle (program)", Median(through), kTarget,
                Median(through) / floorSeconds, floorSeconds);
    std::printf("  %-40s %7.3f s                          %5.2f x writing the bytes\n",
                "in-process SaveFile", Median(inProcess), Median(inProcess) / floorSeconds);
    std::printf("  program / in-process: %.2f; the program ran %.3f s of the save on a processor\n",
                Median(through) / Median(inProcess), Median(cpu));

    XCloseDisplay(x);
    EndChildren();
    // perf keeps its build-id cache in HOME, the folder.
    if (std::system(("rm -rf '" + folder + "'").c_str()) != 0) std::perror(folderName);
    std::fflush(stdout);
    std::_Exit(0);
}
