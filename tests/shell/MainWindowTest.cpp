// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "shell/MainWindow.h"

#include <Xm/Label.h>
#include <Xm/RowColumn.h>
#include <Xm/ScrollBar.h>
#include <Xm/ToggleBG.h>
#include <Xm/Xm.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "model/data/ClockList.h"
#include "model/data/Connection.h"
#include "model/elements/AElement.h"
#include "model/elements/ASplitElem.h"
#include "model/elements/ElementUi.h"
#include "model/format/ParseError.h"
#include "shell/AMacroElem.h"
#include "shell/FileSelection.h"
#include "shell/LibraryWindow.h"
#include "shell/MenuCommand.h"
#include "shell/ShellElementUi.h"
#include "shell/Startup.h"
#include "shell/WindowMessage.h"
#include "tests/support/ArchitectureText.h"
#include "tests/support/gui/GuiDisplay.h"
#include "tests/support/gui/GuiWidgets.h"
#include "tests/support/gui/ShellGui.h"
#include "toolkit/Colors.h"
#include "toolkit/OwnedXtString.h"

namespace {

using Gui = testgui::ShellGui;
using testgui::ProcessFor;

// While it lives the server serves this process alone: no other test's window may cover ours
// until its pixels are read.
class ServerHold {
public:
    explicit ServerHold(Display* held) : display(held) { XGrabServer(display); }
    ~ServerHold() { XUngrabServer(display); }
    ServerHold(const ServerHold&) = delete;
    ServerHold& operator=(const ServerHold&) = delete;

private:
    Display* display;
};

std::vector<std::string>& asked = testgui::Messages();
MessageResult& answer = testgui::FallbackAnswer();

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        gui = &testgui::TheShellGui();
        if (gui->main == nullptr) GTEST_SKIP() << "no X display";
        SetWindowMessageFunction(testgui::RecordMessage);
        asked.clear();
        testgui::QueuedAnswers().clear();
        answer = kResultNo;
        main().ClearModified();
        main().Clear();
        main().New(16, 16, 1);
        main().SetGridOptions(1, 15, 15, 1);
        ClearParseError();
    }
    void TearDown() override {
        if (gui->main == nullptr) return;
        main().ClearModified();
        main().Clear();
        SetWindowMessageFunction(nullptr);
    }

    MainWindow& main() { return *gui->main; }
    std::string ShellTitle() {
        char* title = nullptr;
        XtVaGetValues(gui->topLevel, XmNtitle, &title, nullptr);
        return title != nullptr ? title : "";
    }
    std::string LabelText(Widget label) { return testgui::LabelText(label); }
    int ReadFile(const std::string& text) {
        ClearParseError();
        std::istringstream in(text);
        return main().Read(in, nullptr);
    }
    int ReadGlobal(const std::string& text) {
        ClearParseError();
        std::istringstream in(text);
        return main().ReadGlobalData(in);
    }
    std::string GlobalData() {
        std::ostringstream out;
        EXPECT_EQ(main().WriteGlobalData(out, 0), 0);
        return out.str();
    }
    ASplitElem* AddSplit(int x, int y) { return testgui::AddElement<ASplitElem>(&main(), x, y); }

    Gui* gui = nullptr;
};

const char* const kNewGlobalData = R"(GLOBAL_ARCHITECTURE_DATA {
  DIMENSION: (16,16)
  CLOCKS {
    NUMBER: 1
    CLOCK {
      TIME:   100
      OFFSET: 0
    }
  }
  SIMULATION_DATA {
    MODE:     CLOCKS
    CLOCK_NR: 1
    CLOCKS:   1
  }
}

)";

TEST(MainWindow, TitleShowsTheHomeAsTildeOnlyAtADirectoryBoundary) {
    struct Case {
        const char* path;
        const char* home;
        const char* title;
    };
    const Case cases[] = {
        {"/home/u/x.arc", "/home/u", "Q  ~/x.arc"},
        {"/home/u/x.arc", "/home/u/", "Q  ~/x.arc"},
        {"/home/u", "/home/u", "Q  ~"},
        {"/home/user2/x.arc", "/home/u", "Q  /home/user2/x.arc"},
        {"/x.arc", "/", "Q  /x.arc"},
        {"/home/u/x.arc", "", "Q  /home/u/x.arc"},
        {"/home/u/x.arc", nullptr, "Q  /home/u/x.arc"},
        {" ", "/home/u", "Q   "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " in " + (c.home != nullptr ? c.home : "(unset)"));
        EXPECT_EQ(ComposeTitle("Q", c.path, c.home), c.title);
    }
}

