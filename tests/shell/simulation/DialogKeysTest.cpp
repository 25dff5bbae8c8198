// Escape and Return at the keyboard, through the X server, in the windows of the shell: the
// clocks window, the About window, the five option dialogs and the simulation box, on the bare
// server and under mwm (which gives and takes the focus of the windows itself). Escape must do
// what Cancel (or Close) does and Return what the default button does, with the focus where the
// window puts it.

// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include <Xm/Xm.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "ShellFixture.h"
#include "model/elements/ElementType.h"
#include "model/format/FileKind.h"
#include "shell/AboutWindow.h"
#include "shell/ClocksWindow.h"
#include "shell/CompilerSettingsDialog.h"
#include "shell/DefaultTimesDialog.h"
#include "shell/DirectoriesOptionsDialog.h"
#include "shell/MainWindow.h"
#include "shell/Settings.h"
#include "shell/SimulationBoxWindow.h"
#include "shell/StartupOptionsDialog.h"
#include "shell/WorkingAreaOptionsDialog.h"
#include "tests/support/program/WindowManager.h"
#include "toolkit/ReadInt.h"

namespace {

using e2e::Desktop;

// A window of the shell: opened, with an edit that only its OK takes; whether it is open and
// whether the edit was taken.
struct ShellWindow {
    const char* what;
    const char* okLabel;                     // what Return presses
    const char* cancelLabel;                 // what Escape presses
    std::function<Widget(MainWindow&)> open; // returns the shell, the edit made
    std::function<bool(MainWindow&)> isOpen;
    std::function<bool(MainWindow&)> taken;
};

Widget Option(MainWindow& main, const char* entry) {
    Press(Find(main.GetForm(), entry));
    Flush();
    return nullptr;
}

template <class Dialog> Widget ShellOf(Dialog* dialog) {
    return dialog != nullptr ? dialog->GetShell() : nullptr;
}

const ShellWindow kWindows[] = {
    {"Clocks", "OK", "Cancel",
     [](MainWindow& main) {
         main.GetClocksWindow()->Show();
         return main.GetClocksWindow()->GetShell();
     },
     [](MainWindow& main) { return testgui::IsShown(main.GetClocksWindow()->GetShell()); },
     nullptr},
    {"About", "OK", "OK",
     [](MainWindow&) {
         ShowAbout();
         return GetAboutShell();
     },
     [](MainWindow&) { return GetAboutShell() != nullptr; }, nullptr},
    {"Compiler Settings", "OK", "Cancel",
     [](MainWindow& main) {
         Option(main, "Compiler Settings");
         SetTextOf(main.GetCompilerSettingsDialog()->GetText(0), "clang");
         return ShellOf(main.GetCompilerSettingsDialog());
     },
     [](MainWindow& main) { return main.GetCompilerSettingsDialog() != nullptr; },
     [](MainWindow&) { return std::string(GetCompiler()) == "clang"; }},
    {"Default Times", "OK", "Cancel",
     [](MainWindow& main) {
         Option(main, "Default Times");
         SetTextOf(main.GetDefaultTimesDialog()->GetField(kMask), "7");
         return ShellOf(main.GetDefaultTimesDialog());
     },
     [](MainWindow& main) { return main.GetDefaultTimesDialog() != nullptr; },
     [](MainWindow&) { return GetDefaultTime(kMask) == 7; }},
    {"Working Area", "OK", "Cancel",
     [](MainWindow& main) {
         Option(main, "Working Area");
         SetTextOf(main.GetWorkingAreaOptionsDialog()->GetXField(), "20");
         return ShellOf(main.GetWorkingAreaOptionsDialog());
     },
     [](MainWindow& main) { return main.GetWorkingAreaOptionsDialog() != nullptr; },
     [](MainWindow& main) { return main.GetGridX() == 20; }},
    {"Directories", "OK", "Cancel",
     [](MainWindow& main) {
         Option(main, "Directories");
         SetTextOf(DirectoriesOptionsDialog::GetFilterField(0), "*.arch");
         return ShellOf(main.GetDirectoriesDialog());
     },
     [](MainWindow& main) { return main.GetDirectoriesDialog() != nullptr; },
     [](MainWindow&) { return std::string(GetFilterPattern(kArchitectureFile)) == "*.arch"; }},
    {"Startup", "OK", "Cancel",
     [](MainWindow& main) {
         Option(main, "Startup");
         SetTextOf(main.GetStartupDialog()->GetWidthField(), "32");
         return ShellOf(main.GetStartupDialog());
     },
     [](MainWindow& main) { return main.GetStartupDialog() != nullptr; },
     [](MainWindow&) {
         int width = 0, height = 0;
         GetStartupDimension(width, height);
         return width == 32;
     }},
};

// The push button of that label, blanks around the word or not.
Widget ButtonOf(Widget shell, const char* word) {
    Widget button = testgui::ButtonLabelled(shell, word);
    return button != nullptr
               ? button
               : testgui::ButtonLabelled(shell, (std::string(" ") + word + " ").c_str());
}

class DialogKeys : public ::testing::TestWithParam<Desktop> {
protected:
    void SetUp() override {
        if (std::system("command -v xdotool > /dev/null") != 0) GTEST_SKIP() << "no xdotool";
        if (Shell().main == nullptr) GTEST_SKIP() << "no X server";
        if (!wm.StartFor(GetParam())) GTEST_SKIP() << wm.Error();
        main = Shell().main;
        Messages().clear();
        ResetSettings();
        Flush();
    }
    void TearDown() override {
        Flush();
        wm.Stop();
    }

