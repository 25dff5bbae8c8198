// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/ExternalDataWindow.h"

#include <Xm/ScrolledW.h>

#include <memory>
#include <sstream>
#include <string>

#include "ALogicModifyWindowTest.h"
#include "AMaskModifyWindowTest.h"
#include "EditorsTestSupport.h"
#include "editors/ModifyValueDialog.h"
#include "model/elements/ALogicElem.h"

namespace {

// Three external names over one cycle, on a 4 x 2 plane of 2 x 1 PEs.
const char* const kThreeNames = R"(LOGICAL_DATA {
  PE_DIMENSION: (2,1)
  PE_DATA {
    NAMES {
      a
      b
    }
  }
  EXTERNAL_DATA {
    NUMBER: 3
    NAMES {
      x
      y
      z
    }
    MATRIX {
      DIMENSION: (3,1)
      DATA {
        000
      }
    }
  }
  INTERNAL_DATA {
    NUMBER: 0
    NAMES {
    }
  }
  EQUATION_DATA {
    NUMBER: 1
    EQUATIONS {
      a = x
    }
    COMPUTE_PARALLEL: OFF
  }
}
)";

class ExternalDataWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
        logic = MakeLogic(4, 2);
        ASSERT_EQ(Define(*logic, kThreeNames), 0);
    }
    void TearDown() override {
        logic.reset();
        Flush();
    }
    ExternalDataWindow* Open() {
        logic->OpenExternalDataWindow();
        Flush();
        return dynamic_cast<ExternalDataWindow*>(logic->GetExternalDataWindow());
    }
    // A pixel inside cell (x, y) of the window's grid.
    void Pixel(ExternalDataWindow* window, int x, int y, int* px, int* py) {
        CellPixel(window->GetCopy().GetDimY(), window->GetZoom(), x, y, px, py);
    }
    void Press(ExternalDataWindow* window, int x, int y) {
        int px = 0;
        int py = 0;
        Pixel(window, x, y, &px, &py);
        SendButtonPress(window->GetDrawArea(), px, py);
    }
    void Move(ExternalDataWindow* window, int x, int y, unsigned int state) {
        int px = 0;
        int py = 0;
        Pixel(window, x, y, &px, &py);
        SendMotionHeld(window->GetDrawArea(), px, py, state);
    }
    static std::string Bits(const Matrix& m) {
        std::string text;
        for (int y = 0; y < m.GetDimY(); y++) {
            for (int x = 0; x < m.GetDimX(); x++)
                text += m(x, y) ? '1' : '0';
            text += '/';
        }
        return text;
    }

    std::unique_ptr<ALogicElem> logic;
};

} // namespace

TEST_F(ExternalDataWindowTest, ShowsOneColumnPerNameAndOneRowPerCycle) {
    ExternalDataWindow* window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ShellTitle(window->GetShell()), "Modify - External Data");
    EXPECT_STREQ(XtName(window->GetShell()), "Modify - External Data");
    EXPECT_EQ(XtParent(window->GetShell()), Editors().topLevel);
    EXPECT_EQ(Bits(window->GetCopy()), "000/");
    // Fitted into 280 x 300, at most 100: cells of 25 pixels.
    EXPECT_EQ(window->GetZoom(), 100);
    Dimension width = 0;
    Dimension height = 0;
    XtVaGetValues(window->GetDrawArea(), XmNwidth, &width, XmNheight, &height, nullptr);
    EXPECT_EQ(width, 25 * 3 + 21);
    EXPECT_EQ(height, 25 + 21);
    int minimum = 0;
    int maximum = 0;
    XtVaGetValues(window->GetZoomScale(), XmNminimum, &minimum, XmNmaximum, &maximum, nullptr);
    EXPECT_EQ(minimum, 12);
    EXPECT_EQ(maximum, 150);
    for (const char* path : {"form.draw_window", "form.zoom-frame.zoom-form.zoom-scale",
                             "form.button_frame.rowcolumn.DialogButton", "form.action_area"}) {
        EXPECT_NE(XtNameToWidget(window->GetShell(), path), nullptr) << path;
    }
    EXPECT_EQ(LabelText(window->GetCycleLabel()), " ");
    // Opening it again while it is open does nothing.
    logic->OpenExternalDataWindow();
    EXPECT_EQ(logic->GetExternalDataWindow(), window);
    EXPECT_EQ(PopupCount(Editors().topLevel), 1);
    Flush();
    SaveScreenshot(window->GetShell(), "external_data_window");
}