TEST_F(MainWindowFixture, NewArchitectureHasTheBlankTitle) {
    main().SetTitle("/somewhere/a.arc");
    EXPECT_EQ(ShellTitle(), "QUIRAN Pro  /somewhere/a.arc");
    EXPECT_EQ(main().New(20, 30, 0), 1);
    EXPECT_EQ(ShellTitle(), "QUIRAN Pro   ");
    int width, height;
    AElement::GetDefaultPlaneSize(width, height);
    EXPECT_EQ(width, 20);
    EXPECT_EQ(height, 30);
    EXPECT_EQ(GetClockCount(), 1);
}

TEST_F(MainWindowFixture, WidgetsCarryTheNamesTheResourcesUse) {
    Widget form = main().GetForm();
    ASSERT_NE(form, nullptr);
    for (const char* name :
         {"MenuBar", "footer_rowcol", "ScrolledWindow", "*cad_area", "*FooterFrame", "*footer_form",
          "*footer_label_l", "*footer_label_r", "*footer_separator", "ScrolledWindow.HorScrollBar",
          "ScrolledWindow.VertScrollBar"}) {
        EXPECT_NE(XtNameToWidget(form, name), nullptr) << name;
    }
    Widget menuBar = XtNameToWidget(form, "MenuBar");
    // Entry names are the labels without their dots: the accelerator resources find them.
    struct Entry {
        const char* name;
        const char* accelerator; // from the fallback resources
    };
    const Entry entries[] = {{"*Open", "Ctrl-O"},       {"*Save", "Ctrl-S"}, {"*Quit", "Ctrl-Q"},
                             {"*Grid", "Ctrl-G"},       {"*Delete", "Del"},  {"*Save As", nullptr},
                             {"*Elementlist", "Ctrl-E"}};
    for (const Entry& entry : entries) {
        SCOPED_TRACE(entry.name);
        Widget widget = XtNameToWidget(menuBar, entry.name);
        ASSERT_NE(widget, nullptr);
        if (entry.accelerator == nullptr) continue;
        XmString text = nullptr;
        XtVaGetValues(widget, XmNacceleratorText, &text, nullptr);
        char* plain = nullptr;
        XmStringGetLtoR(text, const_cast<char*>(XmFONTLIST_DEFAULT_TAG), &plain);
        EXPECT_STREQ(plain, entry.accelerator);
        XtFree(plain);
        XmStringFree(text);
    }
    // "Simulate" names the cascade and the toggle in it; both get the accelerator line.
    XmString simulate = nullptr;
    XtVaGetValues(main().GetCommandMenuToggle(kCommandSimulate), XmNacceleratorText, &simulate,
                  nullptr);
    char* simulateText = nullptr;
    XmStringGetLtoR(simulate, const_cast<char*>(XmFONTLIST_DEFAULT_TAG), &simulateText);
    EXPECT_STREQ(simulateText, "Ctrl-I");
    XtFree(simulateText);
    XmStringFree(simulate);
    Widget help = nullptr;
    XtVaGetValues(menuBar, XmNmenuHelpWidget, &help, nullptr);
    ASSERT_NE(help, nullptr);
    EXPECT_STREQ(XtName(help), "Help");
    // Seven buttons and two gaps, the toggles remembered for their commands.
    Widget toolBar = XtNameToWidget(form, "footer_rowcol");
    WidgetList children = nullptr;
    Cardinal count = 0;
    XtVaGetValues(toolBar, XmNchildren, &children, XmNnumChildren, &count, nullptr);
    EXPECT_EQ(count, 9u);
    EXPECT_NE(main().GetCommandToolToggle(kCommandOverview), nullptr);
    EXPECT_EQ(main().GetCommandMenuToggle(kCommandGrid), XtNameToWidget(menuBar, "*Grid"));
    EXPECT_EQ(LabelText(main().GetStatusLabel()), "READY");
}

TEST_F(MainWindowFixture, WritesTheGlobalDataOfANewArchitecture) {
    EXPECT_EQ(GlobalData(), kNewGlobalData);
}

// The tests that write architecture files build their global data with the shared helper.
TEST(ArchitectureText, TheSharedGlobalDataIsWhatANewArchitectureWrites) {
    EXPECT_EQ(GlobalArchitectureData(16, 1) + "\n", kNewGlobalData);
}

