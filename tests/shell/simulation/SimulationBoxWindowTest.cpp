// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include "shell/SimulationBoxWindow.h"

#include <Xm/RowColumn.h>
#include <Xm/ToggleB.h>
#include <Xm/Xm.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "ShellFixture.h"
#include "model/data/ClockList.h"
#include "model/data/Matrix.h"
#include "model/elements/ACElem.h"
#include "model/elements/AElement.h"
#include "model/elements/ElementType.h"
#include "model/format/ParseError.h"
#include "model/simulation/ClientProcess.h"
#include "shell/MainWindow.h"
#include "tests/support/ArchitectureText.h"
#include "toolkit/Bell.h"
#include "toolkit/OwnedXmString.h"
#include "toolkit/ReadInt.h"

namespace {

struct TargetCase {
    int mode;
    SimTime now, period, offset;
    int32_t periods, ticks;
    SimTime target;
};

const TargetCase kTargets[] = {
    {kModeClocks, 250, 100, 20, 2, 1, 420}, // two whole periods after the tick at 220
    {kModeClocks, 10, 100, 20, 1, 1, 120},  // before the offset: from the offset
    {kModeClocks, 220, 100, 20, 1, 1, 320}, // on a tick: a whole period on
    {kModeClocks, 0, 100, 0, 3, 1, 300},
    {kModeManual, 37, 100, 20, 9, 5, 42},
    {kModeClocks, 4294967000u, 100, 0, 99999, 1, 4294967295u}, // saturates, never wraps
    {kModeManual, 4294967290u, 100, 0, 1, 99999999, 4294967295u},
    {kModeClocks, 50, 0, 0, 1, 1, 50}, // no period: no run
    {7, 50, 100, 0, 1, 1, 0},
};

TEST(SimulationBoxWindow, RunTargetIsWholePeriodsAfterTheLastTick) {
    for (const TargetCase& c : kTargets) {
        SCOPED_TRACE(testing::Message() << c.mode << " " << c.now << " " << c.periods);
        EXPECT_EQ(ComputeRunTarget(c.mode, c.now, c.period, c.offset, c.periods, c.ticks),
                  c.target);
    }
}

struct RemovalCase {
    int selected, removed, count, after;
};

const RemovalCase kRemovals[] = {
    {2, 0, 2, 1},                              // follows its clock down
    {1, 1, 2, 0},                              // the deleted clock's elements go to the first clock
    {0, 1, 2, 0},  {2, 2, 2, 0}, {5, 0, 3, 2}, // clamped to the table
    {-1, 0, 2, 0},
};

TEST(SimulationBoxWindow, SelectedClockStaysWithinTheTable) {
    for (const RemovalCase& c : kRemovals) {
        SCOPED_TRACE(testing::Message() << c.selected << " " << c.removed);
        EXPECT_EQ(ClockAfterRemoval(c.selected, c.removed, c.count), c.after);
    }
    EXPECT_EQ(ClampClock(3, 0), 0);
}

// A 4 by 4 INPUT of three pictures on clock 1 (period 100, TIME 10), a MASK keeping every other
// column, and an OUTPUT of depth 1 on clock 1 (TIME 10).
const std::string kPictures = ArchitectureHead(4, 3, false) + R"(ARCHITECTURE_ELEMENTS {
  NUMBER: 3
  ELEMENTS {
    ARCHITECTURE_ELEMENT {
      TYPE: INPUT
      INTERNAL_DATA {
        NAME:       Pictures
        COMMENT:    
        INPUTS:     1
        OUTPUTS:    1
        INPUT_DIM:  (4,4)
        OUTPUT_DIM: (4,4)
        CLOCK:      1
        TIME:       10
      }
      LOGICAL_DATA {
        XY_PLANE_DATA {
          NUMBER: 3
          PLANES {
            MATRIX {
              DIMENSION: (4,4)
              DATA {
                1100
                1100
                0011
                0011
              }
            }
            MATRIX {
              DIMENSION: (4,4)
              DATA {
                1111
                0000
                1111
                0000
              }
            }
            MATRIX {
              DIMENSION: (4,4)
              DATA {
                1000
                0100
                0010
                0001
              }
            }
          }
        }
      }
      ARCHITECTURE_DATA {
        ID:   0
        PREV: [-,-]
        NEXT: [1,1]
        POS:  (450,435)
      }
    }
    ARCHITECTURE_ELEMENT {
      TYPE: MASK
      INTERNAL_DATA {
        NAME:       Columns
        COMMENT:    
        INPUTS:     1
        OUTPUTS:    1
        INPUT_DIM:  (4,4)
        OUTPUT_DIM: (4,4)
        CLOCK:      0
        TIME:       0
      }
      LOGICAL_DATA {
        MASK:
          MATRIX {
            DIMENSION: (4,4)
            DATA {
              1010
              1010
              1010
              1010
            }
          }
      }
      ARCHITECTURE_DATA {
        ID:   1
        PREV: [0,1]
        NEXT: [2,1]
        POS:  (570,435)
      }
    }
    ARCHITECTURE_ELEMENT {
      TYPE: OUTPUT
      INTERNAL_DATA {
        NAME:       Result
        COMMENT:    
        INPUTS:     1
        OUTPUTS:    1
        INPUT_DIM:  (4,4)
        OUTPUT_DIM: (4,4)
        CLOCK:      1
        TIME:       10
      }
      LOGICAL_DATA {
        NUMBER_PLANES: 1
      }
      ARCHITECTURE_DATA {
        ID:   2
        PREV: [1,1]
        NEXT: [-,-]
        POS:  (690,435)
      }
    }
  }
}
)";

