// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include "shell/OptionDialogs.h"

#include <X11/keysym.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/Xm.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "ShellFixture.h"
#include "model/data/PtrArray.h"
#include "model/elements/AElement.h"
#include "model/elements/ElementType.h"
#include "model/format/FileKind.h"
#include "shell/ClocksWindow.h"
#include "shell/CompilerSettingsDialog.h"
#include "shell/DefaultTimesDialog.h"
#include "shell/DirectoriesOptionsDialog.h"
#include "shell/LibraryWindow.h"
#include "shell/MainWindow.h"
#include "shell/Settings.h"
#include "shell/SimulationBoxWindow.h"
#include "shell/StartupOptionsDialog.h"
#include "shell/WorkingAreaOptionsDialog.h"
#include "toolkit/ReadInt.h"

namespace {

class OptionDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        if (Shell().main == nullptr) GTEST_SKIP() << "no X server";
        main = Shell().main;
        Messages().clear();
        ResetSettings();
    }

    // The Options menu entry of that name, activated as a click does.
    void Menu(const char* entry) {
        Widget widget = Find(main->GetForm(), entry);
        ASSERT_NE(widget, nullptr) << entry;
        Press(widget);
        Flush();
    }

    static std::string Title(Widget shell) {
        char* title = nullptr;
        XtVaGetValues(shell, XmNtitle, &title, nullptr);
        return title != nullptr ? title : "";
    }

    // The TIME of the palette element of that type.
    uint32_t PaletteTime(uint32_t type) {
        PtrArray<AElement>& palette = main->GetLibraryWindow()->GetPalette();
        for (int i = 0; i < palette.GetCount(); i++) {
            if (palette[i]->GetType() == type) return palette[i]->GetTime();
        }
        ADD_FAILURE() << "no palette element of type " << type;
        return 0;
    }

    static Widget Button(Widget shell, int index) {
        return FindAll(shell, "ActionButton").at(static_cast<size_t>(index));
    }

    MainWindow* main = nullptr;
};

TEST_F(OptionDialogs, MenuOpensEachDialogOnceAndItsCloseClearsThePointer) {
    Menu("Compiler Settings");
    CompilerSettingsDialog* compiler = main->GetCompilerSettingsDialog();
    ASSERT_NE(compiler, nullptr);
    Menu("Compiler Settings"); // open: nothing happens
    EXPECT_EQ(main->GetCompilerSettingsDialog(), compiler);
    int shells = 0;
    for (Widget widget : FindAll(main->GetShell(), "Compiler Settings"))
        shells += XtIsShell(widget);
    EXPECT_EQ(shells, 1);
    EXPECT_STREQ(XtName(compiler->GetShell()), "Compiler Settings");
    EXPECT_EQ(Title(compiler->GetShell()), "Compiler Settings");
    Press(Button(compiler->GetShell(), 2)); // Cancel
    EXPECT_EQ(main->GetCompilerSettingsDialog(), nullptr);

    Menu("Default Times");
    ASSERT_NE(main->GetDefaultTimesDialog(), nullptr);
    SendDeleteWindow(main->GetDefaultTimesDialog()->GetShell());
    EXPECT_EQ(main->GetDefaultTimesDialog(), nullptr); // the window manager's close is Cancel

    Menu("Working Area");
    ASSERT_NE(main->GetWorkingAreaOptionsDialog(), nullptr);
    EXPECT_EQ(Title(main->GetWorkingAreaOptionsDialog()->GetShell()), "Working Area - Options");
    Press(Button(main->GetWorkingAreaOptionsDialog()->GetShell(), 2));
    EXPECT_EQ(main->GetWorkingAreaOptionsDialog(), nullptr);

    Menu("Directories");
    ASSERT_NE(main->GetDirectoriesDialog(), nullptr);
    EXPECT_EQ(Title(main->GetDirectoriesDialog()->GetShell()), "Directories/Filter - Options");
    Press(Button(main->GetDirectoriesDialog()->GetShell(), 1));
    EXPECT_EQ(main->GetDirectoriesDialog(), nullptr);

    Menu("Startup");
    ASSERT_NE(main->GetStartupDialog(), nullptr);
    EXPECT_EQ(Title(main->GetStartupDialog()->GetShell()), "Startup - Options");
    Press(Button(main->GetStartupDialog()->GetShell(), 1));
    EXPECT_EQ(main->GetStartupDialog(), nullptr);
}

