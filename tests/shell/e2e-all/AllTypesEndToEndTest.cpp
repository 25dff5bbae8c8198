// The whole program on examples/all-types.arc, which holds one element of every type wired into
// one pipeline: the real quiran under the X server of DISPLAY opens every element's popup menu and
// modify window and closes it with Cancel and with the window manager's close, runs the
// simulation from the simulation box, saves with Ctrl-S, loads what it saved and quits with
// Ctrl-Q. Nothing may reach standard error (no sanitizer report, no X error) and no message box
// may come up.

// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/program/ProgramDriver.h"
#include "tests/support/program/Screen.h"
#include "tests/support/program/WindowManager.h"

namespace {

using e2e::Command;
using e2e::ReadAll;
using e2e::WaitFor;
using e2e::WriteText;

const char* const kExample = QUIRAN_SOURCE_DIR "/examples/all-types.arc";

using e2e::SleepScaledMs;
using e2e::Slowness;

std::string Hex(Window window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(window));
    return text;
}

// The example with a comment the program's writer does not produce, so that a save is seen.
std::string UntidyExample() {
    return "# by hand\n" + ReadAll(kExample);
}

using e2e::Point;

// An element of the example: its name, where its icon's top left corner lies on the working area,
// the entry of its popup menu that is tried (0 is the first below the title), the title of the
// window that entry opens (a modify window of an element still named by its type has no type
// in brackets) and the place of that window's Cancel button in its lowest row of
// buttons, counted from the right (-1: the window has none).
struct ElementCase {
    const char* name;
    Point pos;
    int entry;
    const char* window;
    int cancelFromRight;
};

const ElementCase kElements[] = {
    {"Pictures", {430, 330}, 0, "Modify Pictures  [INPUT]", 0},
    {"SPLIT", {510, 330}, 0, "Set Outputs", 0},
    {"Left half", {590, 330}, 0, "Modify Left half  [MASK]", 0},
    {"Shift", {670, 330}, 0, "Modify Shift  [RULE]", 0},
    {"Mirror", {750, 330}, 0, "Modify Mirror  [PERM]", 0},
    {"Invert", {830, 330}, 0, "Modify Invert  [LOGIC]", 0},
    {"S-SEED", {590, 480}, 0, "Modify S-SEED", 0},
    {"Negate", {670, 480}, 0, "Modify Negate  [C++]", 0},
    {"Macro", {750, 480}, 0, "Modify - Macro", -1},
    {"JOIN", {910, 400}, 0, "Modify JOIN", 0},
    {"Result", {990, 400}, 0, "Modify Result  [OUTPUT]", 0},
};

void Keys(Window window, const std::string& keys) {
    e2e::TypeKeys(Hex(window), keys, 30);
}

void ClickAt(Point p, int button = 1) {
    Command("xdotool mousemove --sync " + std::to_string(p.x) + " " + std::to_string(p.y) +
            " click " + std::to_string(button) + " 2>&1");
}

const char* const kMainTitle = "QUIRAN Pro  all.arc";

// One run of the program in a folder of its own, which is also its HOME, so that no settings
// file is read; its message boxes are logged.
class AllTypesFixture : public ::testing::Test {
protected:
    AllTypesFixture() : folder("/tmp/quiran-e2e-all-XXXXXX") {}

    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr || !screen.Ok()) GTEST_SKIP() << "no X server";
        ASSERT_FALSE(folder.Get().empty());
    }

    std::string Path(const std::string& name) const { return folder.Path(name); }
    std::string Stderr() const { return ReadAll(Path("stderr.txt")); }
    std::string Messages() const { return ReadAll(Path("messages.log")); }

    // Starts quiran on all.arc and waits until its main window is up and the welcome splash,
    // which covers the working area, has gone.
    Window Start(e2e::ProgramRun& run) {
        e2e::ProgramSetup setup = e2e::SetupIn(folder);
        e2e::LogMessages(setup, Path("messages.log"), QUIRAN_MESSAGE_LOG_LIBRARY);
        EXPECT_TRUE(run.Start(QUIRAN_PROGRAM, {QUIRAN_PROGRAM, "all.arc"}, setup));
        const Window main = screen.WaitForWindow(kMainTitle, false, 30000);
        EXPECT_NE(main, 0u) << Stderr();
        EXPECT_TRUE(screen.WaitGone("Welcome"));
        SleepScaledMs(500);
        return main;
    }

    // Ctrl-Q in the main window; the program must end with status 0.
    void Quit(e2e::ProgramRun& run, Window main) {
        Keys(main, "ctrl+q");
        const int status = run.Wait(e2e::kTimeoutMs * Slowness());
        ASSERT_TRUE(WIFEXITED(status)) << status << "\n" << Stderr();
        EXPECT_EQ(WEXITSTATUS(status), 0) << Stderr();
    }

    // Pops up the element's menu with button 3 and chooses its entry by the pointer. The waits are
    // the suite's own: on a machine loaded by other builds a menu took more than 5 s to come.
    bool ChooseFromMenu(Window area, const ElementCase& element) {
        const Point origin = screen.RootOf(area);
        ClickAt({origin.x + element.pos.x + 30, origin.y + element.pos.y + 12}, 3);
        Window menu = 0;
        if (!WaitFor([&] { return (menu = screen.PoppedMenu()) != 0; },
                     e2e::kTimeoutMs * Slowness()))
            return false;
        SleepScaledMs(200);
        // Below the type's title and its two separators each entry is 20 pixels high.
        const Point at = screen.RootOf(menu);
        ClickAt({at.x + 30, at.y + 34 + 20 * element.entry});
        return WaitFor([&] { return screen.PoppedMenu() == 0; }, e2e::kTimeoutMs * Slowness());
    }

    e2e::ScratchFolder folder;
    e2e::Screen screen{Slowness()};
};

