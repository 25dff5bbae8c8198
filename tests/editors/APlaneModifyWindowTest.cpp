// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/APlaneModifyWindow.h"

#include <Xm/Scale.h>
#include <Xm/Xm.h>

#include "APlaneModifyWindowTest.h"
#include "editors/ModifyTwoValuesDialog.h"
#include "toolkit/ReadInt.h"

TEST(APlaneModifyWindow, ValueFieldHoldsElevenCharacters) {
    EXPECT_EQ(StaticInitDigits(), 11);
}

TEST(APlaneModifyWindow, ViewIconMarksTheQuarterOfThePosition) {
    struct Case {
        int position;
        int size;
        int quarter;
    };
    const Case cases[] = {{0, 8, 0}, {7, 8, 3}, {5, 8, 2}, {4, 8, 1}, {1, 8, 1}, {0, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(ViewIconQuarter(c.position, c.size), c.quarter);
    }
}

namespace {

using APlaneModifyWindowTest = PlaneWindowTest;

// Three 4 x 2 planes; each row of the block is told apart by its cells.
const char* const kPlane0 = "1000/0001";
const char* const kPlane1 = "0100/0011";
const char* const kPlane2 = "0010/0111";

} // namespace

TEST_F(APlaneModifyWindowTest, InputWindowHasItsTitleSizeAndControls) {
    MakeInput({kPlane0, kPlane1, kPlane2});
    AInputModifyWindow* window = OpenInput();
    ASSERT_NE(window, nullptr);
    char* title = nullptr;
    Dimension width = 0, height = 0;
    XtVaGetValues(window->GetShell(), XmNtitle, &title, XmNwidth, &width, XmNheight, &height,
                  nullptr);
    EXPECT_STREQ(title, "Modify INPUT");
    EXPECT_EQ(width, 424);
    EXPECT_EQ(height, 591);
    EXPECT_EQ(LabelText(window->GetDimLabel()), "[4,2,3]");
    for (const char* label : {" Set All ", " Unset All ", " Save As Matrix ", " Load As Matrix ",
                              " Add XY-Plane ", " Del XY-Plane ", "OK", "Apply", "Cancel"}) {
        EXPECT_NE(Button(window, label), nullptr) << label;
    }
    for (const char* name : {"*draw_window", "*draw", "*view_draw", "*zoom-scale", "*data_frame",
                             "*line_frame", "*value_frame", "*direction_radio_box.East-West",
                             "*direction_radio_box.North-South", "*dual_radio_box.Dual-Rail Hor",
                             "*view_radio_box.YZ-Plane", "*b_frame", "*helpseparator"}) {
        EXPECT_NE(Child(window->GetShell(), name), nullptr) << name;
    }
    EXPECT_TRUE(XtIsSensitive(window->GetValueField()));
    EXPECT_TRUE(XtIsSensitive(window->GetDeleteButton()));
    // The drawing area fits the plane at the zoom.
    XtVaGetValues(window->GetDrawArea(), XmNwidth, &width, XmNheight, &height, nullptr);
    EXPECT_EQ(width, 25 * 4 + 21);
    EXPECT_EQ(height, 25 * 2 + 21);
    // The view icon and the plane are drawn.
    EXPECT_GT(BlackPixels(window->GetViewDrawArea(), 0, 0, 100, 100), 0);
    EXPECT_GT(CellInk(window, 0, 0), 0);
    EXPECT_EQ(CellInk(window, 1, 0), 0);
}

TEST_F(APlaneModifyWindowTest, RadioFramesStandRightOfTheLineAndValueFrames) {
    MakeInput({kPlane0});
    AInputModifyWindow* window = OpenInput();
    ASSERT_NE(window, nullptr);
    auto rightEdge = [&](const char* name) {
        Position x = 0;
        Dimension width = 0;
        XtVaGetValues(Child(window->GetShell(), name), XmNx, &x, XmNwidth, &width, nullptr);
        return x + width;
    };
    auto leftEdge = [&](const char* name) {
        Position x = 0;
        XtVaGetValues(Child(window->GetShell(), name), XmNx, &x, nullptr);
        return static_cast<int>(x);
    };
    for (const char* frame : {"*dual_radio_frame", "*sign_radio_frame"}) {
        SCOPED_TRACE(frame);
        EXPECT_GE(leftEdge(frame), rightEdge("*line_frame"));
        EXPECT_GE(leftEdge(frame), rightEdge("*value_frame"));
    }
}

TEST_F(APlaneModifyWindowTest, OutputWindowOffersOnlyWatchingAndPlanes) {
    MakeOutput(4, 2, 1);
    AOutputModifyWindow* window = OpenOutput();
    ASSERT_NE(window, nullptr);
    for (const char* label : {" Set All ", " Unset All ", " Load As Matrix ", "Apply"})
        EXPECT_EQ(Button(window, label), nullptr) << label;
    for (const char* label : {" Save As Matrix ", " Add XY-Plane ", "OK", "Cancel"})
        EXPECT_NE(Button(window, label), nullptr) << label;
    EXPECT_FALSE(XtIsSensitive(window->GetValueField()));
    // One plane: nothing to delete.
    EXPECT_FALSE(XtIsSensitive(window->GetDeleteButton()));
    // Clicks on cells change nothing.
    PressCell(window, 1, 1);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "0000/0000");
}