template <class Dialog> Widget ShellOf(Dialog* dialog) {
    return dialog != nullptr ? dialog->GetShell() : nullptr;
}

// The shell of the open dialog that the Options menu entry opens; null when it is not open.
Widget OpenDialogShell(MainWindow& main, const std::string& entry) {
    if (entry == "Compiler Settings") return ShellOf(main.GetCompilerSettingsDialog());
    if (entry == "Default Times") return ShellOf(main.GetDefaultTimesDialog());
    if (entry == "Working Area") return ShellOf(main.GetWorkingAreaOptionsDialog());
    if (entry == "Directories") return ShellOf(main.GetDirectoriesDialog());
    return ShellOf(main.GetStartupDialog());
}

// A real click on the main window's File menu through the X server: while an option dialog is
// open it opens nothing (so no second dialog can be chosen either); once the dialog is gone it
// opens the menu, also while the simulation box and the clocks window are shown.
TEST_F(OptionDialogs, AnOpenDialogKeepsTheMainWindowsMenusFromInput) {
    if (std::system("command -v xdotool > /dev/null") != 0) GTEST_SKIP() << "no xdotool";
    Widget file = Find(main->GetForm(), "File");
    ASSERT_NE(file, nullptr);
    Widget pulldown = nullptr;
    XtVaGetValues(file, XmNsubMenuId, &pulldown, nullptr);
    ASSERT_NE(pulldown, nullptr);
    Position x = 0, y = 0;
    XtTranslateCoords(file, 8, 8, &x, &y);
    const std::string click = "xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) +
                              " sleep 0.2 click 1 > /dev/null 2>&1";
    auto clickFile = [&] {
        ASSERT_EQ(std::system(click.c_str()), 0);
        RunFor(500);
    };
    for (const char* entry :
         {"Compiler Settings", "Default Times", "Working Area", "Directories", "Startup"}) {
        SCOPED_TRACE(entry);
        Menu(entry);
        Widget shell = OpenDialogShell(*main, entry);
        ASSERT_NE(shell, nullptr);
        clickFile();
        EXPECT_FALSE(testgui::IsShown(pulldown));
        SendDeleteWindow(shell);
        ASSERT_EQ(OpenDialogShell(*main, entry), nullptr);
    }
    // Nothing is open, then the simulation box and the clocks window, which keep the rest live.
    for (int shown = 0; shown < 2; shown++) {
        SCOPED_TRACE(shown);
        if (shown == 1) {
            main->GetSimulationBox()->Show();
            main->GetClocksWindow()->Show();
            Flush();
        }
        clickFile();
        EXPECT_TRUE(testgui::IsShown(pulldown));
        ASSERT_EQ(std::system("xdotool key Escape > /dev/null 2>&1"), 0);
        testgui::RunUntil([&] { return !testgui::IsShown(pulldown); });
    }
    main->GetClocksWindow()->Hide();
    main->GetSimulationBox()->Hide();
    Flush();
}

