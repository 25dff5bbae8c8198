// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/AMaskModifyWindow.h"

#include <Xm/Scale.h>
#include <Xm/Xm.h>

#include <memory>
#include <sstream>

#include "AMaskModifyWindowTest.h"
#include "EditorsTestSupport.h"
#include "model/elements/AMaskElem.h"
#include "model/format/ParseError.h"
#include "toolkit/MatrixGeometry.h"

struct PointerCase {
    const char* what;
    int type;
    int onCell;
    int x, y;
    unsigned int state;
    bool toggle, show, clear;
};

// One pointer walk over a grid, event after event.
const PointerCase kWalk[] = {
    {"press on a cell toggles it", ButtonPress, 1, 2, 3, 0, true, false, false},
    {"motion on the pressed cell shows it", MotionNotify, 1, 2, 3, 0, false, true, false},
    {"again: already shown", MotionNotify, 1, 2, 3, 0, false, false, false},
    {"a new cell without state is shown only", MotionNotify, 1, 3, 3, 0, false, true, false},
    {"a new cell with a button held toggles", MotionNotify, 1, 4, 3, Button1Mask, true, true,
     false},
    {"the same cell held does not toggle twice", MotionNotify, 1, 4, 3, Button1Mask, false, false,
     false},
    {"a modifier alone toggles too", MotionNotify, 1, 4, 2, ShiftMask, true, true, false},
    {"a grid line blanks the label", MotionNotify, 0, -1, -1, Button1Mask, false, false, true},
    {"blank already", MotionNotify, 0, -1, -1, 0, false, false, false},
    {"back onto the last cell shows it", MotionNotify, 1, 4, 2, 0, false, true, false},
    {"a press off the cells blanks", ButtonPress, 0, -1, -1, 0, false, false, true},
    {"leaving with nothing shown", LeaveNotify, 0, -1, -1, 0, false, false, false},
    {"a new cell held", MotionNotify, 1, 0, 0, Button2Mask, true, true, false},
    {"leaving blanks the label", LeaveNotify, 0, -1, -1, 0, false, false, true},
};

TEST(AMaskModifyWindow, PointerRuleTogglesPressedAndNewlyEnteredCells) {
    GridPointer pointer;
    for (const PointerCase& c : kWalk) {
        SCOPED_TRACE(c.what);
        const GridPointerStep step = StepGridPointer(pointer, c.type, c.onCell, c.x, c.y, c.state);
        EXPECT_EQ(step.toggle, c.toggle);
        EXPECT_EQ(step.show, c.show);
        EXPECT_EQ(step.clear, c.clear);
    }
}

namespace {

const int kWidth = 8;
const int kHeight = 6;

// Records the matrix a file dialog was closed for.
class RecordingCloser : public FileDialogCloser {
public:
    RecordingCloser() { SetFileDialogCloser(this); }
    ~RecordingCloser() override { SetFileDialogCloser(nullptr); }
    void CloseFileDialog(const LoadSaveObject& destroyed) override { closed.push_back(&destroyed); }
    std::vector<const LoadSaveObject*> closed;
};

class AMaskModifyWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
        maker = std::make_unique<MakerScope>(kMask, AMaskModifyWindow::Make);
        element = std::make_unique<AMaskElem>(nullptr, 0, 0);
        element->SetInputPlaneSize(0, kWidth, kHeight);
        element->SetOutputPlaneSize(0, kWidth, kHeight);
        element->CreateData();
        element->GetData().GetMask().ClearBit(1, 1);
    }
    void TearDown() override {
        element.reset();
        maker.reset();
        Flush();
    }
    AMaskModifyWindow* Open() {
        element->OpenModifyWindow();
        Flush();
        return dynamic_cast<AMaskModifyWindow*>(element->GetModifyWindow());
    }
    // Presses on cell (x, y) of the window's grid.
    void PressCell(AMaskModifyWindow* window, int x, int y, unsigned int state = 0) {
        int px = 0, py = 0;
        CellPixel(kHeight, window->GetZoom(), x, y, &px, &py);
        SendButtonPress(window->GetDrawArea(), px, py, state);
    }
    void MoveToCell(AMaskModifyWindow* window, int x, int y, unsigned int state) {
        int px = 0, py = 0;
        CellPixel(kHeight, window->GetZoom(), x, y, &px, &py);
        SendMotionHeld(window->GetDrawArea(), px, py, state);
    }
    const Matrix& Mask() { return element->GetData().GetMask(); }
    const Matrix& Copy(AMaskModifyWindow* window) { return window->GetWorkingCopy().GetMask(); }

    std::unique_ptr<MakerScope> maker;
    std::unique_ptr<AMaskElem> element;
};

} // namespace