TEST_F(MainWindowFixture, GlobalDataReadsBack) {
    ASSERT_EQ(AddClock(250, 7), 1);
    AElement::SetDefaultPlaneSize(40, 24);
    main().GetSimulationMode() = kModeClocks;
    main().GetSelectedClock() = 1;
    main().GetClockPeriods() = 12;
    const std::string clocked = GlobalData();
    main().GetSimulationMode() = kModeManual;
    main().GetRunTime() = 0;
    const std::string manual = GlobalData();
    EXPECT_NE(manual.find("    MODE: MANUAL\n    TIME: 0\n"), std::string::npos);
    for (const std::string& text : {clocked, manual}) {
        ResetClocks();
        AElement::SetDefaultPlaneSize(16, 16);
        EXPECT_EQ(ReadGlobal(text), 0);
        EXPECT_EQ(GlobalData(), text);
    }
    EXPECT_EQ(GetClockCount(), 2);
    EXPECT_EQ(GetClockPeriod(1), 250u);
    EXPECT_EQ(GetClockOffset(1), 7u);
}

TEST_F(MainWindowFixture, GlobalDataErrors) {
    struct Case {
        const char* from;
        const char* to;
        int code;
        const char* token;
        int modeAfter; // -1: not looked at
    };
    const Case cases[] = {
        {"CLOCK_NR: 1", "CLOCK_NR: 0", kNumberOutOfRange, "CLOCK_NR:", kModeManual},
        {"CLOCK_NR: 1", "CLOCK_NR: 2", kNumberOutOfRange, "CLOCK_NR:", kModeManual},
        {"CLOCKS:   1", "CLOCKS:   0", kNumberOutOfRange, "CLOCKS:", kModeManual},
        {"NUMBER: 1", "NUMBER: 0", kNoClock, "NUMBER:", -1},
        {"TIME:   100", "TIME:   0", kNumberOutOfRange, "TIME:", -1},
        {"DIMENSION: (16,16)", "DIMENSION: (0,16)", kNumberOutOfRange, "DIMENSION:", -1},
        {"DIMENSION: (16,16)", "DIMENSION: (16,100000)", kNumberOutOfRange, "DIMENSION:", -1},
        {"MODE:     CLOCKS", "MODE:     WHENEVER", kUnknownSimulationMode, "MODE:", -1},
        {"CLOCK {", "CLOCK (", kKeywordExpected, "{", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to);
        std::string text = kNewGlobalData;
        text.replace(text.find(c.from), std::string(c.from).size(), c.to);
        main().GetSimulationMode() = kModeClocks;
        EXPECT_EQ(ReadGlobal(text), c.code);
        EXPECT_EQ(GetParseError(), c.code);
        ASSERT_NE(GetParseErrorToken(), nullptr);
        EXPECT_STREQ(GetParseErrorToken(), c.token);
        if (c.modeAfter >= 0) {
            EXPECT_EQ(main().GetSimulationMode(), c.modeAfter);
        }
    }
    int width, height;
    AElement::GetDefaultPlaneSize(width, height);
    EXPECT_EQ(width, 16); // a refused dimension never becomes the plane size
    EXPECT_EQ(height, 16);
}

TEST_F(MainWindowFixture, WritesTheArchitectureFileOfANewArchitecture) {
    std::ostringstream out;
    EXPECT_EQ(main().Write(out, 0, nullptr), 0);
    EXPECT_EQ(out.str(), std::string("#\n# QUIRAN Pro architecture file\n#\n\n"
                                     "REMARKS {\n}\n\n"
                                     "OPTIONS {\n"
                                     "  GRID {\n"
                                     "    VISIBLE:   ON\n"
                                     "    DIMENSION: (15,15)\n"
                                     "    RASTERIZE: ON\n"
                                     "  }\n"
                                     "}\n\n") +
                             kNewGlobalData +
                             "ARCHITECTURE_ELEMENTS {\n"
                             "  NUMBER: 0\n"
                             "  ELEMENTS {\n"
                             "  }\n"
                             "}\n");
}

TEST_F(MainWindowFixture, ReadsAnArchitectureFileAndShowsItsGrid) {
    ASplitElem* a = AddSplit(30, 45);
    ASplitElem* b = AddSplit(150, 45);
    main().GetConnections().Add(new Connection(&main(), a, 5, b, 2, 1));
    main().SetGridOptions(0, 30, 30, 0);
    std::ostringstream out;
    ASSERT_EQ(main().Write(out, 0, nullptr), 0);
    const std::string text = out.str();
    main().ClearModified();
    main().SetGridOptions(1, 15, 15, 1);
    Widget gridToggle = main().GetCommandMenuToggle(kCommandGrid);
    ASSERT_TRUE(XmToggleButtonGadgetGetState(gridToggle));

    EXPECT_EQ(ReadFile(text), 0);
    EXPECT_EQ(main().DidRead(), 1);
    EXPECT_EQ(main().GetElements().GetCount(), 2);
    EXPECT_EQ(main().GetConnections().GetCount(), 1);
    EXPECT_EQ(main().GetGridVisible(), 0);
    EXPECT_FALSE(XmToggleButtonGadgetGetState(gridToggle));
    std::ostringstream again;
    ASSERT_EQ(main().Write(again, 0, nullptr), 0);
    EXPECT_EQ(again.str(), text);
}