TEST_F(OptionDialogs, CompilerSettingsApplyCutsTo99Characters) {
    auto* dialog = new CompilerSettingsDialog(main);
    EXPECT_EQ(TextOf(dialog->GetText(kCompilerSetting)), "gcc");
    EXPECT_EQ(TextOf(dialog->GetText(kCompilerFlagsSetting)), "");
    EXPECT_NE(Find(dialog->GetShell(), "Compiler Options:"), nullptr);
    const std::string long120(120, 'o');
    SetTextOf(dialog->GetText(kCompilerFlagsSetting), long120.c_str());
    SetTextOf(dialog->GetText(kLoaderFlagsSetting), "-lm");
    Press(Button(dialog->GetShell(), 1)); // Apply
    EXPECT_EQ(std::string(GetCompilerFlags()), std::string(99, 'o'));
    EXPECT_STREQ(GetLoaderFlags(), "-lm");
    EXPECT_EQ(main->GetCompilerSettingsDialog(), dialog);
    SetTextOf(dialog->GetText(kCompilerSetting), "clang");
    Press(Button(dialog->GetShell(), 0)); // OK
    EXPECT_STREQ(GetCompiler(), "clang");
    EXPECT_EQ(main->GetCompilerSettingsDialog(), nullptr);
}

TEST_F(OptionDialogs, DefaultTimesApplyOnlyWhenEveryFieldIsValid) {
    auto* dialog = new DefaultTimesDialog(main);
    EXPECT_EQ(TextOf(dialog->GetField(kLogic)), "20");
    EXPECT_EQ(TextOf(dialog->GetField(kCElem)), "10");
    EXPECT_NE(Find(dialog->GetShell(), "  S-SEED:"), nullptr);
    SetTextOf(dialog->GetField(kMask), "7");
    SetTextOf(dialog->GetField(kSSeed), ""); // deleted, the focus still in the field
    Press(Button(dialog->GetShell(), 0));
    EXPECT_EQ(main->GetDefaultTimesDialog(), dialog); // OK refused, nothing taken
    EXPECT_EQ(GetDefaultTime(kMask), 0u);
    EXPECT_EQ(GetDefaultTime(kSSeed), 5u);
    SetTextOf(dialog->GetField(kSSeed), "2147483647");
    Press(Button(dialog->GetShell(), 1)); // Apply
    EXPECT_EQ(GetDefaultTime(kMask), 7u);
    EXPECT_EQ(GetDefaultTime(kSSeed), 2147483647u);
    EXPECT_EQ(main->GetDefaultTimesDialog(), dialog);
    // The library's palette takes the new times.
    EXPECT_EQ(PaletteTime(kMask), 7u);
    EXPECT_EQ(PaletteTime(kInput), 10u);
    SetTextOf(dialog->GetField(kOutput), "3");
    Press(Button(dialog->GetShell(), 0));
    EXPECT_EQ(GetDefaultTime(kOutput), 3u);
    EXPECT_EQ(PaletteTime(kOutput), 3u);
    EXPECT_EQ(main->GetDefaultTimesDialog(), nullptr);
}

TEST_F(OptionDialogs, DefaultTimesReturnInAFieldAppliesAllAndCloses) {
    auto* dialog = new DefaultTimesDialog(main);
    SetTextOf(dialog->GetField(kMask), "4");
    SetTextOf(dialog->GetField(kLogic), "30");
    // Return, as the text field reports it.
    Widget text = ReadIntGetText(dialog->GetField(kLogic));
    XEvent key = {};
    key.xkey.type = KeyPress;
    key.xkey.display = XtDisplay(text);
    key.xkey.window = XtWindow(text);
    key.xkey.keycode = XKeysymToKeycode(XtDisplay(text), XK_Return);
    XmAnyCallbackStruct call = {};
    call.reason = XmCR_ACTIVATE;
    call.event = &key;
    XtCallCallbacks(text, XmNactivateCallback, &call);
    EXPECT_EQ(main->GetDefaultTimesDialog(), nullptr);
    EXPECT_EQ(GetDefaultTime(kMask), 4u);
    EXPECT_EQ(GetDefaultTime(kLogic), 30u);
    EXPECT_EQ(PaletteTime(kLogic), 30u);
}

