// The real program with an architecture of several C++ elements, ended every way it can end: a
// SIGKILL, a plain kill (SIGTERM), a logout (SIGHUP), Ctrl-C (SIGINT) and Quit. Each run is in an
// IPC namespace of its own, so that `ipcs` shows only the program's semaphore sets and segment;
// within 5 seconds no client may run, no IPC object and no private folder may be left (after a
// SIGKILL the next start removes the folder). What a client's code forks goes with the client,
// at a reset of the simulation and at the program's end.

// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/ArchitectureText.h"
#include "tests/support/program/IpcNamespace.h"
#include "tests/support/program/ProgramDriver.h"
#include "tests/support/program/Screen.h"

namespace {

using e2e::ReadAll;
using e2e::SleepMs;
using e2e::WaitFor;

const int kClients = 4;
const int kEndMs = 5000;
// Four compiles on a busy machine.
const int kStartMs = 90000;

const char* const kMainTitle = "QUIRAN Pro  ";

// Where the first element lies on the working area: near its middle, which the view shows.
const int kFirstX = 640;
const int kFirstY = 480;

// Inverts the plane.
const char kInvert[] = R"(for (int y = 0; y < DIMY; y++)
    for (int x = 0; x < DIMX; x++)
        out.SetBit(x, y, !in(x, y));)";

// At its first step after each start the client forks a sleeper, which keeps the shared segment
// attached as long as it runs, and adds the sleeper's pid to "sleepers.txt".
const char kForkSleeper[] = R"(static int forked = 0;
if (!forked) {
    forked = 1;
    const pid_t child = fork();
    if (child == 0) {
        sleep(60);
        _exit(0);
    }
    FILE* list = fopen("sleepers.txt", "a");
    if (list != NULL) {
        fprintf(list, "%d\n", (int)child);
        fclose(list);
    }
}
out = in;)";

// count C++ elements with that code side by side, each on clock 1.
std::string Architecture(int count = kClients, const std::string& listing = kInvert) {
    std::string text = ArchitectureHead(8, 3, false) + R"(ARCHITECTURE_ELEMENTS {
  NUMBER: )" + std::to_string(count) +
                       R"(
  ELEMENTS {
)";
    for (int i = 0; i < count; i++) {
        text += R"(    ARCHITECTURE_ELEMENT {
      TYPE: C++
      INTERNAL_DATA {
        NAME:       C++
        COMMENT:    
        INPUTS:     1
        OUTPUTS:    1
        INPUT_DIM:  (8,8)
        OUTPUT_DIM: (8,8)
        CLOCK:      1
        TIME:       10
      }
      LOGICAL_DATA {
        LISTING:
)" + listing + R"(
      }
      ARCHITECTURE_DATA {
        ID:   )" +
                std::to_string(i) +
                R"(
        PREV: [-,-]
        NEXT: [-,-]
        POS:  ()" +
                std::to_string(kFirstX + 90 * i) + R"(,)" + std::to_string(kFirstY) + R"()
      }
    }
)";
    }
    return text + "  }\n}\n";
}

// The parent pid and the state letter of a process; false when it does not exist.
bool ProcessState(pid_t pid, pid_t& parent, char& state) {
    const std::string stat = ReadAll("/proc/" + std::to_string(pid) + "/stat");
    const size_t close = stat.rfind(')');
    if (close == std::string::npos || close + 4 >= stat.size()) return false;
    state = stat[close + 2];
    parent = static_cast<pid_t>(std::atol(stat.c_str() + close + 4));
    return true;
}

// Neither running nor waiting: gone, or a zombie nobody has reaped yet.
bool IsGone(pid_t pid) {
    pid_t parent;
    char state;
    return !ProcessState(pid, parent, state) || state == 'Z';
}

struct EndCase {
    const char* name;
    int signal; // 0: Quit with Ctrl-Q
    bool modify;
};

// The case's name where the test runner lists its parameter.
void PrintTo(const EndCase& c, std::ostream* os) {
    *os << c.name;
}

const EndCase kEnds[] = {
    {"Sigkill", SIGKILL, false}, {"SigtermOfAModifiedArchitecture", SIGTERM, true},
    {"Sighup", SIGHUP, false},   {"Sigint", SIGINT, false},
    {"Quit", 0, false},
};

// A run of the program in a scratch folder with a temporary folder of its own.
class ClientRun : public ::testing::Test {
protected:
    ClientRun() : folder("/tmp/quiran-client-end-XXXXXX") {}

    std::string Path(const std::string& name) const { return folder.Path(name); }
    // The temporary folder the program is given.
    std::string Temporary() const { return Path("tmp"); }

