// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/LogicShowDataWindow.h"

#include <Xm/ToggleB.h>

#include <memory>
#include <string>
#include <vector>

#include "ALogicModifyWindowTest.h"
#include "AMaskModifyWindowTest.h"
#include "EditorsTestSupport.h"
#include "editors/ExternalDataWindow.h"
#include "model/data/ClockList.h"
#include "model/elements/ALogicElem.h"
#include "toolkit/MatrixGeometry.h"

namespace {

// A 6 x 4 plane of 2 x 2 PEs: three PEs to a row, two rows.
const char* const kWideLogic = R"(LOGICAL_DATA {
  PE_DIMENSION: (2,2)
  PE_DATA {
    NAMES {
      d[0,0]
      d[0,1]
      d[1,0]
      d[1,1]
    }
  }
  EXTERNAL_DATA {
    NUMBER: 0
    NAMES {
    }
  }
  INTERNAL_DATA {
    NUMBER: 1
    NAMES {
      state
    }
  }
  EQUATION_DATA {
    NUMBER: 1
    EQUATIONS {
      d[1,1] = d[0,0]
    }
    COMPUTE_PARALLEL: OFF
  }
}
)";

class LogicShowDataWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
        ResetClocks();
        Ui().queue.Clear();
        logic = MakeLogic(4, 2);
    }
    void TearDown() override {
        logic.reset();
        Ui().queue.Clear();
        Flush();
    }
    LogicShowDataWindow* Open(int index = 0) {
        logic->OpenShowDataWindow(index);
        Flush();
        return dynamic_cast<LogicShowDataWindow*>(logic->GetShowDataWindow(0));
    }
    // Black pixels of a cell of a matrix drawn into the area at the window's zoom.
    static int Ink(LogicShowDataWindow* window, Widget area, int dimY, int x, int y) {
        const PixelRect cell = MatrixCellRect(dimY, window->GetZoom(), x, y);
        return BlackPixels(area, cell.x, cell.y, cell.width, cell.height);
    }
    static int OutputInk(LogicShowDataWindow* window, int x, int y) {
        return Ink(window, window->GetDrawArea(0), 2, x, y);
    }
    static int StateInk(LogicShowDataWindow* window) {
        return Ink(window, window->GetIntDrawArea(), 1, 0, 0);
    }
    static void MoveTo(LogicShowDataWindow* window, Widget area, int dimY, int x, int y) {
        int px = 0;
        int py = 0;
        CellPixel(dimY, window->GetZoom(), x, y, &px, &py);
        SendMotion(area, px, py);
    }

    std::unique_ptr<ALogicElem> logic;
};

} // namespace

TEST_F(LogicShowDataWindowTest, EveryRequestGetsTheOneWindowOfAllOutputs) {
    LogicShowDataWindow* window = Open(1);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(logic->GetShowDataWindow(1), nullptr);
    EXPECT_EQ(window->GetOutputNumber(), 0);
    EXPECT_EQ(window->GetTitle(), std::string("Show Data LOGIC"));
    // Undefined: no PE, no internal data.
    EXPECT_FALSE(window->IsDefined());
    EXPECT_EQ(LabelText(window->GetOutLabel()), "not def.  ");
    EXPECT_TRUE(XtIsManaged(window->GetOutLabel()));
    EXPECT_EQ(window->GetInternalData(), nullptr);
    MoveTo(window, window->GetDrawArea(0), 2, 1, 1);
    EXPECT_EQ(LabelText(window->GetOutLabel()), "not def.");
    EXPECT_EQ(LabelText(window->GetPosLabel()), "1,1");
    logic->OpenShowDataWindow(0);
    EXPECT_EQ(logic->GetShowDataWindow(0), window);
    Click(window->GetCloseButton());
    Flush();
    EXPECT_EQ(logic->GetShowDataWindow(0), nullptr);
}