TEST_F(MainWindowFixture, ReadThatMayNotClearReadsNothing) {
    AddSplit(30, 45);
    main().SetModified();
    main().SetFileName("/tmp/kept.arc");
    answer = kResultCancel;
    EXPECT_EQ(ReadFile("anything"), 0);
    EXPECT_EQ(main().DidRead(), 0);
    EXPECT_EQ(main().GetElements().GetCount(), 1);
    EXPECT_STREQ(main().GetFileName(), "/tmp/kept.arc");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], " |Architecture has been modified!\nDo you want to save it ?");
}

TEST_F(MainWindowFixture, FailedReadLeavesTheDefaultClockAndNoStaleClocks) {
    // Two clocks, a SPLIT on clock 2, then an element the reader does not know.
    ASSERT_EQ(AddClock(50, 5), 1);
    ASplitElem* split = AddSplit(30, 45);
    split->SetClock(2);
    AddSplit(150, 45);
    main().GetSelectedClock() = 1;
    std::ostringstream out;
    ASSERT_EQ(main().Write(out, 0, nullptr), 0);
    std::string text = out.str();
    text.replace(text.rfind("TYPE: SPLIT"), 11, "TYPE: NONSENSE");
    main().ClearModified();
    main().GetRunTime() = 77;

    EXPECT_EQ(ReadFile(text), kUnknownElementType);
    EXPECT_EQ(GetClockCount(), 1);
    EXPECT_EQ(GetClockPeriod(0), 100u);
    ASSERT_EQ(main().GetElements().GetCount(), 1);
    EXPECT_EQ(main().GetElements()[0]->GetClock(), 0);
    EXPECT_EQ(main().GetSelectedClock(), 0);
    EXPECT_EQ(main().GetRunTime(), 1); // reset as for a new architecture before reading
    // The load failed after clearing: the window no longer names the old file.
    EXPECT_EQ(main().GetFileName(), nullptr);
    EXPECT_EQ(ShellTitle(), "QUIRAN Pro   ");
}

TEST_F(MainWindowFixture, ClearQuestionFollowsTheAnswerInBothWindows) {
    char folder[] = "/tmp/quiran-clear-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/kept";
    ArchitectureWindow* windows[] = {&main(), main().GetLibraryWindow()};
    const char* const questions[] = {
        " |Architecture has been modified!\nDo you want to save it ?",
        "Library|Library has been modified!\nDo you want to save it ?"};
    struct Case {
        MessageResult answer;
        int agreed;
        bool saved;
    };
    const Case cases[] = {{kResultYes, 0, true}, {kResultNo, 1, false}, {kResultCancel, 0, false}};
    for (int w = 0; w < 2; w++) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(w) + " answer " + std::to_string(c.answer));
            ArchitectureWindow& window = *windows[w];
            std::ofstream(path) << "old\n";
            window.SetFileName(path.c_str());
            window.SetModified();
            asked.clear();
            answer = c.answer;
            EXPECT_EQ(window.AskClear(), c.agreed);
            ASSERT_EQ(asked.size(), 1u);
            EXPECT_EQ(asked[0], questions[w]);
            std::ifstream file(path);
            std::string first;
            std::getline(file, first);
            EXPECT_EQ(first, c.saved ? "#" : "old");
            // An unmodified window agrees without a question.
            window.ClearModified();
            asked.clear();
            EXPECT_EQ(window.AskClear(), 1);
            EXPECT_TRUE(asked.empty());
            window.SetFileName(nullptr);
        }
    }
    unlink(path.c_str());
    rmdir(folder);
}

TEST_F(MainWindowFixture, QuitAsksBeforeClearing) {
    AddSplit(30, 45);
    main().SetModified();
    main().SetTitle("/tmp/q.arc");
    answer = kResultCancel;
    EXPECT_EQ(main().QueryQuit(), 0);
    EXPECT_EQ(main().GetElements().GetCount(), 1);
    EXPECT_EQ(ShellTitle(), "QUIRAN Pro  /tmp/q.arc");
    answer = kResultNo;
    EXPECT_EQ(main().QueryQuit(), 1);
    EXPECT_EQ(main().GetElements().GetCount(), 0);
    EXPECT_EQ(ShellTitle(), "QUIRAN Pro   ");
}