TEST_F(AMaskModifyWindowTest, OpensFromTheElementWithItsWidgets) {
    AMaskModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    Widget shell = window->GetShell();
    for (const char* path :
         {"form.helplabel", "form.pos_label", "form.draw_window", "form.zoom-frame.zoom-form",
          "form.zoom-frame.zoom-form.zoom-label", "form.zoom-frame.zoom-form.zoom-scale",
          "form.button_frame.rowcolumn1", "form.action_area"}) {
        SCOPED_TRACE(path);
        EXPECT_NE(Child(shell, path), nullptr);
    }
    EXPECT_EQ(LabelText(Child(shell, "form.helplabel")), "Position: ");
    for (const char* text : {" Set All ", " Unset All ", " Save As Matrix ", " Load As Matrix "}) {
        Widget button = ButtonLabelled(Child(shell, "form.button_frame.rowcolumn1"), text);
        ASSERT_NE(button, nullptr) << text;
        EXPECT_STREQ(XtName(button), "DialogButton");
    }
    for (const char* text : {"OK", "Apply", "Cancel"})
        EXPECT_NE(ButtonLabelled(Child(shell, "form.action_area"), text), nullptr) << text;
    int minimum = 0, maximum = 0;
    XtVaGetValues(window->GetZoomScale(), XmNminimum, &minimum, XmNmaximum, &maximum, nullptr);
    EXPECT_EQ(minimum, 12);
    EXPECT_EQ(maximum, 150);
    EXPECT_EQ(Copy(window), Mask());

    // A second Modify raises the window and makes no other.
    element->OpenModifyWindow();
    EXPECT_EQ(element->GetModifyWindow(), window);
}

TEST_F(AMaskModifyWindowTest, ZoomIsFittedAtEveryOpeningAndSizesTheGrid) {
    element->SetModifyWindowZoom(150);
    AMaskModifyWindow* window = Open();
    // 8 x 6 cells fit the view at 100 at most.
    EXPECT_GE(window->GetZoom(), 12);
    EXPECT_LE(window->GetZoom(), 100);
    int value = 0;
    XtVaGetValues(window->GetZoomScale(), XmNvalue, &value, nullptr);
    EXPECT_EQ(value, window->GetZoom());
    Dimension width = 0, height = 0;
    XtVaGetValues(window->GetDrawArea(), XmNwidth, &width, XmNheight, &height, nullptr);
    EXPECT_EQ(width, window->GetZoom() / 4 * kWidth + 21);
    EXPECT_EQ(height, window->GetZoom() / 4 * kHeight + 21);

    // The scale raises it beyond the fitted range.
    XmScaleSetValue(window->GetZoomScale(), 150);
    XmScaleCallbackStruct call{};
    call.reason = XmCR_VALUE_CHANGED;
    call.value = 150;
    XtCallCallbacks(window->GetZoomScale(), XmNvalueChangedCallback, &call);
    EXPECT_EQ(window->GetZoom(), 150);
    XtVaGetValues(window->GetDrawArea(), XmNwidth, &width, XmNheight, &height, nullptr);
    EXPECT_EQ(width, 37 * kWidth + 21);
    EXPECT_EQ(height, 37 * kHeight + 21);

    // Closed at 150, reopened fitted again.
    Click(ButtonLabelled(window->GetShell(), "Cancel"));
    EXPECT_EQ(element->GetModifyWindowZoom(), 150);
    window = Open();
    EXPECT_LE(window->GetZoom(), 100);
}