TEST_F(APlaneModifyWindowTest, ViewsCutTheBlockAndStoreEditsWhenSwitching) {
    MakeInput({kPlane0, kPlane1, kPlane2});
    AInputModifyWindow* window = OpenInput();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), kPlane0);

    // A row through the planes: width x planes, row j from plane j.
    Choose(window, "XZ-Plane");
    EXPECT_EQ(window->GetView(), kXZPlane);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "1000/0100/0010");
    Enter(window->GetPositionField(), 1);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "0001/0011/0111");
    // A column through the planes: height x planes.
    Choose(window, "YZ-Plane");
    EXPECT_EQ(window->GetPosition(), 0);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "10/00/00");
    Enter(window->GetPositionField(), 3);
    EXPECT_EQ(window->GetPosition(), 3);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "01/01/01");
    Enter(window->GetPositionField(), 0);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "10/00/00");
    Dimension width = 0, height = 0;
    XtVaGetValues(window->GetDrawArea(), XmNwidth, &width, XmNheight, &height, nullptr);
    EXPECT_EQ(width, 25 * 2 + 21);
    EXPECT_EQ(height, 25 * 3 + 21);

    // An edit in the YZ view reaches the stack when the view changes; the position goes to 0.
    PressCell(window, 1, 2); // y 1 of plane 2 at x 0
    Choose(window, "XY-Plane");
    EXPECT_EQ(window->GetPosition(), 0);
    EXPECT_EQ(FieldValue(window->GetPositionField()), 0);
    EXPECT_EQ(Plane(window->GetStack(), 2), "0010/1111");
    // The element's stack is untouched until OK or Apply.
    EXPECT_EQ(Plane(input->GetWorkingData(), 2), kPlane2);
}

TEST_F(APlaneModifyWindowTest, PositionFieldStepsThroughThePlanesWithinTheStack) {
    MakeInput({kPlane0, kPlane1, kPlane2});
    AInputModifyWindow* window = OpenInput();
    ASSERT_NE(window, nullptr);
    PressCell(window, 3, 1);
    Enter(window->GetPositionField(), 2);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), kPlane2);
    EXPECT_EQ(Plane(window->GetStack(), 0), "1000/0000");
    // Beyond the last plane the field refuses.
    Enter(window->GetPositionField(), 3);
    EXPECT_EQ(window->GetPosition(), 2);
    // The position labels name the cell's place in the block.
    DragOnto(window, 1, 0, 0);
    EXPECT_EQ(LabelText(window->GetPosLabel()), "(1,0,2)");
    Choose(window, "XZ-Plane");
    Enter(window->GetPositionField(), 1);
    DragOnto(window, 2, 1, 0);
    EXPECT_EQ(LabelText(window->GetPosLabel()), "(2,1,1)");
    SendCrossing(window->GetDrawArea(), LeaveNotify, 0, 0);
    EXPECT_EQ(LabelText(window->GetPosLabel()), " ");
}