// With both windows modified, the main architecture is asked first and the library second, and
// nothing is cleared unless both agree: a library that refuses must not find the main
// architecture already gone.
TEST_F(MainWindowFixture, QuitClearsNeitherWindowUnlessBothAgree) {
    char folder[] = "/tmp/quiran-quit-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string mainPath = std::string(folder) + "/main.arc";
    const std::string libraryPath = std::string(folder) + "/library.lib";
    ArchitectureWindow& library = *main().GetLibraryWindow();
    const std::string mainQuestion = " |Architecture has been modified!\nDo you want to save it ?";
    const std::string libraryQuestion =
        "Library|Library has been modified!\nDo you want to save it ?";
    struct Case {
        const char* name;
        std::vector<MessageResult> answers; // main's first, then the library's
        int quits;
        size_t questions; // 1: only the main architecture was asked
        bool mainSaved, librarySaved;
    };
    const Case cases[] = {
        {"main cancels", {kResultCancel}, 0, 1, false, false},
        {"main saves", {kResultYes}, 0, 1, true, false},
        {"library cancels", {kResultNo, kResultCancel}, 0, 2, false, false},
        {"library saves", {kResultNo, kResultYes}, 0, 2, false, true},
        {"both discard", {kResultNo, kResultNo}, 1, 2, false, false},
    };
    auto firstLine = [](const std::string& path) {
        std::ifstream file(path);
        std::string first;
        std::getline(file, first);
        return first;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(mainPath) << "old\n";
        std::ofstream(libraryPath) << "old\n";
        AddSplit(30, 45);
        main().SetFileName(mainPath.c_str());
        main().SetTitle(mainPath.c_str());
        main().SetModified();
        testgui::AddElement<ASplitElem>(&library, 30, 45);
        library.SetFileName(libraryPath.c_str());
        library.SetModified();
        asked.clear();
        testgui::QueuedAnswers().assign(c.answers.begin(), c.answers.end());

        EXPECT_EQ(main().QueryQuit(), c.quits);
        ASSERT_EQ(asked.size(), c.questions);
        EXPECT_EQ(asked[0], mainQuestion);
        if (c.questions > 1) {
            EXPECT_EQ(asked[1], libraryQuestion);
        }
        EXPECT_EQ(firstLine(mainPath), c.mainSaved ? "#" : "old");
        EXPECT_EQ(firstLine(libraryPath), c.librarySaved ? "#" : "old");
        const int kept = c.quits ? 0 : 1;
        EXPECT_EQ(main().GetElements().GetCount(), kept);
        EXPECT_EQ(library.GetElements().GetCount(), kept);
        if (c.quits) {
            EXPECT_EQ(main().GetFileName(), nullptr);
            EXPECT_EQ(library.GetFileName(), nullptr);
            EXPECT_EQ(ShellTitle(), "QUIRAN Pro   ");
        } else {
            EXPECT_STREQ(main().GetFileName(), mainPath.c_str());
            EXPECT_STREQ(library.GetFileName(), libraryPath.c_str());
            EXPECT_EQ(ShellTitle(), ComposeTitle("QUIRAN Pro", mainPath.c_str(), getenv("HOME")));
        }

        testgui::QueuedAnswers().clear();
        main().ClearModified();
        main().Clear();
        library.ClearModified();
        library.Clear();
    }
    unlink(mainPath.c_str());
    unlink(libraryPath.c_str());
    rmdir(folder);
}

TEST_F(MainWindowFixture, ReadyDiscardsInputGivenWhileBusy) {
    Widget status = main().GetStatusLabel();
    Dimension width = 0;
    XtVaGetValues(status, XmNwidth, &width, nullptr);
    main().SetBusy("LOADING");
    EXPECT_EQ(LabelText(status), "LOADING");
    Pixel foreground = 0;
    XtVaGetValues(status, XmNforeground, &foreground, nullptr);
    EXPECT_EQ(foreground, GetRed());

    // A key typed into the working area while busy.
    Display* display = XtDisplay(main().GetCadArea());
    XEvent key{};
    key.xkey.type = KeyPress;
    key.xkey.display = display;
    key.xkey.window = XtWindow(main().GetCadArea());
    key.xkey.keycode = XKeysymToKeycode(display, XK_Delete);
    key.xkey.same_screen = True;
    XSendEvent(display, key.xkey.window, False, KeyPressMask, &key);
    XSync(display, False);

    main().SetReady();
    EXPECT_EQ(LabelText(status), "READY");
    XEvent left;
    EXPECT_FALSE(XCheckMaskEvent(display, KeyPressMask, &left));
    Dimension after = 0;
    XtVaGetValues(status, XmNwidth, &after, nullptr);
    EXPECT_EQ(after, width); // the label keeps the width of the longest word
}