std::string MatrixText(const char* rows) {
    std::string text = "MATRIX {\n  DIMENSION: (4,4)\n  DATA {\n";
    std::istringstream in(rows);
    std::string row;
    while (in >> row)
        text += "    " + row + "\n";
    return text + "  }\n}\n";
}

bool HasLabel(Widget widget, const char* text) {
    XmString shown = nullptr;
    XtVaGetValues(widget, XmNlabelString, &shown, nullptr);
    OwnedXmString label(shown);
    OwnedXmString expected(text);
    return XmStringCompare(label.Get(), expected.Get());
}

class SimulationBox : public ::testing::Test {
protected:
    void SetUp() override {
        if (Shell().main == nullptr) GTEST_SKIP() << "no X server";
        main = Shell().main;
        box = main->GetSimulationBox();
        ASSERT_NE(box, nullptr);
        Messages().clear();
    }

    std::string Shown(Widget display) { return TextOf(display); }

    // What the OUTPUT emits, written to a matrix file and read back as text.
    std::string SavedOutput() {
        AElement* output = main->GetElements()[2];
        EXPECT_EQ(output->GetType(), static_cast<uint32_t>(kOutput));
        const std::string path = Shell().home + "/result.matrix";
        {
            std::ofstream file(path);
            EXPECT_EQ(output->GetOutputPlane(0)->Write(file, 0, nullptr), 0);
        }
        std::ifstream file(path);
        std::stringstream text;
        text << file.rdbuf();
        std::remove(path.c_str());
        return text.str();
    }

    MainWindow* main = nullptr;
    SimulationBoxWindow* box = nullptr;
};

TEST_F(SimulationBox, IsBuiltWithTheNamesTheResourcesUse) {
    Widget shell = box->GetShell();
    EXPECT_STREQ(XtName(shell), "Simulation-Box");
    char* title = nullptr;
    XtVaGetValues(shell, XmNtitle, &title, nullptr);
    EXPECT_STREQ(title, "Simulate");
    for (const char* name :
         {"form", "frame_mode", "form_mode1", "rowcolumn_mode1", "rowcolumn_mode2", "clock_menu",
          "frame_act", "form_act", "act_clock_label", "act_time_label", "form_a"}) {
        EXPECT_NE(Find(shell, name), nullptr) << name;
    }
    EXPECT_STREQ(XtName(box->GetRunButton()), "ActionButton");
    EXPECT_EQ(TextOf(box->GetActualTimeDisplay()), "0");
    // One clock item per clock of a new architecture.
    ASSERT_EQ(box->GetClockItemCount(), 1);
    EXPECT_TRUE(HasLabel(box->GetClockItem(0), "T=100, O=0"));
}

