// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include "shell/SimulationBoxWindow.h"

#include <Xm/ToggleB.h>
#include <Xm/Xm.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "ShellFixture.h"
#include "model/data/ClockList.h"
#include "model/data/Matrix.h"
#include "model/elements/AElement.h"
#include "model/elements/ElementType.h"
#include "shell/MainWindow.h"
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
const char* const kPictures = R"(REMARKS {
}
OPTIONS {
  GRID {
    VISIBLE:   ON
    DIMENSION: (15,15)
    RASTERIZE: ON
  }
}
GLOBAL_ARCHITECTURE_DATA {
  DIMENSION: (4,4)
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
    CLOCKS:   3
  }
}
ARCHITECTURE_ELEMENTS {
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

} // namespace