TEST_F(MainWindowFixture, ExposureRedrawsWiresWhole) {
    ASplitElem* a = AddSplit(30, 45);
    ASplitElem* b = AddSplit(330, 45);
    main().GetConnections().Add(new Connection(&main(), a, 3, b, 2, 1));
    main().ScrollTo(0, 0);
    Widget area = main().GetCadArea();
    Display* display = XtDisplay(area);
    Window window = XtWindow(area);
    // No other test's window may cover the area until its pixels are read.
    const ServerHold hold(display);
    XRaiseWindow(display, XtWindow(gui->topLevel));
    ProcessFor(gui->app, 200);
    main().Redraw(1, 0, 0, 0, 0);
    int x1, y1;
    a->GetPinPosition(3, x1, y1);
    const int wireX = 200; // a point on the wire, well between the two elements
    auto pixel = [&](int x, int y) {
        XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
        unsigned long value = image != nullptr ? XGetPixel(image, 0, 0) : 0;
        if (image != nullptr) XDestroyImage(image);
        return value;
    };
    XSync(display, False);
    const unsigned long wire = pixel(wireX, y1);
    ASSERT_NE(wire, GetWhite());
    // Half the wire is exposed (as when a window over it goes away).
    XClearArea(display, window, wireX - 20, y1 - 20, 40, 40, True);
    ProcessFor(gui->app, 300);
    XSync(display, False);
    EXPECT_EQ(pixel(wireX, y1), wire);
    EXPECT_EQ(pixel(wireX + 41, y1), wire); // the part outside stays drawn once (off the grid)
}

// A load sends the server the status word once and draws only what can be seen, and clearing
// brings the display up to date once, not once per element: an architecture with two hundred more
// elements and wires outside the view costs hardly more of either.
TEST_F(MainWindowFixture, LoadAndClearSendTheServerOnlyWhatCanBeSeen) {
    main().ScrollTo(0, 0);
    auto architecture = [&](int hidden) {
        ASplitElem* a = AddSplit(30, 45);
        ASplitElem* b = AddSplit(330, 45);
        main().GetConnections().Add(new Connection(&main(), a, 3, b, 2, 0));
        ASplitElem* previous = nullptr;
        for (int k = 0; k < hidden; k++) {
            ASplitElem* element = AddSplit(3000 + 70 * (k % 20), 3000 + 70 * (k / 20));
            if (previous != nullptr && k % 20 != 0) {
                main().GetConnections().Add(new Connection(&main(), previous, 3, element, 2, 0));
            }
            previous = element;
        }
        std::ostringstream out;
        EXPECT_EQ(main().Write(out, 0, nullptr), 0);
        main().ClearModified();
        main().Clear();
        return out.str();
    };
    Display* display = XtDisplay(main().GetCadArea());
    struct Requests {
        unsigned long load, clear;
    };
    auto requests = [&](const std::string& text) {
        Requests sent;
        XSync(display, False);
        unsigned long before = NextRequest(display);
        EXPECT_EQ(ReadFile(text), 0);
        sent.load = NextRequest(display) - before;
        main().ClearModified();
        before = NextRequest(display);
        main().Clear();
        sent.clear = NextRequest(display) - before;
        return sent;
    };
    const std::string few = architecture(0);
    const std::string many = architecture(200);
    const Requests fewRequests = requests(few);
    const Requests manyRequests = requests(many);
    EXPECT_LT(manyRequests.load, fewRequests.load + 40) << fewRequests.load << " for 2 elements";
    EXPECT_LT(manyRequests.clear, fewRequests.clear + 40) << fewRequests.clear << " for 2";

    // What can be seen is drawn: the wire between the two visible elements.
    ASSERT_EQ(ReadFile(many), 0);
    ASSERT_EQ(main().GetConnections().GetCount(), 1 + 190);
    for (int i = 0; i < main().GetConnections().GetCount(); i++) {
        const Connection* wire = main().GetConnections()[i];
        EXPECT_EQ(wire->IsDrawn(), wire->GetSource()->GetX() < 3000 ? 1 : 0) << i;
    }
}

