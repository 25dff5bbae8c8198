// The real quiran on a screen of 800 x 600, bare and under mwm: the Directories dialog, the
// tallest option dialog, fits the screen with its buttons, its OK is pressed with a real click,
// and the message box it shows for a directory that does not exist fits too.

// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "tests/support/program/PrivateServer.h"
#include "tests/support/program/ProgramDriver.h"
#include "tests/support/program/Screen.h"
#include "tests/support/program/WindowManager.h"
#include "tests/support/screenshot/Screenshot.h"

namespace {

using e2e::Point;
using e2e::Slowness;
using e2e::WaitFor;

const char* const kDirectories = "Directories/Filter - Options";

std::string Hex(Window window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(window));
    return text;
}

class ScreenFitEndToEnd : public ::testing::TestWithParam<e2e::Desktop> {
protected:
    void SetUp() override {
        if (e2e::Command("command -v xdotool").empty()) GTEST_SKIP() << "no xdotool";
        server = std::make_unique<e2e::PrivateServer>("800x600x24");
        if (server->Name().empty()) GTEST_SKIP() << "Xvfb could not be started";
        // The program, mwm, xdotool and the test's own connection all go to the small screen.
        setenv("DISPLAY", server->Name().c_str(), 1);
        screen = std::make_unique<e2e::Screen>(Slowness());
        ASSERT_TRUE(screen->Ok());
        ASSERT_EQ(screen->ScreenSize().x, 800);
        ASSERT_EQ(screen->ScreenSize().y, 600);
        ASSERT_TRUE(windowManager.StartFor(GetParam())) << windowManager.Error();
        ASSERT_FALSE(home.Get().empty());
    }

    void TearDown() override {
        program.Stop(2000);
        windowManager.Stop();
        screen.reset();
        server.reset();
    }

    std::string Stderr() const { return e2e::ReadAll(home.Path("stderr.txt")); }

    void ClickAt(Point at) {
        e2e::Command("xdotool mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) +
                     " click 1 2>&1");
    }

    // The window's frame (the window itself on the bare server) lies wholly on the screen, and
    // so does its lowest row of buttons (of windows; a message box's are gadgets).
    void ExpectOnScreen(Window window, int buttons, int maxWidth) {
        Point at = {0, 0};
        Point size = {0, 0};
        screen->Frame(window, &at, &size);
        EXPECT_GE(at.x, 0);
        EXPECT_GE(at.y, 0);
        EXPECT_LE(at.x + size.x, 800) << "width " << size.x;
        EXPECT_LE(at.y + size.y, 600) << "height " << size.y;
        for (int i = 0; i < buttons; i++) {
            const Point button = screen->ButtonInLowestRow(window, i, maxWidth);
            EXPECT_GT(button.y, 0) << "button " << i;
            EXPECT_LT(button.y, 600) << "button " << i;
        }
    }

    std::unique_ptr<e2e::PrivateServer> server;
    std::unique_ptr<e2e::Screen> screen;
    e2e::WindowManager windowManager;
    e2e::ScratchFolder home{"/tmp/quiran-screenfit-XXXXXX"};
    e2e::ProgramRun program;
};

INSTANTIATE_TEST_SUITE_P(On, ScreenFitEndToEnd,
                         ::testing::Values(e2e::Desktop::kBare, e2e::Desktop::kMwm),
                         [](const ::testing::TestParamInfo<e2e::Desktop>& info) {
                             return e2e::DesktopName(info.param);
                         });

TEST_P(ScreenFitEndToEnd, DirectoriesDialogFitsAndItsOkIsPressedByAClick) {
    ASSERT_TRUE(program.Start(QUIRAN_PROGRAM, {"quiran"}, e2e::SetupIn(home)));
    const Window main = screen->WaitForWindow("QUIRAN Pro", true, 30000);
    ASSERT_NE(main, 0u) << Stderr();
    ASSERT_TRUE(screen->WaitGone("Welcome"));

    // Options is the menu bar's fifth entry; "D" is the mnemonic of "Directories...".
    Window options = 0;
    ASSERT_TRUE(WaitFor([&] { return (options = screen->MenuBarEntry(main, 4)) != 0; }));
    ClickAt(screen->Middle(options));
    ASSERT_TRUE(WaitFor([&] { return screen->PoppedMenu() != 0; }));
    e2e::Command("xdotool key d 2>&1");
    const Window dialog = screen->WaitForWindow(kDirectories);
    ASSERT_NE(dialog, 0u) << Stderr();
    ASSERT_TRUE(e2e::WaitIdle(program.Pid()));
    ExpectOnScreen(dialog, 2, 400);
    EXPECT_TRUE(testshot::SaveScreen(
        screen->GetDisplay(), ("directories-800x600-" + e2e::DesktopName(GetParam())).c_str()));

    // A directory that does not exist in the first row: OK shows the warning over the dialog.
    e2e::TypeKeys(Hex(dialog), "slash n o p e", 30);
    ClickAt(screen->ButtonInLowestRow(dialog, 1, 400));
    const Window error = screen->WaitForWindow("Error");
    ASSERT_NE(error, 0u) << Stderr();
    ASSERT_TRUE(e2e::WaitIdle(program.Pid()));
    ExpectOnScreen(error, 0, 0);
    e2e::TypeKeys(Hex(error), "Return", 30);
    ASSERT_TRUE(screen->WaitGone("Error"));

    // The field keeps the focus; with it emptied, OK takes every row and closes the dialog.
    e2e::TypeKeys(Hex(dialog), "BackSpace BackSpace BackSpace BackSpace BackSpace", 30);
    ClickAt(screen->ButtonInLowestRow(dialog, 1, 400));
    EXPECT_TRUE(screen->WaitGone(kDirectories));
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(Stderr(), "");
}

} // namespace