TEST_F(LogicShowDataWindowTest, FollowsASimulationRunAndThePEUnderThePointer) {
    ASSERT_EQ(Define(*logic, kSmallLogic), 0);
    LogicShowDataWindow* window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->IsDefined());
    EXPECT_EQ(LabelText(window->GetOutLabel()), "          ");
    Widget shell = window->GetShell();
    for (const char* path :
         {"form.form_above_outputs. Internal Data of PE: ", "form.form_above_outputs.int_label",
          "form.form_above_outputs.int_scrollw"}) {
        EXPECT_NE(XtNameToWidget(shell, path), nullptr) << path;
    }
    EXPECT_EQ(LabelText(window->GetSimLabel()), " ");
    EXPECT_EQ(StateInk(window), 0);

    // Clock 1 (100 ticks, offset 0) and TIME 20: steps at 20, 120, 220.
    logic->Reset();
    Ui().queue.RunUntil(50);
    EXPECT_EQ(LabelText(window->GetSimLabel()), "0-20");
    EXPECT_GT(OutputInk(window, 0, 0), 0);
    EXPECT_EQ(OutputInk(window, 1, 0), 0);
    EXPECT_GT(OutputInk(window, 2, 1), 0);
    EXPECT_GT(StateInk(window), 0);
    Ui().queue.RunUntil(150);
    EXPECT_EQ(LabelText(window->GetSimLabel()), "100-120");
    EXPECT_EQ(OutputInk(window, 0, 0), 0);
    EXPECT_EQ(OutputInk(window, 2, 1), 0);

    // Cell (3, 1) lies in PE (1, 1), number 3, whose pixel (1, 0) is b.
    MoveTo(window, window->GetDrawArea(0), 2, 3, 1);
    EXPECT_EQ(LabelText(window->GetPosLabel()), "3,1 b");
    EXPECT_EQ(LabelText(window->GetOutLabel()), "1,1");
    EXPECT_EQ(window->GetCurrentPE(), 3);
    EXPECT_EQ(window->GetInternalData(), logic->GetData().GetInternalMatrix(3));
    MoveTo(window, window->GetIntDrawArea(), 1, 0, 0);
    EXPECT_EQ(LabelText(window->GetIntLabel()), "s");
    SendCrossing(window->GetIntDrawArea(), LeaveNotify, 0, 0);
    EXPECT_EQ(LabelText(window->GetIntLabel()), " ");
    SendCrossing(window->GetDrawArea(0), LeaveNotify, 0, 0);
    EXPECT_EQ(LabelText(window->GetOutLabel()), " ");
    EXPECT_EQ(LabelText(window->GetPosLabel()), " ");

    // Frozen: the planes and the time stay, the internal data is the present one when drawn.
    XmToggleButtonSetState(window->GetUpdateToggle(), False, True);
    Ui().queue.RunUntil(250);
    EXPECT_EQ(LabelText(window->GetSimLabel()), "100-120");
    EXPECT_EQ(OutputInk(window, 0, 0), 0);
    window->Redraw(1, 1);
    EXPECT_GT(StateInk(window), 0);
    XmToggleButtonSetState(window->GetUpdateToggle(), True, True);
    EXPECT_EQ(LabelText(window->GetSimLabel()), "200-220");
    EXPECT_GT(OutputInk(window, 0, 0), 0);
    Flush();
    SaveScreenshot(window->GetShell(), "logic_show_data_window");
}

TEST_F(LogicShowDataWindowTest, StoringNewDataRebuildsTheWindow) {
    ASSERT_EQ(Define(*logic, kSmallLogic), 0);
    LogicShowDataWindow* window = Open();
    ASSERT_NE(window, nullptr);
    logic->Reset();
    Ui().queue.RunUntil(50);
    MoveTo(window, window->GetDrawArea(0), 2, 3, 1);
    ASSERT_EQ(window->GetCurrentPE(), 3);

    logic->OpenModifyWindow();
    auto* modify = dynamic_cast<ALogicModifyWindow*>(logic->GetModifyWindow());
    ASSERT_NE(modify, nullptr);
    modify->ChangeDimension();
    AnswerTwo(modify->GetDimensionDialog(), "1", "1");
    ClickItem(modify->GetEquList(), 2);
    Click(modify->GetEquDel());
    Click(modify->GetOkButton());
    Flush();
    EXPECT_EQ(logic->GetModifyWindow(), nullptr);
    int x = 0;
    int y = 0;
    ASSERT_TRUE(logic->GetPEDimension(x, y));
    EXPECT_EQ(x, 1);
    // PE 0 of eight, its state started at 0 again.
    EXPECT_EQ(window->GetCurrentPE(), 0);
    EXPECT_EQ(window->GetInternalData(), logic->GetData().GetInternalMatrix(0));
    EXPECT_EQ(StateInk(window), 0);
    SendCrossing(window->GetDrawArea(0), EnterNotify, 0, 0);
    MoveTo(window, window->GetDrawArea(0), 2, 3, 1);
    EXPECT_EQ(window->GetCurrentPE(), 7);
    EXPECT_EQ(LabelText(window->GetOutLabel()), "3,1");

    // A load that gives the element no PE dimension leaves no state to show.
    std::istringstream undefined("LOGICAL_DATA {\n  NOT_DEFINED\n}\n");
    ASSERT_EQ(logic->GetData().Read(undefined, true), 0);
    logic->RedrawShowDataWindows();
    EXPECT_EQ(window->GetInternalData(), nullptr);
}