// The same, also under mwm, where every window is framed and placed by the window manager.
class AllTypesDesktop : public AllTypesFixture, public ::testing::WithParamInterface<e2e::Desktop> {
protected:
    void SetUp() override {
        AllTypesFixture::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(windowManager.StartFor(GetParam())) << windowManager.Error();
    }

    e2e::WindowManager windowManager;
};

INSTANTIATE_TEST_SUITE_P(On, AllTypesDesktop,
                         ::testing::Values(e2e::Desktop::kBare, e2e::Desktop::kMwm),
                         [](const ::testing::TestParamInfo<e2e::Desktop>& info) {
                             return e2e::DesktopName(info.param);
                         });

TEST_P(AllTypesDesktop, OpensAndClosesEveryElementsWindowBothWays) {
    const std::string original = UntidyExample();
    WriteText(Path("all.arc"), original);
    e2e::ProgramRun run;
    const Window main = Start(run);
    ASSERT_NE(main, 0u);
    const Window area = screen.FindBySize(main, 1500, 1000); // the working area
    ASSERT_NE(area, 0u);

    for (const ElementCase& element : kElements) {
        SCOPED_TRACE(element.name);
        // Once closed with Cancel, once by the window manager.
        for (int way = 0; way < 2; ++way) {
            if (way == 0 && element.cancelFromRight < 0) continue;
            SCOPED_TRACE(way == 0 ? "Cancel" : "WM_DELETE_WINDOW");
            ASSERT_TRUE(ChooseFromMenu(area, element));
            const Window window = screen.WaitForWindow(element.window);
            ASSERT_NE(window, 0u) << Stderr();
            if (way == 0) {
                Point cancel{-1, -1};
                ASSERT_TRUE(WaitFor(
                    [&] {
                        cancel = screen.ButtonInLowestRow(window, element.cancelFromRight);
                        return cancel.x >= 0;
                    },
                    e2e::kTimeoutMs * Slowness()));
                ClickAt(cancel);
            } else {
                screen.SendDeleteWindow(window);
            }
            ASSERT_TRUE(screen.WaitGone(element.window)) << Stderr();
            SleepScaledMs(200);
        }
    }
    EXPECT_EQ(Messages(), "");
    EXPECT_EQ(Stderr(), "");
    // Nothing was changed: the file stays as it was, and quitting asks nothing.
    Quit(run, main);
    EXPECT_EQ(ReadAll(Path("all.arc")), original);
    EXPECT_EQ(Stderr(), "");
}

TEST_F(AllTypesFixture, SimulatesSavesLoadsAgainAndQuits) {
    const std::string canonical = ReadAll(kExample);
    WriteText(Path("all.arc"), UntidyExample());
    {
        e2e::ProgramRun run;
        const Window main = Start(run);
        ASSERT_NE(main, 0u);
        Keys(main, "ctrl+i");
        const Window box = screen.WaitForWindow("Simulate");
        ASSERT_NE(box, 0u);
        SleepScaledMs(300);
        // Run has the focus: three periods, twice.
        Keys(box, "Return");
        SleepScaledMs(1500);
        const Point run2 = screen.ButtonInLowestRow(box, 2);
        ASSERT_GE(run2.x, 0);
        ClickAt(run2);
        SleepScaledMs(1500);
        screen.SendDeleteWindow(box);
        ASSERT_TRUE(screen.WaitGone("Simulate"));

        // A run changes no saved data.
        Keys(main, "ctrl+s");
        ASSERT_TRUE(WaitFor([&] { return ReadAll(Path("all.arc")) == canonical; },
                            e2e::kTimeoutMs * Slowness()))
            << ReadAll(Path("all.arc"));
        EXPECT_EQ(Messages(), "");
        Quit(run, main);
        EXPECT_EQ(Stderr(), "");
    }

    // What was saved loads again without a message and is saved as it was.
    WriteText(Path("all.arc"), "# by hand\n" + ReadAll(Path("all.arc")));
    e2e::ProgramRun again;
    const Window main = Start(again);
    ASSERT_NE(main, 0u);
    Keys(main, "ctrl+s");
    ASSERT_TRUE(WaitFor([&] { return ReadAll(Path("all.arc")) == canonical; },
                        e2e::kTimeoutMs * Slowness()))
        << ReadAll(Path("all.arc"));
    EXPECT_EQ(Messages(), "");
    Quit(again, main);
    EXPECT_EQ(Stderr(), "");
}

} // namespace