TEST_F(SimulationBox, RunsPeriodsAndTicksAsDerivedByHand) {
    ASSERT_EQ(LoadArchitecture(kPictures), 0);
    box->Show();
    Flush();
    EXPECT_TRUE(XmToggleButtonGetState(box->GetClocksToggle()));
    EXPECT_EQ(TextOf(box->GetClocksField()), "3");

    // From time 0 the run resets first: INPUT and OUTPUT latch at 0, 100, 200 and compute ten
    // ticks later; the OUTPUT emits what it recorded one computation before.
    box->Run();
    EXPECT_EQ(main->GetSimulationTime(), 300u);
    EXPECT_EQ(TextOf(box->GetActualTimeDisplay()), "300");
    EXPECT_EQ(TextOf(box->GetActualClockDisplay()), "3");
    EXPECT_EQ(SavedOutput(), MatrixText("1000 1000 0010 0010")); // picture 1 under the mask

    // 15 ticks in MANUAL mode: the computations at 310 emit picture 2 under the mask.
    Toggle(box->GetTimeToggle(), true);
    EXPECT_EQ(main->GetSimulationMode(), kModeManual);
    EXPECT_FALSE(XmToggleButtonGetState(box->GetClocksToggle()));
    SetTextOf(box->GetTimeField(), "15");
    box->Run();
    EXPECT_EQ(main->GetRunTime(), 15);
    EXPECT_EQ(main->GetSimulationTime(), 315u);
    EXPECT_EQ(TextOf(box->GetActualTimeDisplay()), "315");
    EXPECT_EQ(SavedOutput(), MatrixText("1010 0000 1010 0000"));

    // Reset: time 0, every plane cleared.
    Press(box->GetResetButton());
    EXPECT_EQ(main->GetSimulationTime(), 0u);
    EXPECT_EQ(TextOf(box->GetActualTimeDisplay()), "0");
    EXPECT_EQ(SavedOutput(), MatrixText("0000 0000 0000 0000"));
    box->Hide();
}

TEST_F(SimulationBox, InvalidFieldsMakeRunAndResetDoNothing) {
    ASSERT_EQ(LoadArchitecture(kPictures), 0);
    box->Show();
    for (const char* text : {"0", "100000", ""}) {
        SCOPED_TRACE(text);
        SetTextOf(box->GetClocksField(), text);
        box->Run();
        EXPECT_EQ(main->GetSimulationTime(), 0u);
        EXPECT_EQ(main->GetEventQueue().GetCount(), 0);
    }
    SetTextOf(box->GetClocksField(), "1");
    box->Run();
    EXPECT_EQ(main->GetSimulationTime(), 100u);
    SetTextOf(box->GetClocksField(), "0");
    Press(box->GetResetButton());
    EXPECT_EQ(main->GetSimulationTime(), 100u); // Reset refused as well
    box->Hide();
}

using testgui::RealClick;
using testgui::RealTypeInto;