TEST_F(LogicShowDataWindowTest, LabelsShowTheirWholeTextAndTheLayoutSettles) {
    logic = MakeLogic(6, 4);
    ASSERT_EQ(Define(*logic, kWideLogic), 0);
    WarningRecorder recorder;
    LogicShowDataWindow* window = Open();
    ASSERT_NE(window, nullptr);
    // Every PE, and back over the ones passed, then off the plane.
    struct Cell {
        int x, y;
        const char* position;
        const char* pe;
    };
    for (const Cell& cell : {Cell{5, 3, "5,3 d[1,1]", "2,1"}, Cell{0, 0, "0,0 d[0,0]", "0,0"},
                             Cell{4, 2, "4,2 d[0,0]", "2,1"}, Cell{3, 1, "3,1 d[1,1]", "1,0"},
                             Cell{2, 3, "2,3 d[0,1]", "1,1"}}) {
        SCOPED_TRACE(cell.position);
        MoveTo(window, window->GetDrawArea(0), 4, cell.x, cell.y);
        Flush();
        EXPECT_EQ(LabelText(window->GetPosLabel()), cell.position);
        EXPECT_EQ(LabelText(window->GetOutLabel()), cell.pe);
        EXPECT_TRUE(ShowsWholeText(window->GetPosLabel()));
        EXPECT_TRUE(ShowsWholeText(window->GetOutLabel()));
    }
    MoveTo(window, window->GetIntDrawArea(), 1, 0, 0);
    Flush();
    EXPECT_EQ(LabelText(window->GetIntLabel()), "state");
    EXPECT_TRUE(ShowsWholeText(window->GetIntLabel()));
    SendCrossing(window->GetDrawArea(0), LeaveNotify, 0, 0);

    // Names of the longest kind, stored while the window is open.
    const std::string longest(30, 'q');
    std::string block = kWideLogic;
    block.replace(block.find("      d[1,1]\n"), 13, "      " + longest + "\n");
    block.replace(block.find("d[1,1] = d[0,0]"), 6, longest);
    block.replace(block.find("state"), 5, std::string(30, 'W'));
    ASSERT_EQ(Define(*logic, block), 0);
    logic->RedrawShowDataWindows();
    MoveTo(window, window->GetDrawArea(0), 4, 5, 3);
    Flush();
    EXPECT_EQ(LabelText(window->GetPosLabel()), "5,3 " + longest);
    EXPECT_TRUE(ShowsWholeText(window->GetPosLabel()));
    EXPECT_TRUE(ShowsWholeText(window->GetOutLabel()));
    MoveTo(window, window->GetIntDrawArea(), 1, 0, 0);
    Flush();
    EXPECT_EQ(LabelText(window->GetIntLabel()), std::string(30, 'W'));
    EXPECT_TRUE(ShowsWholeText(window->GetIntLabel()));
    Flush();
    EXPECT_EQ(recorder.Warnings(), std::vector<std::string>());
    SaveScreenshot(window->GetShell(), "logic_show_data_long_names");
}

TEST_F(LogicShowDataWindowTest, DeletingTheElementWithAllItsWindowsOpen) {
    ASSERT_EQ(Define(*logic, kSmallLogic), 0);
    ASSERT_NE(Open(), nullptr);
    logic->OpenExternalDataWindow();
    ExternalDataWindow* external =
        dynamic_cast<ExternalDataWindow*>(logic->GetExternalDataWindow());
    ASSERT_NE(external, nullptr);
    external->AskCycles();
    logic->OpenModifyWindow();
    auto* modify = dynamic_cast<ALogicModifyWindow*>(logic->GetModifyWindow());
    ASSERT_NE(modify, nullptr);
    modify->ChangeDimension();
    ASSERT_NE(modify->GetDimensionDialog(), nullptr);
    logic->OpenSetNameDialog();
    EXPECT_GE(PopupCount(Editors().topLevel), 4);
    RunInDispatch([&] { logic.reset(); });
    Flush();
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);
}

// A plane far wider than a window can be: the pointer on its last cell names that cell and its
// PE, at both ends of the zoom scale.
TEST_F(LogicShowDataWindowTest, TheLastCellOfAVeryWidePlaneNamesItsPE) {
    logic = MakeLogic(65536, 4);
    ASSERT_EQ(Define(*logic, kWideLogic), 0);
    LogicShowDataWindow* window = Open();
    ASSERT_NE(window, nullptr);
    for (const int zoom : {12, 150}) {
        SCOPED_TRACE(zoom);
        SetScaleZoom(window->GetZoomScale(), zoom);
        Widget area = window->GetDrawArea(0);
        ScrollToTopRight(area);
        const ShownCell cell = CellOnScreen(area, 4, zoom, 65535, 3);
        EXPECT_TRUE(cell.seen) << cell.x << "," << cell.y;
        ASSERT_TRUE(RealClickAt(area, cell.x + cell.width / 2, cell.y + cell.height / 2));
        EXPECT_EQ(LabelText(window->GetPosLabel()), "65535,3 d[1,1]");
        EXPECT_EQ(LabelText(window->GetOutLabel()), "32767,1");
    }
}