// Icons that later icons paint over whole are not sent, and leaving them out changes no pixel:
// the picture equals the one of every icon painted in order, the wires on top.
TEST_F(MainWindowFixture, IconsPaintedOverWholeAreLeftOutUnseen) {
    main().ScrollTo(0, 0);
    Widget area = main().GetCadArea();
    Display* display = XtDisplay(area);
    Window window = XtWindow(area);
    auto requests = [&](int stacked) {
        for (int k = 0; k < stacked; k++)
            AddSplit(300, 300);
        XSync(display, False);
        const unsigned long before = NextRequest(display);
        main().Redraw(1, 0, 0, 0, 0);
        const unsigned long sent = NextRequest(display) - before;
        main().Clear();
        return sent;
    };
    const unsigned long two = requests(2);
    EXPECT_LT(requests(200), two + 10) << two << " for 2 icons in one place";

    // Icons in steps of a few pixels, some marked, one framed, wired in a chain.
    std::vector<ASplitElem*> icons;
    for (int k = 0; k < 60; k++)
        icons.push_back(AddSplit(30 + 7 * (k % 9), 45 + 5 * (k % 7) + 2 * (k / 20)));
    for (int k = 1; k < 60; k += 2) {
        main().GetConnections().Add(new Connection(&main(), icons[k - 1], 3, icons[k], 2, 0));
    }
    for (int k = 0; k < 60; k += 5)
        icons[k]->Mark();
    icons[57]->ShowFrame();
    const ServerHold hold(display);
    XRaiseWindow(display, XtWindow(gui->topLevel));
    ProcessFor(gui->app, 200);
    auto picture = [&] {
        XSync(display, False);
        XImage* image = XGetImage(display, window, 0, 0, 200, 150, AllPlanes, ZPixmap);
        std::vector<unsigned long> pixels;
        for (int y = 0; image != nullptr && y < 150; y++) {
            for (int x = 0; x < 200; x++)
                pixels.push_back(XGetPixel(image, x, y));
        }
        if (image != nullptr) XDestroyImage(image);
        return pixels;
    };
    main().Redraw(1, 0, 0, 0, 0);
    const std::vector<unsigned long> redrawn = picture();
    ASSERT_EQ(redrawn.size(), 200u * 150u);
    // The wires are drawn with XOR: drawn again they go; then every icon in order, the wires.
    PtrArray<Connection>& wires = main().GetConnections();
    for (int i = 0; i < wires.GetCount(); i++)
        wires[i]->Erase();
    for (ASplitElem* icon : icons)
        icon->Draw();
    for (int i = 0; i < wires.GetCount(); i++)
        wires[i]->Draw();
    const std::vector<unsigned long> painted = picture();
    int differing = 0;
    for (size_t i = 0; i < redrawn.size(); i++)
        differing += redrawn[i] != painted[i];
    EXPECT_EQ(differing, 0);
}

// Opening a file shows "LOADING" once and "READY" once, not a word per element or per macro
// body read, and the model asks for no drawing of its own while the window reads.
TEST_F(MainWindowFixture, OpeningAFileShowsLoadingOnceThenReady) {
    class StatusRecorder : public ShellElementUi {
    public:
        explicit StatusRecorder(Widget topLevel) : ShellElementUi(topLevel) {}
        void SetBusy(const char* word) override {
            words.push_back(word);
            ShellElementUi::SetBusy(word);
        }
        void SetReady() override {
            words.push_back("READY");
            ShellElementUi::SetReady();
        }
        void Redraw(Architecture* owner, int clear, int x1, int y1, int x2, int y2) override {
            redraws++;
            ShellElementUi::Redraw(owner, clear, x1, y1, x2, y2);
        }
        std::vector<std::string> words;
        int redraws = 0;
    };
    ASplitElem* a = AddSplit(30, 45);
    ASplitElem* b = AddSplit(150, 45);
    AddSplit(270, 45);
    main().GetConnections().Add(new Connection(&main(), a, 3, b, 2, 0));
    auto* macro = new AMacroElem(&main(), 30, 165);
    macro->SetOwner(&main());
    main().GetElements().Add(macro);
    testgui::AddElement<ASplitElem>(macro, 30, 45);
    std::ostringstream out;
    ASSERT_EQ(main().Write(out, 0, nullptr), 0);
    main().ClearModified();
    main().Clear();
    char path[] = "/tmp/quiran-loading-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(close(fd), 0);
    std::ofstream(path) << out.str();

    ElementUi& previous = GetElementUi();
    StatusRecorder recorder(gui->topLevel);
    SetElementUi(&recorder);
    const int loaded = LoadFile(main(), path, nullptr);
    SetElementUi(&previous);
    unlink(path);

    EXPECT_EQ(loaded, 0);
    EXPECT_EQ(main().GetElements().GetCount(), 4);
    EXPECT_EQ(recorder.words, (std::vector<std::string>{"LOADING", "READY"}));
    EXPECT_EQ(recorder.redraws, 0);
    EXPECT_EQ(LabelText(main().GetStatusLabel()), "READY");
    EXPECT_STREQ(main().GetFileName(), path);
}

