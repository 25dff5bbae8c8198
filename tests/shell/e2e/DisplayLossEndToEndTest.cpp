// A window of the real program is destroyed by another client, as any client may, and the
// program then draws into it: its requests fail, which it reports once and survives. Then the
// real program loses its X server: on an X server of the test's own, started for the run,
// the architecture is changed and the server is killed. The program takes the crash path: the
// changed architecture is in core.arc, which loads again, and it exits with 1000.

// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "tests/shell/ExampleInView.h"
#include "tests/support/program/ProgramDriver.h"
#include "tests/support/program/Screen.h"

namespace {

using e2e::ReadAll;
using e2e::SleepMs;
using e2e::WaitFor;

// An Xvfb of the test's own, killed by its PID when the object goes.
class PrivateServer {
public:
    explicit PrivateServer(const e2e::ScratchFolder& folder) {
        const std::string numberFile = folder.Path("display-number");
        e2e::ProgramSetup setup;
        setup.workingFolder = folder.Get();
        setup.stderrPath = folder.Path("xvfb.log");
        // exec: the shell's PID is the server's.
        const std::string command = "exec Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp "
                                    "3>'" +
                                    numberFile + "'";
        if (!server.Start("/bin/sh", {"sh", "-c", command}, setup)) return;
        WaitFor([&] {
            const std::string text = ReadAll(numberFile);
            if (text.empty() || text.back() != '\n') return false;
            name = ":" + text.substr(0, text.size() - 1);
            return true;
        });
    }
    // ":<number>", "" when the server did not come up.
    const std::string& Name() const { return name; }
    void Kill() {
        kill(server.Pid(), SIGKILL);
        server.Wait();
    }

private:
    e2e::ProgramRun server;
    std::string name;
};

// DISPLAY names another server while the object lives.
class DisplayVariable {
public:
    explicit DisplayVariable(const std::string& name) {
        const char* old = std::getenv("DISPLAY");
        if (old != nullptr) saved = std::make_unique<std::string>(old);
        setenv("DISPLAY", name.c_str(), 1);
    }
    ~DisplayVariable() {
        if (saved) {
            setenv("DISPLAY", saved->c_str(), 1);
        } else {
            unsetenv("DISPLAY");
        }
    }

private:
    std::unique_ptr<std::string> saved;
};

TEST(DisplayLoss, KilledServerLeavesACoreArcThatLoadsAgain) {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X server";
    e2e::ScratchFolder folder("/tmp/quiran-display-loss-XXXXXX");
    e2e::WriteText(folder.Path("a.arc"), ExampleWithTheFirstElementInView());
    PrivateServer server(folder);
    ASSERT_NE(server.Name(), "") << ReadAll(folder.Path("xvfb.log"));

    e2e::ProgramRun program;
    {
        DisplayVariable onTheServer(server.Name());
        e2e::ProgramSetup setup = e2e::SetupIn(folder);
        setup.environment.push_back({"DISPLAY", server.Name()});
        ASSERT_TRUE(program.Start(QUIRAN_PROGRAM, {QUIRAN_PROGRAM, "a.arc"}, setup));
        // The test's own connection goes before the server does.
        e2e::Screen screen;
        ASSERT_TRUE(screen.Ok());
        ASSERT_NE(screen.WaitForWindow("QUIRAN Pro  ", true), 0u)
            << ReadAll(folder.Path("stderr.txt"));
        SleepMs(300); // the main loop is reached right after the title is set
        // The first element goes 60 pixels down: the architecture is modified.
        ASSERT_TRUE(screen.DragDownOnWorkingArea(kFirstX + 12, kFirstY + 12));
        ASSERT_TRUE(e2e::WaitIdle(program.Pid()));
    }
    server.Kill();

    const int status = program.Wait();
    ASSERT_TRUE(WIFEXITED(status)) << status << ": " << ReadAll(folder.Path("stderr.txt"));
    EXPECT_EQ(WEXITSTATUS(status), 1000 % 256);
    const std::string core = ReadAll(folder.Path("core.arc"));
    EXPECT_NE(core.find("POS:  (630,540)"), std::string::npos) << core;
    EXPECT_EQ(ReadAll(folder.Path("a.arc")), ExampleWithTheFirstElementInView());

    // core.arc loads again, without a message, on the test's own server.
    e2e::ScratchFolder second("/tmp/quiran-display-loss-XXXXXX");
    e2e::WriteText(second.Path("core.arc"), core);
    e2e::ProgramSetup setup = e2e::SetupIn(second);
    e2e::LogMessages(setup, second.Path("messages.log"), QUIRAN_MESSAGE_LOG_LIBRARY);
    e2e::ProgramRun again;
    ASSERT_TRUE(again.Start(QUIRAN_PROGRAM, {QUIRAN_PROGRAM, "core.arc"}, setup));
    e2e::Screen screen;
    const Window main = screen.WaitForWindow("QUIRAN Pro  core.arc");
    ASSERT_NE(main, 0u) << ReadAll(second.Path("stderr.txt"));
    ASSERT_TRUE(e2e::WaitIdle(again.Pid()));
    EXPECT_EQ(ReadAll(second.Path("messages.log")), "");
    screen.SendDeleteWindow(main);
    const int againStatus = again.Wait();
    ASSERT_TRUE(WIFEXITED(againStatus)) << againStatus;
    EXPECT_EQ(WEXITSTATUS(againStatus), 0);
}

TEST(DisplayLoss, FailedRequestsAreReportedAndTheProgramGoesOn) {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X server";
    e2e::ScratchFolder folder("/tmp/quiran-x-error-XXXXXX");
    e2e::WriteText(folder.Path("a.arc"), ExampleWithTheFirstElementInView());
    e2e::Screen screen;
    ASSERT_TRUE(screen.Ok());
    e2e::ProgramRun program;
    e2e::ProgramSetup setup = e2e::SetupIn(folder);
    ASSERT_TRUE(program.Start(QUIRAN_PROGRAM, {QUIRAN_PROGRAM, "a.arc"}, setup));
    const Window main = screen.WaitForWindow("QUIRAN Pro  ", true);
    ASSERT_NE(main, 0u) << ReadAll(folder.Path("stderr.txt"));
    ASSERT_TRUE(screen.WaitGone("Welcome"));
    ASSERT_TRUE(e2e::WaitIdle(program.Pid()));
    const Window area = screen.FindBySize(main, 1500, 1000);
    ASSERT_NE(area, 0u);
    XDestroyWindow(screen.GetDisplay(), area);
    XSync(screen.GetDisplay(), False);

    // The grid is switched off and on: each redraws the working area that is gone.
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", static_cast<unsigned long>(main));
    e2e::TypeKeys(id, "ctrl+g ctrl+g", 50);
    ASSERT_TRUE(WaitFor([&] {
        return ReadAll(folder.Path("stderr.txt")).find("QUIRAN: X error: ") != std::string::npos;
    })) << ReadAll(folder.Path("stderr.txt"));
    ASSERT_TRUE(e2e::WaitIdle(program.Pid()));
    EXPECT_TRUE(program.Running());
    const std::string reports = ReadAll(folder.Path("stderr.txt"));
    // Each kind once, though the redraws sent many of them.
    for (size_t at = reports.find("(request "); at != std::string::npos;
         at = reports.find("(request ", at + 1)) {
        const std::string kind = reports.substr(at, reports.find(',', at) - at);
        EXPECT_EQ(reports.find(kind, at + 1), std::string::npos) << kind << " twice:\n" << reports;
    }

    // The program still answers the window manager's close, with Quit.
    screen.SendDeleteWindow(main);
    const int status = program.Wait();
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