    // Keys pressed in shell once it is shown; how often the button of that label was pressed.
    static int Presses(Widget shell, const char* keys, const char* label) {
        Widget button = ButtonOf(shell, label);
        EXPECT_NE(button, nullptr) << label;
        if (button == nullptr) return -1;
        EXPECT_TRUE(testgui::RunUntil([&] { return testgui::IsShown(shell); }, 5000));
        bool keysPressed = false;
        const int count = testgui::ActivationsByKeys(shell, button, keys, Flush, keysPressed);
        EXPECT_TRUE(keysPressed);
        return count;
    }

    e2e::WindowManager wm;
    MainWindow* main = nullptr;
};

INSTANTIATE_TEST_SUITE_P(On, DialogKeys, ::testing::Values(Desktop::kBare, Desktop::kMwm),
                         [](const ::testing::TestParamInfo<Desktop>& info) {
                             return e2e::DesktopName(info.param);
                         });

TEST_P(DialogKeys, EscapeCancelsAndReturnOksEveryWindow) {
    for (const ShellWindow& window : kWindows) {
        for (bool ok : {false, true}) {
            SCOPED_TRACE(std::string(window.what) + (ok ? " Return" : " Escape"));
            ResetSettings();
            Widget shell = window.open(*main);
            ASSERT_NE(shell, nullptr);
            Flush();
            // Return in a number field is the dialog's OK itself, not a press of the button: the
            // edit shows it was OK.
            const int presses =
                Presses(shell, ok ? "Return" : "Escape", ok ? window.okLabel : window.cancelLabel);
            if (!ok || !window.taken) {
                EXPECT_EQ(presses, 1);
            }
            EXPECT_FALSE(window.isOpen(*main));
            if (window.taken) {
                EXPECT_EQ(window.taken(*main), ok);
            }
        }
    }
}

// Return runs; the run takes the focus from Run while it is insensitive, and Return after the
// run must run on, not reset. Escape is Close.
TEST_P(DialogKeys, TheSimulationBoxRunsOnReturnAndClosesOnEscape) {
    SimulationBoxWindow* box = main->GetSimulationBox();
    box->Show();
    Flush();
    Toggle(box->GetTimeToggle(), true);
    SetTextOf(box->GetTimeField(), "5");
    XmProcessTraversal(box->GetRunButton(), XmTRAVERSE_CURRENT);
    Widget shell = box->GetShell();
    EXPECT_EQ(Presses(shell, "Return", "Run"), 1);
    EXPECT_EQ(main->GetSimulationTime(), 5u);
    EXPECT_EQ(Presses(shell, "Return", "Run"), 1);
    EXPECT_EQ(main->GetSimulationTime(), 10u);
    EXPECT_EQ(Presses(shell, "Escape", "Close"), 1);
    EXPECT_FALSE(testgui::IsShown(shell));
}

// Tab from the width field into the height field of the start-up options selects its digits:
// typing replaces them.
TEST_P(DialogKeys, TabThenTypingReplacesTheNumber) {
    Option(*main, "Startup");
    StartupOptionsDialog* dialog = main->GetStartupDialog();
    ASSERT_NE(dialog, nullptr);
    Widget shell = dialog->GetShell();
    ASSERT_TRUE(testgui::RunUntil([&] { return testgui::IsShown(shell); }, 5000));
    XmProcessTraversal(ReadIntGetText(dialog->GetWidthField()), XmTRAVERSE_CURRENT);
    ASSERT_TRUE(testgui::RealKeys(shell, "Tab 1 0 2 4"));
    EXPECT_EQ(TextOf(dialog->GetHeightField()), "1024");
    ASSERT_TRUE(testgui::RealKeys(shell, "Escape"));
    EXPECT_EQ(main->GetStartupDialog(), nullptr);
}

} // namespace