TEST_F(AMaskModifyWindowTest, PressAndDragToggleCellsOfTheCopyOnly) {
    AMaskModifyWindow* window = Open();
    Widget label = window->GetPosLabel();
    PressCell(window, 2, 4);
    EXPECT_EQ(Copy(window)(2, 4), 0);
    EXPECT_EQ(LabelText(label), " ");
    // The drag goes on from the pressed cell: each new cell once, the pressed one not again.
    MoveToCell(window, 2, 4, Button1Mask);
    EXPECT_EQ(LabelText(label), "2,4");
    EXPECT_EQ(Copy(window)(2, 4), 0);
    MoveToCell(window, 3, 4, Button1Mask);
    MoveToCell(window, 3, 4, Button1Mask);
    MoveToCell(window, 3, 3, Button1Mask);
    EXPECT_EQ(LabelText(label), "3,3");
    EXPECT_EQ(Copy(window)(3, 4), 0);
    EXPECT_EQ(Copy(window)(3, 3), 0);
    // Without a button the pointer only shows where it is.
    MoveToCell(window, 1, 1, 0);
    EXPECT_EQ(Copy(window)(1, 1), 0);
    EXPECT_EQ(LabelText(label), "1,1");
    SendMotion(window->GetDrawArea(), 2, 2); // the margin
    EXPECT_EQ(LabelText(label), " ");
    MoveToCell(window, 0, 5, 0);
    SendCrossing(window->GetDrawArea(), LeaveNotify, 0, 0);
    EXPECT_EQ(LabelText(label), " ");
    // The pressed cell is drawn as it now is: cleared.
    int px = 0, py = 0;
    CellPixel(kHeight, window->GetZoom(), 2, 4, &px, &py);
    EXPECT_EQ(BlackPixels(window->GetDrawArea(), px - 2, py - 2, 4, 4), 0);
    CellPixel(kHeight, window->GetZoom(), 0, 0, &px, &py);
    EXPECT_GT(BlackPixels(window->GetDrawArea(), px - 2, py - 2, 4, 4), 0);
    SaveScreenshot(window->GetShell(), "mask-editor");

    EXPECT_EQ(Mask()(2, 4), 1); // the element's mask is untouched until OK or Apply
    EXPECT_EQ(Mask()(3, 3), 1);
}

TEST_F(AMaskModifyWindowTest, SetAndUnsetAllChangeEveryCell) {
    AMaskModifyWindow* window = Open();
    Click(ButtonLabelled(window->GetShell(), " Set All "));
    EXPECT_EQ(Copy(window), Matrix(kWidth, kHeight, 1));
    Click(ButtonLabelled(window->GetShell(), " Unset All "));
    EXPECT_EQ(Copy(window), Matrix(kWidth, kHeight, 0));
    int px = 0, py = 0;
    CellPixel(kHeight, window->GetZoom(), 0, 0, &px, &py);
    EXPECT_EQ(BlackPixels(window->GetDrawArea(), px - 2, py - 2, 4, 4), 0);
}

TEST_F(AMaskModifyWindowTest, OkApplyCancelAndCloseFollowTheProtocol) {
    // Apply stores the copy and keeps the window.
    AMaskModifyWindow* window = Open();
    PressCell(window, 0, 0);
    Click(ButtonLabelled(window->GetShell(), "Apply"));
    EXPECT_EQ(Mask()(0, 0), 0);
    EXPECT_TRUE(element->IsModified());
    EXPECT_EQ(element->GetModifyWindow(), window);

    // Cancel and the window-manager close discard the copy.
    element->ClearModified();
    PressCell(window, 5, 5);
    Click(ButtonLabelled(window->GetShell(), "Cancel"));
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    window = Open();
    PressCell(window, 5, 5);
    SendClose(window->GetShell());
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_EQ(Mask()(5, 5), 1);
    EXPECT_FALSE(element->IsModified());

    // OK stores it and closes.
    window = Open();
    EXPECT_EQ(Copy(window)(0, 0), 0);
    PressCell(window, 7, 0);
    Click(ButtonLabelled(window->GetShell(), "OK"));
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_EQ(Mask()(7, 0), 0);
    EXPECT_TRUE(element->IsModified());
}