    void Start(const std::vector<std::string>& args) {
        mkdir(Temporary().c_str(), 0700);
        e2e::ProgramSetup setup = e2e::SetupIn(folder);
        setup.environment.push_back({"TMPDIR", Temporary()});
        ASSERT_TRUE(program.Start(QUIRAN_PROGRAM, e2e::ArgvOf(QUIRAN_PROGRAM, args), setup));
    }

    // The program's children that run an executable of its private folder.
    std::vector<pid_t> Clients() {
        std::vector<pid_t> found;
        DIR* proc = opendir("/proc");
        if (proc == nullptr) return found;
        while (const dirent* entry = readdir(proc)) {
            const pid_t pid = static_cast<pid_t>(std::atol(entry->d_name));
            pid_t parent;
            char state;
            if (pid <= 0 || !ProcessState(pid, parent, state)) continue;
            if (parent != program.Pid() || state == 'Z') continue;
            char exe[512];
            const std::string link = "/proc/" + std::to_string(pid) + "/exe";
            const ssize_t length = readlink(link.c_str(), exe, sizeof(exe) - 1);
            if (length <= 0) continue;
            exe[length] = '\0';
            if (std::string(exe).rfind(Temporary() + "/quiran-", 0) == 0) found.push_back(pid);
        }
        closedir(proc);
        return found;
    }

    // The private folders in the temporary folder.
    std::vector<std::string> PrivateFolders() const {
        std::vector<std::string> found;
        DIR* dir = opendir(Temporary().c_str());
        if (dir == nullptr) return found;
        while (const dirent* entry = readdir(dir)) {
            if (std::string(entry->d_name).rfind("quiran-", 0) == 0) found.push_back(entry->d_name);
        }
        closedir(dir);
        return found;
    }

    // The main window, once its title shows a file.
    std::string MainWindow() {
        std::string id;
        WaitFor([&] {
            id = e2e::Command("xdotool search --onlyvisible --name '^" + std::string(kMainTitle) +
                              "' 2>/dev/null | head -1");
            return !id.empty();
        });
        while (!id.empty() && (id.back() == '\n' || id.back() == ' '))
            id.pop_back();
        return id;
    }

    // Drags the first element 60 pixels down: the architecture is modified.
    void MoveFirstElement() {
        e2e::Screen screen;
        ASSERT_TRUE(screen.Ok());
        ASSERT_TRUE(screen.DragDownOnWorkingArea(kFirstX + 12, kFirstY + 12));
    }

    e2e::ScratchFolder folder; // goes after the run, which is killed first
    e2e::ProgramRun program;
};

class ClientEnd : public ClientRun, public ::testing::WithParamInterface<EndCase> {};