// "0" in Clocks and a click on Run, an emptied Time and a click on Reset: leaving the field for
// the button shows its fallback, which is not what the user gave, so that click does nothing;
// the next click takes the value shown.
TEST_F(SimulationBox, AClickRightAfterAFieldCorrectedItselfDoesNothing) {
    ASSERT_EQ(LoadArchitecture(kPictures), 0);
    box->Show();
    ASSERT_TRUE(testgui::RunUntil([&] { return testgui::IsShown(box->GetRunButton()); }));
    ASSERT_TRUE(RealTypeInto(box->GetClocksField(), "0"));
    ASSERT_TRUE(RealClick(box->GetRunButton()));
    ASSERT_TRUE(testgui::RunUntil([&] { return TextOf(box->GetClocksField()) == "1"; }));
    testgui::RunFor(200);
    EXPECT_EQ(main->GetSimulationTime(), 0u);
    ASSERT_TRUE(RealClick(box->GetRunButton()));
    EXPECT_TRUE(testgui::RunUntil([&] { return main->GetSimulationTime() == 100u; }));

    Toggle(box->GetTimeToggle(), true);
    ASSERT_TRUE(RealTypeInto(box->GetTimeField(), ""));
    ASSERT_TRUE(RealClick(box->GetResetButton()));
    ASSERT_TRUE(testgui::RunUntil([&] { return TextOf(box->GetTimeField()) == "1"; }));
    testgui::RunFor(200);
    EXPECT_EQ(main->GetSimulationTime(), 100u);
    ASSERT_TRUE(RealClick(box->GetResetButton()));
    EXPECT_TRUE(testgui::RunUntil([&] { return main->GetSimulationTime() == 0u; }));
    Toggle(box->GetClocksToggle(), true);
    box->Hide();
}

TEST_F(SimulationBox, RunWithoutAUsableClockIsRefused) {
    ASSERT_EQ(LoadArchitecture(kPictures), 0);
    box->Show();
    main->GetSelectedClock() = 4; // what a stale selection would be
    box->Run();
    EXPECT_EQ(main->GetSimulationTime(), 0u);
    EXPECT_EQ(main->GetEventQueue().GetCount(), 0); // not even reset
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], " |No clock selected!");
    EXPECT_TRUE(XtIsSensitive(box->GetRunButton()));

    // Rebuilding the menu keeps the selection within the table.
    box->RebuildClockMenu();
    EXPECT_EQ(main->GetSelectedClock(), 0);
    box->Run();
    EXPECT_EQ(main->GetSimulationTime(), 300u);
    box->Hide();
}

TEST_F(SimulationBox, ClocksModeNeedsAClock) {
    box->Show();
    Toggle(box->GetTimeToggle(), true);
    GetClocks().Clear();
    Toggle(box->GetClocksToggle(), true);
    EXPECT_FALSE(XmToggleButtonGetState(box->GetClocksToggle()));
    EXPECT_EQ(main->GetSimulationMode(), kModeManual);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], " |No clocks defined!");
    box->RebuildClockMenu();
    ASSERT_EQ(box->GetClockItemCount(), 1);
    EXPECT_TRUE(HasLabel(box->GetClockItem(0), " no clocks "));

    // A toggle clicked off goes on again.
    Toggle(box->GetTimeToggle(), false);
    EXPECT_TRUE(XmToggleButtonGetState(box->GetTimeToggle()));
    ResetClocks();
    box->Hide();
}

TEST_F(SimulationBox, ChoosingAClockItemSelectsItsClock) {
    AddClock(50, 5);
    box->RebuildClockMenu();
    ASSERT_EQ(box->GetClockItemCount(), 2);
    Press(box->GetClockItem(1));
    EXPECT_EQ(main->GetSelectedClock(), 1);
    ResetClocks();
    box->RebuildClockMenu();
    EXPECT_EQ(main->GetSelectedClock(), 0);
}