TEST_F(ExternalDataWindowTest, PressesAndDragsToggleCellsOncePerEntry) {
    ExternalDataWindow* window = Open();
    ASSERT_NE(window, nullptr);
    Press(window, 1, 0);
    EXPECT_EQ(Bits(window->GetCopy()), "010/");
    // A grid line is no cell.
    SendButtonPress(window->GetDrawArea(), 10 + 25, 20);
    EXPECT_EQ(Bits(window->GetCopy()), "010/");

    // Moving without a button shows the cell; with one held each cell entered toggles.
    Move(window, 2, 0, 0);
    EXPECT_EQ(LabelText(window->GetCycleLabel()), "1");
    EXPECT_EQ(LabelText(window->GetNameLabel()), "z");
    EXPECT_EQ(Bits(window->GetCopy()), "010/");
    Move(window, 0, 0, Button1Mask);
    EXPECT_EQ(LabelText(window->GetNameLabel()), "x");
    Move(window, 0, 0, Button1Mask);
    Move(window, 1, 0, Button1Mask);
    Move(window, 0, 0, Button1Mask);
    EXPECT_EQ(Bits(window->GetCopy()), "000/");
    // The element's matrix is not touched before OK or Apply.
    EXPECT_EQ(Bits(*logic->GetData().GetExternalData()), "000/");

    SendCrossing(window->GetDrawArea(), LeaveNotify, 0, 0);
    EXPECT_EQ(LabelText(window->GetCycleLabel()), " ");
    EXPECT_EQ(LabelText(window->GetNameLabel()), " ");
}

TEST_F(ExternalDataWindowTest, CyclesKeepTheLowestRows) {
    ExternalDataWindow* window = Open();
    ASSERT_NE(window, nullptr);
    Click(ButtonLabelled(window->GetShell(), " Cycles "));
    ModifyValueDialog* dialog = window->GetCyclesDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ShellTitle(dialog->GetShell()), "External-Cycles");
    EXPECT_EQ(GetText(ReadIntGetText(dialog->GetField())), "1");
    SetText(ReadIntGetText(dialog->GetField()), "5");
    Click(ButtonLabelled(dialog->GetShell(), "OK"));
    EXPECT_EQ(window->GetCyclesDialog(), nullptr);
    EXPECT_EQ(window->GetCopy().GetDimY(), 5);
    Press(window, 0, 0);
    Press(window, 1, 1);
    Press(window, 2, 4);
    Move(window, 2, 4, 0);
    EXPECT_EQ(LabelText(window->GetCycleLabel()), "5");
    // The bottom cycle is in view.
    Widget vertical = nullptr;
    XtVaGetValues(window->GetDrawWindow(), XmNverticalScrollBar, &vertical, nullptr);
    int value = 0;
    int maximum = 0;
    int slider = 0;
    XtVaGetValues(vertical, XmNvalue, &value, XmNmaximum, &maximum, XmNsliderSize, &slider,
                  nullptr);
    EXPECT_EQ(value, maximum - slider);

    Click(ButtonLabelled(window->GetShell(), " Cycles "));
    SetText(ReadIntGetText(window->GetCyclesDialog()->GetField()), "2");
    Click(ButtonLabelled(window->GetCyclesDialog()->GetShell(), "OK"));
    EXPECT_EQ(Bits(window->GetCopy()), "100/010/");
    // 1000 is beyond the range: the dialog stays; Cancel changes nothing.
    Click(ButtonLabelled(window->GetShell(), " Cycles "));
    dialog = window->GetCyclesDialog();
    SetText(ReadIntGetText(dialog->GetField()), "1000");
    Click(ButtonLabelled(dialog->GetShell(), "OK"));
    ASSERT_EQ(window->GetCyclesDialog(), dialog);
    Click(ButtonLabelled(dialog->GetShell(), "Cancel"));
    EXPECT_EQ(window->GetCyclesDialog(), nullptr);
    EXPECT_EQ(Bits(window->GetCopy()), "100/010/");
}