TEST_F(APlaneModifyWindowTest, PointerTogglesCellsAndDragsWithAButtonHeld) {
    MakeInput({"0000/0000"});
    AInputModifyWindow* window = OpenInput();
    ASSERT_NE(window, nullptr);
    PressCell(window, 0, 0);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "1000/0000");
    EXPECT_GT(CellInk(window, 0, 0), 0);
    // Moving without a button only shows where the pointer is.
    DragOnto(window, 1, 0, 0);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "1000/0000");
    EXPECT_EQ(LabelText(window->GetPosLabel()), "(1,0,0)");
    DragOnto(window, 2, 0, Button1Mask);
    DragOnto(window, 2, 1, Button1Mask);
    DragOnto(window, 2, 1, Button1Mask); // the same cell again: no second toggle
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "1010/0010");
    PressCell(window, 0, 0);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "0010/0010");
    EXPECT_EQ(CellInk(window, 0, 0), 0);
}

TEST_F(APlaneModifyWindowTest, ValueFieldReadsAndWritesTheLine) {
    MakeInput({"00000000/00000000/00000000"});
    AInputModifyWindow* window = OpenInput();
    ASSERT_NE(window, nullptr);
    // East-West on row 0: the least significant cell at the right.
    PressCell(window, 7, 0);
    PressCell(window, 5, 0);
    EXPECT_EQ(FieldValue(window->GetValueField()), 5);
    Enter(window->GetValueField(), 12);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "00001100/00000000/00000000");
    // Cells off the line leave the value alone.
    PressCell(window, 0, 2);
    EXPECT_EQ(FieldValue(window->GetValueField()), 12);

    // The same number on another line is written there; typed again, nothing happens.
    Enter(window->GetLineField(), 1);
    EXPECT_EQ(FieldValue(window->GetValueField()), 0);
    Enter(window->GetValueField(), 12);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "00001100/00001100/10000000");
    PressCell(window, 4, 1);
    EXPECT_EQ(FieldValue(window->GetValueField()), 4);
    window->ValueChanged(4); // what the field reports when left unchanged
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "00001100/00000100/10000000");

    // Two's complement over West-East pairs with a gap: three pairs fit 8 cells.
    Choose(window, "West-East");
    Choose(window, "-/+");
    Choose(window, "Dual-Rail Hor");
    Enter(window->GetInterleaveField(), 1);
    Enter(window->GetLineField(), 2);
    Enter(window->GetValueField(), -2);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "00001100/00000100/01010010");
    EXPECT_EQ(FieldValue(window->GetValueField()), -2);
    // The field keeps to the range of three cells.
    Enter(window->GetValueField(), 9);
    EXPECT_EQ(window->GetLastValue(), -2);
}

TEST_F(APlaneModifyWindowTest, LimitsFollowThePlaneAndTheCoding) {
    MakeInput({"00000000/00000000/00000000"});
    AInputModifyWindow* window = OpenInput();
    ASSERT_NE(window, nullptr);
    Enter(window->GetLineField(), 2);
    Enter(window->GetOffsetField(), 6);
    Enter(window->GetInterleaveField(), 3);
    // Interleave 3 leaves 11 mod 4 = 3 cells: the offset must stay within -4..7.
    Enter(window->GetOffsetField(), -5);
    EXPECT_EQ(window->GetCodecSettings().offset, 6);
    Enter(window->GetOffsetField(), -4);
    EXPECT_EQ(window->GetCodecSettings().offset, -4);
    EXPECT_EQ(window->CellCount(), 1);
    // Vertical pairs need two rows: the line comes down to 1.
    Choose(window, "Dual-Rail Ver");
    EXPECT_EQ(window->GetCodecSettings().line, 1);
    EXPECT_EQ(FieldValue(window->GetLineField()), 1);
    // A column: the line now counts columns, the interleave and offset rows.
    Choose(window, "Dual");
    Choose(window, "South-North");
    EXPECT_EQ(window->GetCodecSettings().interleave, 2);
    EXPECT_EQ(window->GetCodecSettings().offset, 0);
    Enter(window->GetLineField(), 7);
    EXPECT_EQ(window->GetCodecSettings().line, 7);
    Enter(window->GetLineField(), 8);
    EXPECT_EQ(window->GetCodecSettings().line, 7);
}