TEST_F(OptionDialogs, WorkingAreaGridFieldsFollowTheGridToggle) {
    main->SetGridOptions(0, 15, 15, 1);
    auto* dialog = new WorkingAreaOptionsDialog(main);
    EXPECT_FALSE(XmToggleButtonGetState(dialog->GetGridToggle()));
    EXPECT_FALSE(XmTextFieldGetEditable(ReadIntGetText(dialog->GetXField())));
    Toggle(dialog->GetGridToggle(), true);
    EXPECT_TRUE(XmTextFieldGetEditable(ReadIntGetText(dialog->GetXField())));
    EXPECT_TRUE(XmTextFieldGetEditable(ReadIntGetText(dialog->GetYField())));

    SetTextOf(dialog->GetXField(), "1"); // below the smallest step
    Press(Button(dialog->GetShell(), 0));
    EXPECT_EQ(main->GetWorkingAreaOptionsDialog(), dialog);
    EXPECT_EQ(main->GetGridVisible(), 0);
    SetTextOf(dialog->GetXField(), "20");
    SetTextOf(dialog->GetYField(), "100");
    Toggle(dialog->GetRasterizeToggle(), false);
    Press(Button(dialog->GetShell(), 0));
    EXPECT_EQ(main->GetWorkingAreaOptionsDialog(), nullptr);
    EXPECT_EQ(main->GetGridVisible(), 1);
    EXPECT_EQ(main->GetGridX(), 20);
    EXPECT_EQ(main->GetGridY(), 100);
    EXPECT_EQ(main->GetRasterize(), 0);
    main->SetGridOptions(1, 15, 15, 1);
}

TEST_F(OptionDialogs, DirectoriesStopAtTheFirstMissingOne) {
    const std::string arcs = Shell().home + "/arcs";
    ASSERT_EQ(mkdir(arcs.c_str(), 0755), 0);
    auto* dialog = new DirectoriesOptionsDialog(main);
    EXPECT_EQ(TextOf(DirectoriesOptionsDialog::GetFilterField(0)), "*.arc");
    EXPECT_EQ(TextOf(DirectoriesOptionsDialog::GetDirectoryField(0)), "");
    SetTextOf(DirectoriesOptionsDialog::GetDirectoryField(0), arcs.c_str());
    SetTextOf(DirectoriesOptionsDialog::GetFilterField(3), "*.msk");
    SetTextOf(DirectoriesOptionsDialog::GetDirectoryField(4), "/no/such/rules"); // "Rule: "
    SetTextOf(DirectoriesOptionsDialog::GetFilterField(4), "*.r");
    Press(Button(dialog->GetShell(), 0));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Error|Directory does not exist!"});
    EXPECT_EQ(main->GetDirectoriesDialog(), dialog);
    EXPECT_STREQ(GetDirectory(kArchitectureFile), arcs.c_str());
    EXPECT_STREQ(GetFilterPattern(kMaskFile), "*.msk");
    EXPECT_STREQ(GetFilterPattern(kRuleFile), "*.rule");

    SetTextOf(DirectoriesOptionsDialog::GetDirectoryField(4), "");
    Press(Button(dialog->GetShell(), 0));
    EXPECT_EQ(main->GetDirectoriesDialog(), nullptr);
    EXPECT_STREQ(GetFilterPattern(kRuleFile), "*.r");
    EXPECT_EQ(DirectoriesOptionsDialog::GetDirectoryField(0), nullptr);
    rmdir(arcs.c_str());
}