TEST_P(ClientEnd, LeavesNothingBehind) {
    QUIRAN_IN_PRIVATE_IPC_NAMESPACE();
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X server";
    if (std::system("command -v xdotool > /dev/null") != 0) GTEST_SKIP() << "no xdotool";
    const EndCase& c = GetParam();
    e2e::WriteText(Path("clients.arc"), Architecture());
    Start({"clients.arc"});
    const std::string main = MainWindow();
    ASSERT_FALSE(main.empty()) << ReadAll(Path("stderr.txt"));
    ASSERT_TRUE(WaitFor([&] { return Clients().size() == kClients; }, kStartMs))
        << Clients().size() << " clients; " << ReadAll(Path("stderr.txt"));
    const std::vector<pid_t> clients = Clients();
    EXPECT_NE(e2e::IpcObjects(), "");
    ASSERT_EQ(PrivateFolders().size(), 1u);
    SleepMs(300); // the main loop is reached right after the clients start
    if (c.modify) MoveFirstElement();

    if (c.signal != 0) {
        ASSERT_EQ(kill(program.Pid(), c.signal), 0);
    } else {
        e2e::TypeKeys(main, "ctrl+q", 30);
    }
    const int status = program.Wait(kEndMs);
    if (c.signal != 0) {
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << status;
    } else {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    EXPECT_TRUE(WaitFor(
        [&] {
            for (pid_t client : clients)
                if (!IsGone(client)) return false;
            return true;
        },
        kEndMs));
    EXPECT_TRUE(WaitFor([] { return e2e::IpcObjects().empty(); }, kEndMs)) << e2e::IpcObjects();
    EXPECT_EQ(e2e::Exists(Path("core.arc")), c.modify);

    if (c.signal == SIGKILL) {
        // The folder stays until the next start, which removes it (that start may make its own
        // as soon as its palette's C++ element compiles).
        const std::vector<std::string> left = PrivateFolders();
        ASSERT_EQ(left.size(), 1u);
        Start({});
        EXPECT_TRUE(WaitFor(
            [&] {
                const std::vector<std::string> now = PrivateFolders();
                return std::find(now.begin(), now.end(), left[0]) == now.end();
            },
            kStartMs));
        ASSERT_EQ(kill(program.Pid(), SIGTERM), 0);
        program.Wait(kEndMs);
    }
    EXPECT_TRUE(PrivateFolders().empty());

    if (c.modify) {
        // The saved architecture loads again, with all its clients.
        Start({"core.arc"});
        EXPECT_TRUE(WaitFor([&] { return Clients().size() == kClients; }, kStartMs))
            << ReadAll(Path("stderr.txt"));
        ASSERT_EQ(kill(program.Pid(), SIGTERM), 0);
        const int again = program.Wait(kEndMs);
        EXPECT_TRUE(WIFSIGNALED(again) && WTERMSIG(again) == SIGTERM) << again;
        EXPECT_TRUE(WaitFor([] { return e2e::IpcObjects().empty(); }, kEndMs));
        EXPECT_TRUE(PrivateFolders().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Ends, ClientEnd, ::testing::ValuesIn(kEnds),
                         [](const ::testing::TestParamInfo<EndCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace

namespace {

// The pids written one a line into the file.
std::vector<pid_t> ListedPids(const std::string& list) {
    std::vector<pid_t> sleepers;
    std::istringstream lines(ReadAll(list));
    long pid;
    while (lines >> pid)
        sleepers.push_back(static_cast<pid_t>(pid));
    return sleepers;
}

// How many processes have the program's one shared segment attached; -1 unless there is exactly
// one segment.
int SegmentAttachments() {
    // key, shmid, owner, perms, bytes, nattch, status
    std::istringstream lines(e2e::Command("ipcs -m 2>&1 | grep '^0x'"));
    std::string line;
    int found = 0;
    int attachments = -1;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string skip;
        for (int i = 0; i < 5; i++)
            fields >> skip;
        fields >> attachments;
        found++;
    }
    return found == 1 ? attachments : -1;
}

// Every end of the program but a SIGKILL, and a crash; nothing is modified.
const EndCase kForkEnds[] = {
    {"Sigterm", SIGTERM, false}, {"Sighup", SIGHUP, false}, {"Sigint", SIGINT, false},
    {"Quit", 0, false},          {"Crash", SIGSEGV, false},
};

// Forks a sleeper as kForkSleeper does, then never answers.
const char kForkSleeperAndHang[] = R"(const pid_t child = fork();
if (child == 0) {
    sleep(60);
    _exit(0);
}
FILE* list = fopen("sleepers.txt", "a");
if (list != NULL) {
    fprintf(list, "%d\n", (int)child);
    fclose(list);
}
for (;;)
    pause();)";

// A run of one C++ element whose code forks, with the simulation box up.
class ForkingRun : public ClientRun {
protected:
    ~ForkingRun() override {
        // Sleepers the program did not end: by their pids, while they still run the client.
        for (pid_t sleeper : Sleepers()) {
            char exe[512];
            const std::string link = "/proc/" + std::to_string(sleeper) + "/exe";
            const ssize_t length = readlink(link.c_str(), exe, sizeof(exe) - 1);
            if (length <= 0) continue;
            exe[length] = '\0';
            if (std::string(exe).rfind(Temporary() + "/quiran-", 0) == 0) kill(sleeper, SIGKILL);
        }
    }

    // Starts the program on the element with that code and shows the simulation box.
    void StartWithTheBox(const char* listing) {
        e2e::WriteText(Path("fork.arc"), Architecture(1, listing));
        Start({"fork.arc"});
        main = MainWindow();
        ASSERT_FALSE(main.empty()) << ReadAll(Path("stderr.txt"));
        ASSERT_TRUE(WaitFor([&] { return Clients().size() == 1; }, kStartMs))
            << ReadAll(Path("stderr.txt"));
        ASSERT_TRUE(screen.Ok());
        SleepMs(300); // the main loop is reached right after the client starts
        e2e::TypeKeys(main, "ctrl+i", 30);
        box = screen.WaitForWindow("Simulate");
        ASSERT_NE(box, 0u);
        SleepMs(300);
    }

    // Clicks the button of the simulation box that lies fromRight places from the right in its
    // row (Close, Reset or Break, Run).
    void Press(int fromRight) { ClickAt(screen.ButtonInLowestRow(box, fromRight)); }

    static void ClickAt(e2e::Point at) {
        ASSERT_GE(at.x, 0);
        e2e::Xdo("mousemove --sync " + std::to_string(at.x) + " " + std::to_string(at.y) +
                 " click 1");
    }

    // The sleepers the client has written down so far.
    std::vector<pid_t> Sleepers() const { return ListedPids(Path("sleepers.txt")); }

    // The program started with the box, and Run pressed: the client's first step forks a sleeper,
    // which holds the segment as the program and the client do.
    void RunToTheFirstSleeper(const char* listing, pid_t& sleeper) {
        ASSERT_NO_FATAL_FAILURE(StartWithTheBox(listing));
        Press(2);
        ASSERT_TRUE(WaitFor([&] { return Sleepers().size() == 1; }));
        sleeper = Sleepers()[0];
    }

    // The client was stopped and none is left: its sleeper goes, only the program holds the
    // segment. Then the program is ended.
    void ExpectNoClientLeftThenEnd(pid_t sleeper) {
        EXPECT_TRUE(WaitFor([&] { return IsGone(sleeper); }, kEndMs));
        EXPECT_TRUE(WaitFor([] { return SegmentAttachments() == 1; }, kEndMs))
            << SegmentAttachments();
        EXPECT_TRUE(Clients().empty());
        ASSERT_EQ(kill(program.Pid(), SIGTERM), 0);
        program.Wait(kEndMs);
    }

    e2e::Screen screen;
    std::string main;
    Window box = 0;
};

class ForkingClient : public ForkingRun, public ::testing::WithParamInterface<EndCase> {};

} // namespace

TEST_P(ForkingClient, WhatItForkedEndsAtAResetAndAtTheProgramsEnd) {
    QUIRAN_IN_PRIVATE_IPC_NAMESPACE();
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X server";
    if (std::system("command -v xdotool > /dev/null") != 0) GTEST_SKIP() << "no xdotool";
    // Run: the client's first step forks the sleeper, which holds the segment as the program and
    // the client do.
    pid_t first = 0;
    ASSERT_NO_FATAL_FAILURE(RunToTheFirstSleeper(kForkSleeper, first));
    EXPECT_EQ(SegmentAttachments(), 3);

    // Reset stops the client and starts a fresh one.
    Press(1);
    EXPECT_TRUE(WaitFor([&] { return IsGone(first); }, kEndMs));
    EXPECT_TRUE(WaitFor([] { return SegmentAttachments() == 2; }, kEndMs)) << SegmentAttachments();

    // Another run forks another sleeper, then the program ends.
    Press(2);
    ASSERT_TRUE(WaitFor([&] { return Sleepers().size() == 2; }));
    const pid_t second = Sleepers()[1];
    const EndCase& c = GetParam();
    if (c.signal != 0) {
        ASSERT_EQ(kill(program.Pid(), c.signal), 0);
    } else {
        e2e::TypeKeys(main, "ctrl+q", 30);
    }
    if (c.signal == SIGSEGV) {
        // The two boxes of the crash, each answered with Return.
        for (const char* title : {"Internal Error", "core.arc"}) {
            const Window crashBox = screen.WaitForWindow(title);
            ASSERT_NE(crashBox, 0u) << title << "; " << ReadAll(Path("stderr.txt"));
            SleepMs(300);
            e2e::TypeKeys(std::to_string(crashBox), "Return", 30);
        }
    }
    const int status = program.Wait(kEndMs);
    if (c.signal == SIGSEGV) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1000 % 256) << status;
    } else if (c.signal != 0) {
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << status;
    } else {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    EXPECT_TRUE(WaitFor([&] { return IsGone(second); }, kEndMs));
    EXPECT_TRUE(WaitFor([] { return e2e::IpcObjects().empty(); }, kEndMs)) << e2e::IpcObjects();
    EXPECT_TRUE(PrivateFolders().empty());
}

INSTANTIATE_TEST_SUITE_P(Ends, ForkingClient, ::testing::ValuesIn(kForkEnds),
                         [](const ::testing::TestParamInfo<EndCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(ForkingRun, WhatItForkedEndsAtABreak) {
    QUIRAN_IN_PRIVATE_IPC_NAMESPACE();
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X server";
    if (std::system("command -v xdotool > /dev/null") != 0) GTEST_SKIP() << "no xdotool";
    pid_t sleeper = 0;
    ASSERT_NO_FATAL_FAILURE(RunToTheFirstSleeper(kForkSleeperAndHang, sleeper));
    Press(1); // Break: the client is stopped, none is left
    ExpectNoClientLeftThenEnd(sleeper);
}

TEST_F(ForkingRun, WhatItForkedEndsWithANewArchitecture) {
    QUIRAN_IN_PRIVATE_IPC_NAMESPACE();
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X server";
    if (std::system("command -v xdotool > /dev/null") != 0) GTEST_SKIP() << "no xdotool";
    pid_t sleeper = 0;
    ASSERT_NO_FATAL_FAILURE(RunToTheFirstSleeper(kForkSleeper, sleeper));
    // New, and OK in its dimension dialog.
    ClickAt(screen.WaitForToolButton(std::stoul(main), e2e::Tool::kNew));
    const Window dimensions = screen.WaitForWindow("New Architecture");
    ASSERT_NE(dimensions, 0u);
    SleepMs(300);
    e2e::TypeKeys(std::to_string(dimensions), "Return", 30);
    ExpectNoClientLeftThenEnd(sleeper);
}