TEST_F(APlaneModifyWindowTest, AddAndDeletePlanes) {
    MakeInput({kPlane0, kPlane1, kPlane2});
    AInputModifyWindow* window = OpenInput();
    ASSERT_NE(window, nullptr);
    Enter(window->GetPositionField(), 2);
    PressCell(window, 0, 0); // an edit the dialog stores first

    Click(Button(window, " Add XY-Plane "));
    ModifyTwoValuesDialog* dialog = window->GetPlaneDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(FieldValue(dialog->GetField1()), 3);
    EXPECT_EQ(FieldValue(dialog->GetField2()), 1);
    AnswerPlaneDialog(window, 1, 2);
    EXPECT_EQ(window->GetPlaneDialog(), nullptr);
    EXPECT_EQ(window->GetStack().GetPlaneList().GetCount(), 5);
    EXPECT_EQ(LabelText(window->GetDimLabel()), "[4,2,5]");
    EXPECT_EQ(Plane(window->GetStack(), 0), kPlane0);
    EXPECT_EQ(Plane(window->GetStack(), 1), "0000/0000");
    EXPECT_EQ(Plane(window->GetStack(), 3), kPlane1);
    EXPECT_EQ(Plane(window->GetStack(), 4), "1010/0111");
    // The position stays where it was in the stack.
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "0000/0000");

    Enter(window->GetPositionField(), 4);
    Click(Button(window, " Del XY-Plane "));
    dialog = window->GetPlaneDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(FieldValue(dialog->GetField1()), 4);
    AnswerPlaneDialog(window, 2, 4); // beyond the end: planes 2..4 go
    EXPECT_EQ(window->GetStack().GetPlaneList().GetCount(), 2);
    // The position was beyond the last plane: it is the last one now.
    EXPECT_EQ(window->GetPosition(), 1);
    EXPECT_EQ(FieldValue(window->GetPositionField()), 1);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "0000/0000");
    EXPECT_TRUE(XtIsSensitive(window->GetDeleteButton()));

    Click(Button(window, " Del XY-Plane "));
    AnswerPlaneDialog(window, 0, 1);
    EXPECT_EQ(window->GetStack().GetPlaneList().GetCount(), 1);
    EXPECT_FALSE(XtIsSensitive(window->GetDeleteButton()));
    // Insensitive, and refused even when asked: there is nothing left to delete.
    window->DeletePlanes();
    EXPECT_EQ(window->GetPlaneDialog(), nullptr);
    Click(Button(window, " Add XY-Plane "));
    AnswerPlaneDialog(window, 1, 1);
    EXPECT_TRUE(XtIsSensitive(window->GetDeleteButton()));

    // A cancelled dialog changes nothing.
    Click(Button(window, " Add XY-Plane "));
    ASSERT_NE(window->GetPlaneDialog(), nullptr);
    Click(ButtonLabelled(window->GetPlaneDialog()->GetShell(), "Cancel"));
    EXPECT_EQ(window->GetPlaneDialog(), nullptr);
    EXPECT_EQ(window->GetStack().GetPlaneList().GetCount(), 2);
}

TEST_F(APlaneModifyWindowTest, PlaneNumbersCountFromTheCurrentPlaneOfARotatedStack) {
    MakeInput({kPlane0, kPlane1, kPlane2});
    // As after two steps: the current plane is array entry 2.
    PlaneList& list = input->GetWorkingData().GetPlaneList();
    list.Push(list.GetXYPlane(0));
    list.Push(list.GetXYPlane(0));
    ASSERT_EQ(list.GetPosition(), 2);
    AInputModifyWindow* window = OpenInput();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(PlaneText(window->GetShownPlane()), kPlane2);
    Click(Button(window, " Add XY-Plane "));
    AnswerPlaneDialog(window, 1, 1);
    EXPECT_EQ(Plane(window->GetStack(), 0), kPlane2);
    EXPECT_EQ(Plane(window->GetStack(), 1), "0000/0000");
    EXPECT_EQ(Plane(window->GetStack(), 2), kPlane0);
    Click(Button(window, " Del XY-Plane "));
    AnswerPlaneDialog(window, 0, 1);
    EXPECT_EQ(Plane(window->GetStack(), 0), "0000/0000");
    EXPECT_EQ(window->GetStack().GetPlaneList().GetCount(), 3);
}

