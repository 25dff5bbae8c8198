// The settings files as a user meets them: the real quiran started with HOME in a fresh folder,
// its start-up options and compiler settings changed through their dialogs with xdotool, saved
// with "Save as Default", and back after a restart.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <sstream>
#include <string>

#include "tests/support/program/ProgramDriver.h"
#include "tests/support/program/Screen.h"
#include "tests/support/program/SettingsText.h"

namespace {

using e2e::Command;
using e2e::ReadAll;
using e2e::SleepMs;
using e2e::WaitFor;

// The first window whose name matches the pattern, or "".
std::string FindWindow(const std::string& pattern) {
    std::istringstream ids(Command("xdotool search --name '" + pattern + "' 2>/dev/null"));
    std::string id;
    ids >> id;
    return id;
}

std::string WaitForWindow(const std::string& pattern) {
    std::string id;
    WaitFor([&] { return !(id = FindWindow(pattern)).empty(); });
    return id;
}

class SettingsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no DISPLAY";
        if (Command("command -v xdotool").empty()) GTEST_SKIP() << "no xdotool";
        ASSERT_TRUE(screen.Ok()) << "no X server on DISPLAY";
        ASSERT_FALSE(home.Get().empty());
    }

    void Start() {
        e2e::ProgramSetup setup;
        setup.home = home.Get();
        ASSERT_TRUE(program.Start(QUIRAN_PROGRAM, {"quiran"}, setup));
        mainWindow = WaitForWindow("^QUIRAN Pro");
        ASSERT_FALSE(mainWindow.empty());
        SleepMs(300);
    }

    // Quits with Ctrl-Q; the exit status.
    int Quit() {
        Command("xdotool windowfocus --sync " + mainWindow + " key ctrl+q 2>&1");
        const int status = program.Wait();
        return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // An entry of the Options menu (the menu bar's fifth) by its mnemonic, once the menu is up;
    // returns when it has gone again.
    void Options(const char* mnemonic) {
        const Window main = static_cast<Window>(std::stoul(mainWindow));
        Window entry = 0;
        ASSERT_TRUE(WaitFor([&] { return (entry = screen.MenuBarEntry(main, 4)) != 0; }));
        const e2e::Point at = screen.Middle(entry);
        Command("xdotool mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) +
                " click 1 2>&1");
        ASSERT_TRUE(WaitFor([&] { return screen.PoppedMenu() != 0; }));
        Command(std::string("xdotool key ") + mnemonic + " 2>&1");
        EXPECT_TRUE(WaitFor([&] { return screen.PoppedMenu() == 0; }));
    }

    // Keys typed into the window; the caller waits for what they do.
    void Keys(const std::string& window, const std::string& keys) {
        e2e::TypeKeys(window, keys, 40);
    }

    e2e::ScratchFolder home{"/tmp/quiran-e2e-home-XXXXXX"};
    e2e::ProgramRun program; // killed before the folder goes
    std::string mainWindow;
    e2e::Screen screen;
};

TEST_F(SettingsEndToEnd, SavedOptionsAreBackAfterARestart) {
    Start();
    EXPECT_TRUE(FindWindow("^Simulate$").empty()); // not shown at start-up by default

    Options("u");
    const std::string startup = WaitForWindow("^Startup - Options$");
    ASSERT_FALSE(startup.empty());
    // Width and height fields, then down to "Simulation Box" and on through the library to OK.
    Keys(startup, "End BackSpace BackSpace 2 4 Tab End BackSpace BackSpace 4 0 Tab Down Down "
                  "space Tab Tab Return");
    EXPECT_TRUE(WaitFor([&] { return FindWindow("^Startup - Options$").empty(); }));

    Options("c");
    const std::string compiler = WaitForWindow("^Compiler Settings$");
    ASSERT_FALSE(compiler.empty());
    Keys(compiler, "End BackSpace BackSpace BackSpace c l a n g Tab Tab Tab Return");
    EXPECT_TRUE(WaitFor([&] { return FindWindow("^Compiler Settings$").empty(); }));

    Options("s"); // Save as Default
    ASSERT_TRUE(WaitFor([&] { return !ReadAll(home.Path(".quiran_times")).empty(); }));
    const std::string options = e2e::OptionsText("(24,40)", true, "clang");
    const std::string times = e2e::DefaultTimesText();
    EXPECT_EQ(ReadAll(home.Path(".quiran")), options);
    EXPECT_EQ(ReadAll(home.Path(".quiran_times")), times);
    EXPECT_EQ(Quit(), 0);

    // The next start shows the simulation box, and saving again writes what was read.
    unlink(home.Path(".quiran_times").c_str());
    Start();
    EXPECT_FALSE(WaitForWindow("^Simulate$").empty());
    Options("s");
    ASSERT_TRUE(WaitFor([&] { return !ReadAll(home.Path(".quiran_times")).empty(); }));
    EXPECT_EQ(ReadAll(home.Path(".quiran")), options);
    EXPECT_EQ(ReadAll(home.Path(".quiran_times")), times);
    EXPECT_EQ(Quit(), 0);
}

// A start-up library whose name has a blank, typed into the real dialog, is saved as typed,
// loaded at the next start and saved again as it was.
TEST_F(SettingsEndToEnd, LibraryWithABlankIsSavedAndReadBackWhole) {
    const std::string library = home.Path("lib a.lib");
    e2e::WriteText(library, "REMARKS {\n}\n\nOPTIONS {\n  GRID {\n    VISIBLE:   ON\n"
                            "    DIMENSION: (15,15)\n    RASTERIZE: ON\n  }\n}\n\n"
                            "ARCHITECTURE_ELEMENTS {\n  NUMBER: 0\n  ELEMENTS {\n  }\n}\n");
    Start();
    Options("u");
    const std::string startup = WaitForWindow("^Startup - Options$");
    ASSERT_FALSE(startup.empty());
    // From the width field past the height and the toggles into the library field.
    Keys(startup, "Tab Tab Tab");
    Command("xdotool type --delay 20 '" + library + "' 2>&1");
    Keys(startup, "Tab Return");
    ASSERT_TRUE(WaitFor([&] { return FindWindow("^Startup - Options$").empty(); }))
        << "the dialog refused the path";

    Options("s"); // Save as Default
    ASSERT_TRUE(WaitFor([&] { return !ReadAll(home.Path(".quiran_times")).empty(); }));
    const std::string options = ReadAll(home.Path(".quiran"));
    EXPECT_NE(options.find("\n  LIBRARY:         " + library + "\n"), std::string::npos) << options;
    EXPECT_EQ(Quit(), 0);

    // Read back whole: the library opens at the start, and the next save writes it as it was.
    unlink(home.Path(".quiran_times").c_str());
    Start();
    Options("s");
    ASSERT_TRUE(WaitFor([&] { return !ReadAll(home.Path(".quiran_times")).empty(); }));
    EXPECT_EQ(ReadAll(home.Path(".quiran")), options);
    EXPECT_TRUE(FindWindow("^Error$").empty());
    EXPECT_EQ(Quit(), 0);
}

} // namespace