TEST_F(ExternalDataWindowTest, OkAndApplyWriteTheElementCancelDoesNot) {
    ExternalDataWindow* window = Open();
    ASSERT_NE(window, nullptr);
    Press(window, 0, 0);
    Click(ButtonLabelled(window->GetShell(), "Apply"));
    EXPECT_EQ(Bits(*logic->GetData().GetExternalData()), "100/");
    EXPECT_TRUE(logic->IsModified());
    Click(ButtonLabelled(window->GetShell(), "Apply"));
    EXPECT_EQ(Bits(*logic->GetData().GetExternalData()), "100/");
    Press(window, 2, 0);
    Click(ButtonLabelled(window->GetShell(), "Cancel"));
    Flush();
    EXPECT_EQ(logic->GetExternalDataWindow(), nullptr);
    EXPECT_EQ(Bits(*logic->GetData().GetExternalData()), "100/");

    // The window manager's close is Cancel; the size and zoom go back into the element.
    window = Open();
    ASSERT_NE(window, nullptr);
    XtVaSetValues(window->GetZoomScale(), XmNvalue, 40, nullptr);
    window->ZoomChanged(40);
    Press(window, 1, 0);
    SendClose(window->GetShell());
    Flush();
    EXPECT_EQ(logic->GetExternalDataWindow(), nullptr);
    EXPECT_EQ(Bits(*logic->GetData().GetExternalData()), "100/");
    EXPECT_EQ(logic->GetExternalDataWindowZoom(), 40);

    window = Open();
    ASSERT_NE(window, nullptr);
    Press(window, 1, 0);
    Click(ButtonLabelled(window->GetShell(), "OK"));
    Flush();
    EXPECT_EQ(logic->GetExternalDataWindow(), nullptr);
    EXPECT_EQ(Bits(*logic->GetData().GetExternalData()), "110/");
    std::ostringstream saved;
    logic->GetData().Write(saved, 0);
    EXPECT_NE(saved.str().find("      DIMENSION: (3,1)\n      DATA {\n        110\n"),
              std::string::npos)
        << saved.str();
}

// Apply and OK with no cell changed since the window opened leave the element unmodified.
TEST_F(ExternalDataWindowTest, ApplyAndOkWithNothingChangedLeaveTheModifiedFlag) {
    ExternalDataWindow* window = Open();
    ASSERT_NE(window, nullptr);
    logic->ClearModified();
    Click(ButtonLabelled(window->GetShell(), "Apply"));
    EXPECT_FALSE(logic->IsModified());
    Click(ButtonLabelled(window->GetShell(), "OK"));
    Flush();
    EXPECT_EQ(logic->GetExternalDataWindow(), nullptr);
    EXPECT_FALSE(logic->IsModified());
}