// The box, once shown, makes room for a longer clock chosen later: the menu shows the clock's
// whole text and lies fully inside the box.
TEST_F(SimulationBox, TheBoxMakesRoomForTheSelectedClocksText) {
    box->Show();
    Flush();
    AddClock(999999, 999999);
    box->RebuildClockMenu();
    Widget menu = Find(box->GetShell(), "clock_menu");
    ASSERT_NE(menu, nullptr);
    Widget button = XmOptionButtonGadget(menu);
    for (int selected : {1, 0, 1}) {
        SCOPED_TRACE(selected);
        main->GetSelectedClock() = selected;
        box->RebuildClockMenu();
        Flush();
        EXPECT_TRUE(HasLabel(button, selected == 1 ? "T=999999, O=999999" : "T=100, O=0"));
        XtWidgetGeometry wanted = {};
        XtQueryGeometry(menu, nullptr, &wanted);
        Dimension width = 0;
        XtVaGetValues(menu, XmNwidth, &width, nullptr);
        EXPECT_GE(width, wanted.width);
        Dimension shellWidth = 0;
        XtVaGetValues(box->GetShell(), XmNwidth, &shellWidth, nullptr);
        Position x = 0, y = 0;
        XtTranslateCoords(menu, 0, 0, &x, &y);
        Position shellX = 0, shellY = 0;
        XtTranslateCoords(box->GetShell(), 0, 0, &shellX, &shellY);
        EXPECT_LE(x + width, shellX + shellWidth);
    }
    ResetClocks();
    box->RebuildClockMenu();
    box->Hide();
}

TEST_F(SimulationBox, ShowAndHideFollowTheMainWindowToggle) {
    main->ToggleSimulationBox();
    Flush();
    EXPECT_EQ(main->GetSimulationBoxShown(), 1);
    Boolean set = False;
    XtVaGetValues(main->GetCommandMenuToggle(9), XmNset, &set, nullptr);
    EXPECT_TRUE(set);
    main->ToggleSimulationBox();
    EXPECT_EQ(main->GetSimulationBoxShown(), 0);
    XtVaGetValues(main->GetCommandMenuToggle(9), XmNset, &set, nullptr);
    EXPECT_FALSE(set);
}

int bells = 0;

void CountBell(Display*, int) {
    bells++;
}

// A click waiting for the main window when a CLOCKS run starts.
TEST_F(SimulationBox, ClicksElsewhereDuringARunRingTheBellAndAreLost) {
    ASSERT_EQ(LoadArchitecture(kPictures), 0);
    box->Show();
    Flush();
    Display* display = Shell().display;
    const Window area = XtWindow(main->GetCadArea());
    XEvent press = {};
    press.xbutton.type = ButtonPress;
    press.xbutton.window = area;
    press.xbutton.button = Button2;
    press.xbutton.x = 5;
    press.xbutton.y = 5;
    XSendEvent(display, area, False, NoEventMask, &press);
    XSync(display, False);
    bells = 0;
    const BellFunction quiet = SetBellFunction(CountBell);
    box->Run();
    SetBellFunction(quiet);
    EXPECT_EQ(main->GetSimulationTime(), 300u);
    EXPECT_EQ(bells, 1);
    XEvent left;
    EXPECT_FALSE(XCheckTypedWindowEvent(display, area, ButtonPress, &left)); // taken, not kept
    box->Hide();
}

long long fakeWallNs = 0;
long long FakeWall() {
    return fakeWallNs;
}

// Every poll reads input, between clock ticks too, but the labels change at most every 30 ms of
// wall time: each change costs a round trip to the server.
TEST_F(SimulationBox, PollReadsInputEveryCycleAndShowsTheTimeEvery30Ms) {
    ASSERT_EQ(LoadArchitecture(kPictures), 0);
    box->Show();
    Flush();
    SimulationBoxWindow::SetWallClock(FakeWall);
    fakeWallNs = 0;
    box->Run(); // a CLOCKS run of period 100
    ASSERT_EQ(main->GetSimulationTime(), 300u);

    struct PollCase {
        long long wallMs;
        SimTime time;
        const char* shown;
    };
    const PollCase kPolls[] = {
        {1000, 310, "310"}, {1010, 311, "310"}, {1029, 312, "310"},
        {1030, 313, "313"}, {1031, 314, "313"}, {1100, 315, "315"},
    };
    Display* display = Shell().display;
    const Window area = XtWindow(main->GetCadArea());
    const BellFunction quiet = SetBellFunction(CountBell);
    for (const PollCase& c : kPolls) {
        SCOPED_TRACE(c.time);
        // A click on the working area between two ticks: read at once, so the bell rings.
        XEvent press = {};
        press.xbutton.type = ButtonPress;
        press.xbutton.window = area;
        press.xbutton.button = Button2;
        XSendEvent(display, area, False, NoEventMask, &press);
        XSync(display, False);
        bells = 0;
        fakeWallNs = c.wallMs * 1000000;
        box->Poll(c.time);
        EXPECT_EQ(bells, 1);
        EXPECT_EQ(TextOf(box->GetActualTimeDisplay()), c.shown);
    }
    SetBellFunction(quiet);
    SimulationBoxWindow::SetWallClock(nullptr);
    box->Hide();
}