TEST_F(AMaskModifyWindowTest, SavesAndLoadsTheCopyAsAMatrixFile) {
    RecordingHost host;
    AMaskModifyWindow* window = Open();
    Click(ButtonLabelled(window->GetShell(), " Save As Matrix "));
    Click(ButtonLabelled(window->GetShell(), " Load As Matrix "));
    ASSERT_EQ(host.files.size(), 2u);
    EXPECT_TRUE(host.files[0].save);
    EXPECT_FALSE(host.files[1].save);
    for (const ArgumentRequest& request : host.files) {
        EXPECT_EQ(request.kind, kMatrixFile);
        EXPECT_EQ(request.object, &Copy(window));
    }

    // The file dialog reads with the argument it was given; the grid shows the file at once.
    std::istringstream file("MATRIX {\n  DIMENSION: (8,6)\n  DATA {\n"
                            "    11111111\n    00000000\n    00000000\n"
                            "    00000000\n    00000000\n    10000001\n  }\n}\n");
    ClearParseError();
    ASSERT_EQ(host.files[1].object->Read(file, host.files[1].argument), 0);
    EXPECT_EQ(Copy(window)(0, 5), 1);
    EXPECT_EQ(Copy(window)(1, 0), 0);
    int px = 0, py = 0;
    CellPixel(kHeight, window->GetZoom(), 1, 0, &px, &py);
    EXPECT_EQ(BlackPixels(window->GetDrawArea(), px - 2, py - 2, 4, 4), 0);
    EXPECT_EQ(Mask()(1, 0), 1);

    // Another dimension is refused and changes nothing.
    const Matrix before = Copy(window);
    std::istringstream wrong("MATRIX {\n  DIMENSION: (6,8)\n  DATA {\n  }\n}\n");
    ClearParseError();
    EXPECT_EQ(host.files[1].object->Read(wrong, host.files[1].argument), kDimensionError);
    EXPECT_EQ(Copy(window), before);
}

TEST_F(AMaskModifyWindowTest, ClosingTheWindowClosesAFileDialogOnItsCopy) {
    RecordingHost host;
    RecordingCloser closer;
    AMaskModifyWindow* window = Open();
    Click(ButtonLabelled(window->GetShell(), " Load As Matrix "));
    const LoadSaveObject* object = host.files.at(0).object;
    SendClose(window->GetShell());
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    ASSERT_EQ(closer.closed.size(), 1u);
    EXPECT_EQ(closer.closed[0], object);
}

TEST_F(AMaskModifyWindowTest, ANewDimensionClosesTheWindow) {
    AMaskModifyWindow* window = Open();
    PressCell(window, 0, 0);
    element->SetInputPlaneSize(0, 3, 3);
    element->DimensionChanged();
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_EQ(Mask(), Matrix(3, 3, 1));
    window = Open();
    EXPECT_EQ(Copy(window), Matrix(3, 3, 1));
}

TEST_F(AMaskModifyWindowTest, DeletingTheElementDeletesItsWindow) {
    Open();
    RunInDispatch([&] { element.reset(); });
    Flush();
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);
}

// A mask far wider or taller than a window can be: the scroll bars reach its last cell, which a
// click toggles in the copy.
TEST_F(AMaskModifyWindowTest, TheLastCellOfTheLargestMasksIsShownAndSetByAClick) {
    struct Case {
        int width;
        int height;
        int zoom;
    };
    const Case cases[] = {{65536, 1, 12}, {65536, 1, 150}, {1, 65536, 150}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + " at " +
                     std::to_string(c.zoom));
        element = std::make_unique<AMaskElem>(nullptr, 0, 0);
        element->SetInputPlaneSize(0, c.width, c.height);
        element->SetOutputPlaneSize(0, c.width, c.height);
        element->CreateData();
        element->GetData().GetMask().UnsetAll();
        AMaskModifyWindow* window = Open();
        ASSERT_NE(window, nullptr);
        SetScaleZoom(window->GetZoomScale(), c.zoom);
        Widget draw = window->GetDrawArea();
        ScrollToTopRight(draw);
        const ShownCell cell = CellOnScreen(draw, c.height, c.zoom, c.width - 1, c.height - 1);
        EXPECT_TRUE(cell.seen) << cell.x << "," << cell.y;
        ASSERT_TRUE(RealClickAt(draw, cell.x + cell.width / 2, cell.y + cell.height / 2));
        EXPECT_EQ(Copy(window)(c.width - 1, c.height - 1), 1);
        EXPECT_GT(BlackPixels(draw, cell.x, cell.y, cell.width, cell.height), 0);
        EXPECT_EQ(LabelText(window->GetPosLabel()),
                  std::to_string(c.width - 1) + "," + std::to_string(c.height - 1));
        element.reset();
        Flush();
    }
}