TEST_F(ExternalDataWindowTest, NewNamesKeepTheEditsNotYetApplied) {
    ExternalDataWindow* window = Open();
    ASSERT_NE(window, nullptr);
    Press(window, 0, 0);
    Press(window, 2, 0);
    ALogicModifyWindow* modify = nullptr;
    logic->OpenModifyWindow();
    modify = dynamic_cast<ALogicModifyWindow*>(logic->GetModifyWindow());
    ASSERT_NE(modify, nullptr);
    // z goes: two columns, the copy keeps its own bits in them.
    ClickItem(modify->GetExtList(), 3);
    Click(modify->GetExtDel());
    Click(modify->GetOkButton());
    Flush();
    ASSERT_EQ(logic->GetExternalDataWindow(), window);
    EXPECT_EQ(Bits(window->GetCopy()), "10/");
    EXPECT_EQ(Bits(*logic->GetData().GetExternalData()), "00/");
    Dimension width = 0;
    XtVaGetValues(window->GetDrawArea(), XmNwidth, &width, nullptr);
    EXPECT_EQ(width, window->GetZoom() / 4 * 2 + 21);
    Click(ButtonLabelled(window->GetShell(), "OK"));
    EXPECT_EQ(Bits(*logic->GetData().GetExternalData()), "10/");

    // x goes, a name comes and y is renamed: the edits stay with their names.
    window = Open();
    ASSERT_NE(window, nullptr);
    Press(window, 1, 0);
    logic->OpenModifyWindow();
    modify = dynamic_cast<ALogicModifyWindow*>(logic->GetModifyWindow());
    ASSERT_NE(modify, nullptr);
    ClickItem(modify->GetExtList(), 1);
    Click(modify->GetExtDel());
    Click(modify->GetExtAdd());
    ClickItem(modify->GetExtList(), 1);
    SetText(modify->GetRenameField(), "w");
    PressReturn(modify->GetRenameField());
    EXPECT_EQ(ListItems(modify->GetExtList()), (std::vector<std::string>{"w", "e[1]"}));
    ClickItem(modify->GetEquList(), 1);
    SetText(modify->GetEditField(), "a = w");
    PressReturn(modify->GetEditField());
    Click(modify->GetOkButton());
    Flush();
    ASSERT_EQ(logic->GetExternalDataWindow(), window);
    EXPECT_EQ(Bits(*logic->GetData().GetExternalData()), "00/");
    EXPECT_EQ(Bits(window->GetCopy()), "10/");
    Click(ButtonLabelled(window->GetShell(), "OK"));
    EXPECT_EQ(Bits(*logic->GetData().GetExternalData()), "10/");
}

TEST_F(ExternalDataWindowTest, ElementsWithoutNamesOpenNoWindow) {
    logic = MakeLogic(4, 2);
    logic->OpenExternalDataWindow();
    EXPECT_EQ(logic->GetExternalDataWindow(), nullptr);
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);
}

TEST_F(ExternalDataWindowTest, TheWindowGoesWithTheElementsDataAndTakesItsDialog) {
    // A load replaces the matrix.
    ExternalDataWindow* window = Open();
    ASSERT_NE(window, nullptr);
    std::ostringstream file;
    logic->Write(file, 0, nullptr);
    std::istringstream in(file.str());
    ASSERT_EQ(logic->Read(in, nullptr), 0);
    Flush();
    EXPECT_EQ(logic->GetExternalDataWindow(), nullptr);

    // A new plane size erases the data.
    ASSERT_NE(Open(), nullptr);
    logic->SetInputPlaneSize(0, 8, 2);
    logic->DimensionChanged();
    Flush();
    EXPECT_EQ(logic->GetExternalDataWindow(), nullptr);

    // Closing, and deleting the element, with the cycles dialog open.
    logic = MakeLogic(4, 2);
    ASSERT_EQ(Define(*logic, kThreeNames), 0);
    window = Open();
    ASSERT_NE(window, nullptr);
    Click(ButtonLabelled(window->GetShell(), " Cycles "));
    ASSERT_NE(window->GetCyclesDialog(), nullptr);
    SendClose(window->GetShell());
    Flush();
    EXPECT_EQ(logic->GetExternalDataWindow(), nullptr);
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);

    window = Open();
    ASSERT_NE(window, nullptr);
    Click(ButtonLabelled(window->GetShell(), " Cycles "));
    RunInDispatch([&] { logic.reset(); });
    Flush();
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);
}