// A click on Break while a long run goes on, through the X server.
TEST_F(SimulationBox, BreakStopsALongRunAndResetReturnsToZero) {
    if (std::system("command -v xdotool > /dev/null") != 0) GTEST_SKIP() << "no xdotool";
    ASSERT_EQ(LoadArchitecture(kPictures), 0);
    // A clock tick on every time step: the run lasts far longer than the click takes to come,
    // however fast the simulation is.
    ASSERT_EQ(SetClock(0, 1, 0), 1);
    box->Show();
    Flush();
    RunFor(200);
    Toggle(box->GetTimeToggle(), true);
    SetTextOf(box->GetTimeField(), "99999999");
    const Window button = XtWindow(box->GetResetButton());
    const std::string click = "(sleep 1; xdotool mousemove --window " + std::to_string(button) +
                              " 5 5 click 1) > /dev/null 2>&1 &";
    ASSERT_EQ(std::system(click.c_str()), 0);
    box->Run();
    const SimTime stopped = main->GetSimulationTime();
    EXPECT_GT(stopped, 0u);
    EXPECT_LT(stopped, 99999999u);
    EXPECT_EQ(TextOf(box->GetActualTimeDisplay()), std::to_string(stopped));
    EXPECT_FALSE(box->IsRunning());
    EXPECT_TRUE(XtIsSensitive(box->GetRunButton()));
    EXPECT_TRUE(XtIsSensitive(box->GetCloseButton()));
    EXPECT_TRUE(HasLabel(box->GetResetButton(), "Reset"));

    // The next Run goes on from there; Reset then returns to 0.
    SetTextOf(box->GetTimeField(), "5");
    box->Run();
    EXPECT_EQ(main->GetSimulationTime(), stopped + 5);
    Press(box->GetResetButton());
    EXPECT_EQ(main->GetSimulationTime(), 0u);
    EXPECT_EQ(TextOf(box->GetActualTimeDisplay()), "0");
    box->Hide();
}

// One C++ element of 4 x 4 on clock 1 (period 100, TIME 10) that inverts its input; while the
// file HANG_FILE exists its client never answers.
const std::string kHangingC = ArchitectureHead(4, 3, false) + R"(ARCHITECTURE_ELEMENTS {
  NUMBER: 1
  ELEMENTS {
    ARCHITECTURE_ELEMENT {
      TYPE: C++
      INTERNAL_DATA {
        NAME:       Hangs
        COMMENT:    
        INPUTS:     1
        OUTPUTS:    1
        INPUT_DIM:  (4,4)
        OUTPUT_DIM: (4,4)
        CLOCK:      1
        TIME:       10
      }
      LOGICAL_DATA {
        LISTING:
while (access("HANG_FILE", F_OK) == 0) pause();
for (int y = 0; y < DIMY; y++)
    for (int x = 0; x < DIMX; x++)
        out.SetBit(x, y, !in(x, y));
      }
      ARCHITECTURE_DATA {
        ID:   0
        PREV: [-,-]
        NEXT: [-,-]
        POS:  (450,435)
      }
    }
  }
}
)";

// The exposures of a marked 2 x 2 rectangle at (1, 1) that came while the element's client was
// running, and that client.
struct ExposeRecord {
    ACElem* element;
    pid_t client;
    int whileWaiting;
};