TEST_F(APlaneModifyWindowTest, ZoomResizesTheArea) {
    MakeInput({kPlane0});
    AInputModifyWindow* window = OpenInput();
    ASSERT_NE(window, nullptr);
    for (int zoom : {12, 150}) {
        XmScaleSetValue(window->GetZoomScale(), zoom);
        window->ZoomChanged(zoom);
        Dimension width = 0, height = 0;
        XtVaGetValues(window->GetDrawArea(), XmNwidth, &width, XmNheight, &height, nullptr);
        EXPECT_EQ(width, zoom / 4 * 4 + 21);
        EXPECT_EQ(height, zoom / 4 * 2 + 21);
    }
    Flush();
    EXPECT_GT(CellInk(window, 0, 0), 0);
}

TEST_F(APlaneModifyWindowTest, WindowCloseWithANumberDialogOpenTakesTheDialogAlong) {
    MakeInput({kPlane0, kPlane1});
    for (int way = 0; way < 3; way++) {
        SCOPED_TRACE(way);
        AInputModifyWindow* window = OpenInput();
        ASSERT_NE(window, nullptr);
        Click(Button(window, way == 2 ? " Del XY-Plane " : " Add XY-Plane "));
        ModifyTwoValuesDialog* dialog = window->GetPlaneDialog();
        ASSERT_NE(dialog, nullptr);
        Widget windowShell = window->GetShell();
        if (way == 0) SendClose(windowShell);
        if (way == 1) input->CloseModifyWindow();
        if (way == 2) RunInDispatch([&] { XtDestroyWidget(windowShell); });
        Flush();
        EXPECT_EQ(input->GetModifyWindow(), nullptr);
        EXPECT_FALSE(IsLivePopup(Editors().topLevel, windowShell));
        EXPECT_EQ(input->GetWorkingData().GetPlaneList().GetCount(), 2);
    }
}

namespace {

struct FarCellCase {
    int width;
    int height;
    int zoom;
};

// Planes whose drawing is wider or taller than a window can be: the scroll bars reach the last
// cell, which a click sets. 4096 at zoom 100 once ended at cell 1309; 7281 wrapped at 108..111.
const FarCellCase kFarCells[] = {
    {4096, 1, 100}, {7281, 1, 100},  {7281, 1, 108}, {7281, 1, 111},  {7281, 1, 120},
    {65536, 1, 12}, {65536, 1, 150}, {1, 65536, 12}, {1, 65536, 150}, {40, 30, 100},
};

} // namespace

TEST_F(APlaneModifyWindowTest, TheLastCellOfEveryPlaneSizeIsShownAndSetByAClick) {
    for (const FarCellCase& c : kFarCells) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + " at " +
                     std::to_string(c.zoom));
        input = std::make_unique<AInputElem>(nullptr, 0, 0);
        input->SetInputPlaneSize(0, c.width, c.height);
        input->SetOutputPlaneSize(0, c.width, c.height);
        input->CreateData();
        input->GetStoredData().GetPlaneList() = PlaneList(c.width, c.height, 1);
        input->GetWorkingData().GetPlaneList() = PlaneList(c.width, c.height, 1);
        AInputModifyWindow* window = OpenInput();
        ASSERT_NE(window, nullptr);
        SetScaleZoom(window->GetZoomScale(), c.zoom);
        ASSERT_EQ(window->GetZoom(), c.zoom);
        Widget draw = window->GetDrawArea();
        ScrollToTopRight(draw);
        const ShownCell cell = CellOnScreen(draw, c.height, c.zoom, c.width - 1, c.height - 1);
        EXPECT_TRUE(cell.seen) << cell.x << "," << cell.y;
        EXPECT_EQ(BlackPixels(draw, cell.x, cell.y, cell.width, cell.height), 0);
        ASSERT_TRUE(RealClickAt(draw, cell.x + cell.width / 2, cell.y + cell.height / 2));
        EXPECT_EQ(window->GetShownPlane()(c.width - 1, c.height - 1), 1);
        EXPECT_GT(BlackPixels(draw, cell.x, cell.y, cell.width, cell.height), 0);
        EXPECT_EQ(LabelText(window->GetPosLabel()),
                  "(" + std::to_string(c.width - 1) + "," + std::to_string(c.height - 1) + ",0)");
        input.reset();
        Flush();
    }
}