// A directory, filter or compiler text that the settings file could not give back as typed is
// refused with a message: the dialog stays, the setting is as it was, the field has the focus.
TEST_F(OptionDialogs, DirectoriesAndCompilerRefuseTextsTheSettingsCannotKeep) {
    const struct {
        int row; // of the Directories dialog; -1 for the compiler options
        bool filter;
        const char* text;
        const char* message;
    } cases[] = {
        {1, false, " /tmp", "Error|The text cannot begin with a blank!"},
        {1, false, "NOT_DEFINED", "Error|The text cannot begin with NOT_DEFINED!"},
        {1, true, "", "Error|The filter cannot be empty!"},
        {1, true, " *.lib", "Error|The text cannot begin with a blank!"},
        {-1, false, " -O2", "Error|The text cannot begin with a blank!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Messages().clear();
        Widget shell = nullptr;
        Widget field = nullptr;
        if (c.row >= 0) {
            shell = (new DirectoriesOptionsDialog(main))->GetShell();
            field = c.filter ? DirectoriesOptionsDialog::GetFilterField(c.row)
                             : DirectoriesOptionsDialog::GetDirectoryField(c.row);
        } else {
            shell = (new CompilerSettingsDialog(main))->GetShell();
            field = main->GetCompilerSettingsDialog()->GetText(kCompilerFlagsSetting);
        }
        SetTextOf(field, c.text);
        Press(Button(shell, 0)); // OK
        EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(XmGetFocusWidget(shell), field);
        EXPECT_STREQ(GetDirectory(kLibraryFile), "");
        EXPECT_STREQ(GetFilterPattern(kLibraryFile), "*.lib");
        EXPECT_STREQ(GetCompilerFlags(), "");
        if (c.row >= 0) {
            ASSERT_NE(main->GetDirectoriesDialog(), nullptr);
            delete main->GetDirectoriesDialog();
        } else {
            ASSERT_NE(main->GetCompilerSettingsDialog(), nullptr);
            delete main->GetCompilerSettingsDialog();
        }
    }
}

// The library path is taken as typed, blanks inside it and at its end included; a leading blank,
// which the settings file would drop, is refused with a message, as a missing file is.
TEST_F(OptionDialogs, StartupTakesTheLibraryAsTyped) {
    const std::string library = Shell().home + "/std .lib ";
    std::ofstream(library) << "\n";
    auto* dialog = new StartupOptionsDialog(main);
    int maxLength = 0;
    XtVaGetValues(ReadIntGetText(dialog->GetWidthField()), XmNmaxLength, &maxLength, nullptr);
    EXPECT_EQ(maxLength, 4);
    EXPECT_EQ(TextOf(dialog->GetWidthField()), "16");
    EXPECT_EQ(TextOf(dialog->GetLibraryField()), "");

    const struct {
        std::string text;
        const char* message;
    } refused[] = {
        {Shell().home + "/gone.lib", "Error|Directory does not exist!"},
        {Shell().home + "/std.lib", "Error|Directory does not exist!"}, // the blanks are its name
        {" " + library, "Error|The text cannot begin with a blank!"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.text);
        Messages().clear();
        SetTextOf(dialog->GetLibraryField(), c.text.c_str());
        Press(Button(dialog->GetShell(), 0));
        EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(main->GetStartupDialog(), dialog);
        EXPECT_EQ(GetStartupLibrary(), nullptr);
    }

    SetTextOf(dialog->GetLibraryField(), library.c_str());
    SetTextOf(dialog->GetWidthField(), "20");
    SetTextOf(dialog->GetHeightField(), "30");
    Toggle(dialog->GetSimulationBoxToggle(), true);
    Press(Button(dialog->GetShell(), 0));
    EXPECT_EQ(main->GetStartupDialog(), nullptr);
    EXPECT_STREQ(GetStartupLibrary(), library.c_str());
    int width = 0, height = 0;
    GetStartupDimension(width, height);
    EXPECT_EQ(width, 20);
    EXPECT_EQ(height, 30);
    EXPECT_EQ(GetStartupSimulationBox(), 1);
    EXPECT_EQ(GetStartupElementWindow(), 0);

    // Shown again as it was typed.
    dialog = new StartupOptionsDialog(main);
    EXPECT_EQ(TextOf(dialog->GetLibraryField()), library);
    Press(Button(dialog->GetShell(), 1));
    unlink(library.c_str());
}

} // namespace