void CountMarkedExpose(Widget, XtPointer data, XEvent* event, Boolean*) {
    ExposeRecord* record = static_cast<ExposeRecord*>(data);
    const XExposeEvent& expose = event->xexpose;
    if (event->type != Expose || expose.x != 1 || expose.y != 1 || expose.width != 2) return;
    const pid_t client = record->element->GetData().GetPid();
    if (client > 0 && kill(client, 0) == 0) {
        record->whileWaiting++;
        record->client = client;
    }
}

// A client that never answers: Break during the wait stops it and the run, the box redraws
// meanwhile, and the next Run starts a fresh client.
TEST_F(SimulationBox, BreakStopsAClientThatDoesNotAnswer) {
    if (std::system("command -v xdotool > /dev/null") != 0) GTEST_SKIP() << "no xdotool";
    const std::string hangFile = Shell().home + "/hang";
    std::ofstream(hangFile) << "x";
    std::string text = kHangingC;
    text.replace(text.find("HANG_FILE"), 9, hangFile);
    ASSERT_EQ(LoadArchitecture(text), 0) << GetParseErrorToken();
    ACElem* element = dynamic_cast<ACElem*>(main->GetElements()[0]);
    ASSERT_NE(element, nullptr);
    ASSERT_GT(element->GetData().GetPid(), 0);
    // Were the wait bounded by the answer timeout, this would end the test by its own.
    const int timeout = ClientProcess::GetAnswerTimeout();
    ClientProcess::SetAnswerTimeout(24 * 3600 * 1000);

    box->Show();
    Flush();
    RunFor(200);
    Toggle(box->GetTimeToggle(), true);
    SetTextOf(box->GetTimeField(), "1000");
    Widget button = box->GetResetButton();
    ExposeRecord record = {element, 0, 0};
    XtAddEventHandler(button, ExposureMask, False, CountMarkedExpose, &record);
    const Window window = XtWindow(button);

    // Another connection exposes part of the button, then clicks Break, while the run waits.
    const pid_t helper = fork();
    ASSERT_NE(helper, -1);
    if (helper == 0) {
        usleep(500 * 1000);
        Display* other = XOpenDisplay(nullptr);
        if (other == nullptr) _exit(2);
        XClearArea(other, window, 1, 1, 2, 2, True);
        XCloseDisplay(other);
        usleep(500 * 1000);
        const std::string id = std::to_string(window);
        execlp("xdotool", "xdotool", "mousemove", "--window", id.c_str(), "5", "5", "click", "1",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    const auto started = std::chrono::steady_clock::now();
    box->Run();
    // For people: the run's length less the helper's second before its click.
    const auto ran = std::chrono::steady_clock::now() - started;
    std::printf(
        "Break ended the run %lld ms after the click was sent\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(ran).count()) -
            1000);
    int status = 0;
    EXPECT_EQ(waitpid(helper, &status, 0), helper);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    XtRemoveEventHandler(button, ExposureMask, False, CountMarkedExpose, &record);
    ClientProcess::SetAnswerTimeout(timeout);

    EXPECT_LT(main->GetSimulationTime(), 1000u);
    EXPECT_FALSE(box->IsRunning());
    EXPECT_TRUE(HasLabel(button, "Reset"));
    EXPECT_GE(record.whileWaiting, 1);
    const pid_t first = record.client;
    ASSERT_GT(first, 0);
    EXPECT_EQ(element->GetData().GetPid(), 0);
    EXPECT_EQ(kill(first, 0), -1); // stopped and reaped
    EXPECT_EQ(errno, ESRCH);

    // Without the hang the next Run starts a fresh client, which answers.
    std::remove(hangFile.c_str());
    SetTextOf(box->GetTimeField(), "200");
    box->Run();
    const pid_t second = element->GetData().GetPid();
    EXPECT_GT(second, 0);
    EXPECT_NE(second, first);
    Matrix ones(4, 4);
    ones.Nor(ones);
    EXPECT_EQ(*element->GetOutputPlane(0), ones);
    box->Hide();
}

} // namespace