TEST_F(MainWindowFixture, GridCommandTogglesTheGrid) {
    Widget toggle = main().GetCommandMenuToggle(kCommandGrid);
    ASSERT_NE(toggle, nullptr);
    XmToggleButtonGadgetSetState(toggle, False, True); // the user's click
    EXPECT_EQ(main().GetGridVisible(), 0);
    XmToggleButtonGadgetSetState(toggle, True, True);
    EXPECT_EQ(main().GetGridVisible(), 1);
}

TEST_F(MainWindowFixture, MenuEntriesReachTheirCommands) {
    Widget menuBar = XtNameToWidget(main().GetForm(), "MenuBar");
    ASSERT_NE(menuBar, nullptr);
    LibraryWindow& library = *main().GetLibraryWindow();
    struct Case {
        const char* entry;
        const char* callback;
        std::function<bool()> done;
    };
    const Case cases[] = {
        {"*Delete", XmNactivateCallback, [&] { return main().GetElements().GetCount() == 0; }},
        {"*Grid", XmNvalueChangedCallback, [&] { return main().GetGridVisible() == 0; }},
        {"*Elementlist", XmNvalueChangedCallback, [&] { return library.IsShown() != 0; }},
        {"*Latest Information", XmNactivateCallback,
         [&] { return asked.size() == 1 && asked[0].rfind("Latest Information|", 0) == 0; }},
        {"*Comments and bug reports", XmNactivateCallback,
         [&] { return asked.size() == 1 && asked[0].rfind("Comments and bug reports|", 0) == 0; }},
        // Edit Remarks has no function.
        {"*Edit Remarks", XmNactivateCallback,
         [&] { return asked.empty() && main().GetElements().GetCount() == 1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        main().SetGridOptions(1, 15, 15, 1);
        main().GetSelection().Reset();
        main().GetSelection().Add(AddSplit(30, 45));
        asked.clear();
        Widget entry = XtNameToWidget(menuBar, c.entry);
        ASSERT_NE(entry, nullptr);
        XtCallCallbacks(entry, c.callback, nullptr);
        EXPECT_TRUE(c.done());
        main().GetSelection().Reset();
        main().Clear();
    }
    library.Hide();
}

TEST_F(MainWindowFixture, NewEntryAsksForThePlaneSizeOverTheMainWindow) {
    AddSplit(30, 45);
    main().ClearModified();
    Widget menuBar = XtNameToWidget(main().GetForm(), "MenuBar");
    ASSERT_NE(menuBar, nullptr);
    Widget entry = XtNameToWidget(menuBar, "*New");
    ASSERT_NE(entry, nullptr);
    const size_t before = testgui::PopupsNamed(main().GetShell(), "Modify").size();
    XtCallCallbacks(entry, XmNactivateCallback, nullptr);
    const std::vector<Widget> dialogs = testgui::PopupsNamed(main().GetShell(), "Modify");
    ASSERT_EQ(dialogs.size(), before + 1);
    Widget dialog = dialogs.back();
    char* title = nullptr;
    XtVaGetValues(dialog, XmNtitle, &title, nullptr);
    EXPECT_STREQ(title, "New Architecture");
    EXPECT_EQ(testgui::LabelText(testgui::Child(dialog, "*label1")), "X-Dimension");
    const std::vector<Widget> fields = testgui::FindAll(dialog, "Integer_Text");
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(testgui::TextOf(fields[0]), "16");
    EXPECT_EQ(main().GetElements().GetCount(), 1); // nothing happens before the answer
    testgui::SetTextOf(fields[0], "24");
    testgui::SetTextOf(fields[1], "8");
    testgui::Press(testgui::ButtonLabelled(dialog, "OK"));
    EXPECT_EQ(main().GetElements().GetCount(), 0);
    int width = 0, height = 0;
    AElement::GetDefaultPlaneSize(width, height);
    EXPECT_EQ(width, 24);
    EXPECT_EQ(height, 8);
}

TEST_F(MainWindowFixture, CenterViewCentresTheScrollBars) {
    main().CenterView();
    for (const char* name : {"ScrolledWindow.HorScrollBar", "ScrolledWindow.VertScrollBar"}) {
        SCOPED_TRACE(name);
        Widget bar = XtNameToWidget(main().GetForm(), name);
        int value = 0, maximum = 0, slider = 0;
        XtVaGetValues(bar, XmNvalue, &value, XmNmaximum, &maximum, XmNsliderSize, &slider, nullptr);
        EXPECT_EQ(value, (maximum - slider) / 2);
    }
    int x1, y1, x2, y2;
    main().GetVisibleRect(x1, y1, x2, y2);
    EXPECT_GT(x1, 0);
    EXPECT_GT(x2, x1);
}

} // namespace
