// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/APermModifyWindow.h"

#include <X11/IntrinsicP.h>
#include <X11/ShellP.h>
#include <Xm/RowColumn.h>
#include <Xm/Scale.h>
#include <Xm/ToggleBG.h>
#include <Xm/Xm.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "AMaskModifyWindowTest.h"
#include "EditorsTestSupport.h"
#include "editors/PermMethods.h"
#include "model/elements/ElementType.h"
#include "toolkit/MatrixGeometry.h"
#include "toolkit/ReadInt.h"

namespace {

// The cells set in a plane, "x,y " row by row from the bottom.
std::string SetCells(const Matrix& plane) {
    std::string text;
    for (int y = 0; y < plane.GetDimY(); y++) {
        for (int x = 0; x < plane.GetDimX(); x++) {
            if (plane(x, y)) text += std::to_string(x) + "," + std::to_string(y) + " ";
        }
    }
    return text;
}

// The targets of one transmitter cell, in list order.
std::string Targets(const D_PermElem& table, int i, int j) {
    std::string text;
    for (int k = 0; k < table.GetTargetCount(i, j); k++) {
        const PermTarget t = table.GetTarget(i, j, k);
        text += std::to_string(t.x) + "," + std::to_string(t.y) + " ";
    }
    return text;
}

int TotalTargets(const D_PermElem& table) {
    int total = 0;
    for (int i = 0; i < table.GetInputWidth(); i++) {
        for (int j = 0; j < table.GetInputHeight(); j++)
            total += table.GetTargetCount(i, j);
    }
    return total;
}

bool IsPoppedUp(Widget shell) {
    return shell != nullptr && shell->core.being_destroyed == False &&
           reinterpret_cast<ShellWidget>(shell)->shell.popped_up;
}

// Sets a radio toggle as a click does: the box unsets the other, the set one calls back.
void SetToggle(Widget dialog, const char* path) {
    Widget toggle = Child(dialog, path);
    ASSERT_NE(toggle, nullptr) << path;
    RunInDispatch([&] { XmToggleButtonGadgetSetState(toggle, True, True); });
}

// The method button of a dialog's pulldown, chosen.
void ChooseMethod(Widget menu, const char* name) {
    Widget pulldown = nullptr;
    XtVaGetValues(menu, XmNsubMenuId, &pulldown, nullptr);
    ASSERT_NE(pulldown, nullptr);
    Widget button = Child(pulldown, name);
    ASSERT_NE(button, nullptr) << name;
    // The option menu shows the chosen button, as a click on it leaves it.
    XtVaSetValues(menu, XmNmenuHistory, button, nullptr);
    Click(button);
}

std::string MenuShows(Widget menu) {
    Widget button = nullptr;
    XtVaGetValues(menu, XmNmenuHistory, &button, nullptr);
    return button != nullptr ? XtName(button) : "";
}

void SetField(Widget field, const char* text) {
    SetText(ReadIntGetText(field), text);
}

std::string FieldText(Widget field) {
    return GetText(ReadIntGetText(field));
}

// The field is greyed as the dialog shows it: not editable.
bool Editable(Widget field) {
    Boolean editable = False;
    XtVaGetValues(ReadIntGetText(field), XmNeditable, &editable, nullptr);
    return editable != False;
}

class APermModifyWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
        maker = std::make_unique<MakerScope>(kPerm, APermModifyWindow::Make);
        Make(8, 8, 8, 8);
    }
    void TearDown() override {
        element.reset();
        maker.reset();
        Flush();
    }
    void Make(int inW, int inH, int outW, int outH) {
        element.reset();
        element = std::make_unique<APermElem>(nullptr, 0, 0);
        element->SetInputPlaneSize(0, inW, inH);
        element->SetOutputPlaneSize(0, outW, outH);
        element->CreateData();
    }
    APermModifyWindow* Open() {
        element->OpenModifyWindow();
        Flush();
        return dynamic_cast<APermModifyWindow*>(element->GetModifyWindow());
    }
    // Button presses and motion on a cell of one of the two grids.
    void Press(APermModifyWindow* window, bool left, int x, int y, unsigned int state = 0) {
        int px = 0, py = 0;
        CellPixel(Rows(window, left), window->GetZoom(), x, y, &px, &py);
        SendButtonPress(left ? window->GetDrawL() : window->GetDrawR(), px, py, state);
    }
    void Move(APermModifyWindow* window, bool left, int x, int y, unsigned int state = 0) {
        int px = 0, py = 0;
        CellPixel(Rows(window, left), window->GetZoom(), x, y, &px, &py);
        SendMotionHeld(left ? window->GetDrawL() : window->GetDrawR(), px, py, state);
    }
    static int Rows(APermModifyWindow* window, bool left) {
        return left ? window->GetTransmitterView().GetDimY() : window->GetReceiverView().GetDimY();
    }
    std::string Saved() {
        std::ostringstream out;
        element->Write(out, 0, nullptr);
        return out.str();
    }

    std::unique_ptr<MakerScope> maker;
    std::unique_ptr<APermElem> element;
};

} // namespace

TEST_F(APermModifyWindowTest, OpensWithItsWidgetsAndTheFirstCellSelected) {
    element->GetData().Add(0, 0, 3, 4);
    element->GetData().Add(0, 0, 7, 7);
    element->GetData().Add(1, 0, 2, 2);
    APermModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    Widget shell = window->GetShell();
    EXPECT_EQ(element->GetModifyWindow(), window);
    char* title = nullptr;
    XtVaGetValues(shell, XmNtitle, &title, nullptr);
    EXPECT_STREQ(title, "Modify PERM");
    for (const char* path :
         {"form.formL.pos_labelL", "form.formL.draw_windowL", "form.formR.pos_labelR",
          "form.formR.draw_windowR", "*drawL", "*drawR", "form.zoom-frame.zoom-form.zoom-label",
          "form.zoom-frame.zoom-form.zoom-scale", "form.button_frame.button_form",
          "form.action_area"}) {
        SCOPED_TRACE(path);
        EXPECT_NE(Child(shell, path), nullptr);
    }
    EXPECT_EQ(Child(shell, "*drawL"), window->GetDrawL());
    EXPECT_EQ(LabelText(Child(shell, "form.formL.helplabel")), "Position: ");
    EXPECT_EQ(LabelText(Child(shell, "form.formR.helplabel")), "Position: ");
    EXPECT_EQ(LabelText(window->GetPosLabelL()), " ");
    for (const char* text : {" Vector ", " Matrix "}) {
        Widget button = ButtonLabelled(Child(shell, "form.button_frame.button_form"), text);
        ASSERT_NE(button, nullptr) << text;
        EXPECT_STREQ(XtName(button), "DialogButton");
    }
    for (const char* text : {"OK", "Apply", "Cancel"})
        EXPECT_NE(ButtonLabelled(Child(shell, "form.action_area"), text), nullptr) << text;
    int minimum = 0, maximum = 0, value = 0;
    XtVaGetValues(window->GetZoomScale(), XmNminimum, &minimum, XmNmaximum, &maximum, XmNvalue,
                  &value, nullptr);
    EXPECT_EQ(minimum, 12);
    EXPECT_EQ(maximum, 150);
    EXPECT_EQ(value, window->GetZoom());

    // Cell (0, 0) is selected and its targets shown.
    EXPECT_EQ(SetCells(window->GetTransmitterView()), "0,0 ");
    EXPECT_EQ(SetCells(window->GetReceiverView()), "3,4 7,7 ");
    const int pitch = window->GetZoom() / 4;
    Dimension width = 0, height = 0;
    XtVaGetValues(window->GetDrawR(), XmNwidth, &width, XmNheight, &height, nullptr);
    EXPECT_EQ(width, pitch * 8 + 21);
    EXPECT_EQ(height, pitch * 8 + 21);
    const PixelRect target = MatrixCellRect(8, window->GetZoom(), 3, 4);
    const PixelRect empty = MatrixCellRect(8, window->GetZoom(), 4, 4);
    EXPECT_GT(BlackPixels(window->GetDrawR(), target.x, target.y, target.width, target.height), 0);
    EXPECT_EQ(BlackPixels(window->GetDrawR(), empty.x, empty.y, empty.width, empty.height), 0);

    // Both dialogs exist, hidden, over the window.
    ASSERT_NE(window->GetVectorShell(), nullptr);
    ASSERT_NE(window->GetMatrixShell(), nullptr);
    EXPECT_STREQ(XtName(window->GetVectorShell()), "Perm - Vector");
    EXPECT_STREQ(XtName(window->GetMatrixShell()), "Perm - Matrix");
    EXPECT_EQ(XtParent(window->GetVectorShell()), shell);
    EXPECT_FALSE(IsPoppedUp(window->GetVectorShell()));
    EXPECT_FALSE(IsPoppedUp(window->GetMatrixShell()));

    // A second Modify raises the window and makes no other.
    element->OpenModifyWindow();
    EXPECT_EQ(element->GetModifyWindow(), window);
}

TEST_F(APermModifyWindowTest, PointerSelectsTransmittersAndConnectsReceivers) {
    element->GetData().Add(2, 3, 6, 6);
    APermModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);

    // Motion over the transmitter shows the cell; a press selects it and shows its targets.
    Move(window, true, 2, 3);
    EXPECT_EQ(LabelText(window->GetPosLabelL()), "2,3");
    Press(window, true, 2, 3);
    EXPECT_EQ(window->GetSelectedX(), 2);
    EXPECT_EQ(window->GetSelectedY(), 3);
    EXPECT_EQ(SetCells(window->GetTransmitterView()), "2,3 ");
    EXPECT_EQ(SetCells(window->GetReceiverView()), "6,6 ");
    SendCrossing(window->GetDrawL(), LeaveNotify, 0, 0);
    EXPECT_EQ(LabelText(window->GetPosLabelL()), " ");

    // A receiver cell clicked twice: the connection is made, then removed.
    Press(window, false, 1, 1);
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 2, 3), "6,6 1,1 ");
    EXPECT_EQ(SetCells(window->GetReceiverView()), "1,1 6,6 ");
    Press(window, false, 1, 1);
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 2, 3), "6,6 ");
    EXPECT_EQ(SetCells(window->GetReceiverView()), "6,6 ");

    // Motion without a button shows the cell; leaving blanks it.
    Move(window, false, 5, 4);
    EXPECT_EQ(LabelText(window->GetPosLabelR()), "5,4");
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 2, 3), "6,6 ");
    SendCrossing(window->GetDrawR(), LeaveNotify, 0, 0);
    EXPECT_EQ(LabelText(window->GetPosLabelR()), " ");

    // A drag with a button held toggles every cell crossed once.
    Press(window, false, 0, 0);
    Move(window, false, 0, 0, Button1Mask);
    Move(window, false, 1, 0, Button1Mask);
    Move(window, false, 1, 0, Button1Mask);
    Move(window, false, 2, 0, Button1Mask);
    Move(window, false, 6, 6, Button1Mask);
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 2, 3), "0,0 1,0 2,0 ");

    // A drag over the transmitter selects the cells it crosses.
    Move(window, true, 5, 5, Button1Mask);
    EXPECT_EQ(SetCells(window->GetTransmitterView()), "5,5 ");
    EXPECT_EQ(LabelText(window->GetPosLabelL()), "5,5");
    EXPECT_EQ(SetCells(window->GetReceiverView()), "");
    // None of it reached the element.
    EXPECT_EQ(Targets(element->GetData(), 2, 3), "6,6 ");
    EXPECT_EQ(TotalTargets(element->GetData()), 1);
}

TEST_F(APermModifyWindowTest, OkAndApplyCommitCancelAndCloseDiscard) {
    APermModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    Press(window, true, 2, 3);
    Press(window, false, 1, 1);
    Click(ButtonLabelled(window->GetShell(), "Cancel"));
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_EQ(TotalTargets(element->GetData()), 0);
    EXPECT_FALSE(element->IsModified());

    window = Open();
    ASSERT_NE(window, nullptr);
    Press(window, true, 2, 3);
    Press(window, false, 1, 1);
    Click(ButtonLabelled(window->GetShell(), "Apply"));
    EXPECT_EQ(element->GetModifyWindow(), window);
    EXPECT_TRUE(element->IsModified());
    EXPECT_EQ(Targets(element->GetData(), 2, 3), "1,1 ");
    Press(window, false, 4, 4);
    Click(ButtonLabelled(window->GetShell(), "Cancel"));
    EXPECT_EQ(Targets(element->GetData(), 2, 3), "1,1 ");

    // The window manager's close is Cancel.
    element->ClearModified();
    window = Open();
    ASSERT_NE(window, nullptr);
    Press(window, true, 2, 3);
    Press(window, false, 4, 4);
    SendClose(window->GetShell());
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_EQ(Targets(element->GetData(), 2, 3), "1,1 ");
    EXPECT_FALSE(element->IsModified());

    window = Open();
    ASSERT_NE(window, nullptr);
    Press(window, true, 7, 0);
    Press(window, false, 0, 7);
    Press(window, false, 3, 2);
    Click(ButtonLabelled(window->GetShell(), "OK"));
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_TRUE(element->IsModified());
    EXPECT_EQ(Targets(element->GetData(), 7, 0), "0,7 3,2 ");
    // The saved block lists the targets from the last added.
    const std::string saved = Saved();
    EXPECT_NE(saved.find("\n    (2,3)  -> (1,1)\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\n    (7,0)  -> (3,2)(0,7)\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("\n    (7,1)  -> (-,-)\n"), std::string::npos) << saved;
}

namespace {

// The vector dialog as it pops up: its parts, Row and Define chosen, no method yet, and for an
// 8-wide row between equal planes the methods offered.
void ExpectVectorDialogAsOpened(APermModifyWindow* window) {
    Widget dialog = window->GetVectorShell();
    EXPECT_TRUE(IsPoppedUp(dialog));
    EXPECT_FALSE(XtIsSensitive(window->GetVectorButton()));
    for (const char* path :
         {"form.t_frame.t_rowcol", "form.t_frame.t_rowcol.t_form.t_radio_frame.t_radio_box.Row",
          "*t_radio_box.Column", "form.r_frame.r_rowcol.r_form.r_radio_frame.r_radio_box.Row",
          "form.m_frame.m_form.m_menu_v", "form.d_frame.d_form.d_radio_box.Define",
          "*d_radio_box.Delete", "form.action_area"}) {
        SCOPED_TRACE(path);
        EXPECT_NE(Child(dialog, path), nullptr);
    }
    EXPECT_TRUE(XmToggleButtonGadgetGetState(Child(dialog, "*t_radio_box.Row")));
    EXPECT_TRUE(XmToggleButtonGadgetGetState(Child(dialog, "*d_radio_box.Define")));
    EXPECT_EQ(LabelText(window->GetShiftLabel()), "Horizontal Shift: ");
    EXPECT_EQ(MenuShows(window->GetVectorMenu()), "None");
    // An 8-wide row between equal planes offers the methods; the bit waits for "Exchange".
    EXPECT_TRUE(XtIsSensitive(window->GetVectorMenu()));
    EXPECT_FALSE(XtIsSensitive(window->GetVectorBitLabel()));
    EXPECT_FALSE(Editable(window->GetVectorBitField()));
}

} // namespace

TEST_F(APermModifyWindowTest, VectorDialogMakesAndRemovesConnectionsOfOneLine) {
    APermModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    Widget dialog = window->GetVectorShell();
    Click(window->GetVectorButton());
    ExpectVectorDialogAsOpened(window);

    // Row 0 shuffled onto row 0; the selected cell (0, 0) lies on it.
    ChooseMethod(window->GetVectorMenu(), "Shuffels");
    EXPECT_EQ(FieldText(window->GetTransmitterField()), "0");
    EXPECT_EQ(FieldText(window->GetReceiverField()), "0");
    Click(ButtonLabelled(dialog, "OK"));
    EXPECT_FALSE(IsPoppedUp(dialog));
    EXPECT_TRUE(XtIsSensitive(window->GetVectorButton()));
    const int shuffled[8] = {0, 2, 4, 6, 1, 3, 5, 7};
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(Targets(window->GetWorkingCopy(), i, 0), std::to_string(shuffled[i]) + ",0 ");
    EXPECT_EQ(SetCells(window->GetReceiverView()), "0,0 ");
    EXPECT_EQ(TotalTargets(element->GetData()), 0);

    // A field out of range keeps the dialog open and changes nothing; so does an empty one.
    Click(window->GetVectorButton());
    SetField(window->GetTransmitterField(), "8");
    Click(ButtonLabelled(dialog, "OK"));
    EXPECT_TRUE(IsPoppedUp(dialog));
    EXPECT_EQ(TotalTargets(window->GetWorkingCopy()), 8);
    SetField(window->GetTransmitterField(), "3");
    SetField(window->GetVectorShiftField(), "");
    Click(ButtonLabelled(dialog, "Apply"));
    EXPECT_EQ(TotalTargets(window->GetWorkingCopy()), 8);

    // Apply keeps the dialog: row 3 onto receiver row 5 shifted by 2, the last two dropped.
    SetField(window->GetVectorShiftField(), "2");
    SetField(window->GetReceiverField(), "5");
    ChooseMethod(window->GetVectorMenu(), "None");
    Click(ButtonLabelled(dialog, "Apply"));
    EXPECT_TRUE(IsPoppedUp(dialog));
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 0, 3), "2,5 ");
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 5, 3), "7,5 ");
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 6, 3), "");
    EXPECT_EQ(TotalTargets(window->GetWorkingCopy()), 14);

    // Delete with the same settings removes exactly those; Return in a field is OK.
    SetToggle(dialog, "*d_radio_box.Delete");
    PressReturn(ReadIntGetText(window->GetVectorShiftField()));
    EXPECT_FALSE(IsPoppedUp(dialog));
    EXPECT_EQ(TotalTargets(window->GetWorkingCopy()), 8);

    // Cancel and the window manager's close pop the dialog down and change nothing.
    Click(window->GetVectorButton());
    Click(ButtonLabelled(dialog, "Cancel"));
    EXPECT_FALSE(IsPoppedUp(dialog));
    EXPECT_TRUE(XtIsSensitive(window->GetVectorButton()));
    Click(window->GetVectorButton());
    SendClose(dialog);
    EXPECT_FALSE(IsPoppedUp(dialog));
    EXPECT_TRUE(XtIsSensitive(window->GetVectorButton()));
    EXPECT_EQ(element->GetModifyWindow(), window);
    EXPECT_EQ(TotalTargets(window->GetWorkingCopy()), 8);

    Click(ButtonLabelled(window->GetShell(), "OK"));
    EXPECT_EQ(TotalTargets(element->GetData()), 8);
    EXPECT_EQ(Targets(element->GetData(), 4, 0), "1,0 ");
}

TEST_F(APermModifyWindowTest, ExchangeOffersTheBitsOfTheTransmitterLine) {
    APermModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    Click(window->GetVectorButton());
    ChooseMethod(window->GetVectorMenu(), "Exchange");
    EXPECT_TRUE(XtIsSensitive(window->GetVectorBitLabel()));
    EXPECT_TRUE(Editable(window->GetVectorBitField()));
    // An 8-wide row has bits 0 .. 2.
    SetField(window->GetVectorBitField(), "3");
    Click(ButtonLabelled(window->GetVectorShell(), "Apply"));
    EXPECT_EQ(TotalTargets(window->GetWorkingCopy()), 0);
    SetField(window->GetVectorBitField(), "2");
    Click(ButtonLabelled(window->GetVectorShell(), "Apply"));
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 1, 0), "5,0 ");
    EXPECT_EQ(SetCells(window->GetReceiverView()), "4,0 ");

    // Another method takes the bit away again.
    ChooseMethod(window->GetVectorMenu(), "Butterfly");
    EXPECT_FALSE(XtIsSensitive(window->GetVectorBitLabel()));
    EXPECT_FALSE(Editable(window->GetVectorBitField()));
    EXPECT_EQ(FieldText(window->GetVectorBitField()), "0");

    // The same in the matrix dialog, by its direction.
    Click(window->GetMatrixButton());
    ChooseMethod(window->GetMatrixMenu(), "Exchange");
    EXPECT_TRUE(XtIsSensitive(window->GetMatrixBitLabel()));
    SetField(window->GetMatrixBitField(), "2");
    Click(ButtonLabelled(window->GetMatrixShell(), "Apply"));
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 1, 6), "5,6 ");
}

TEST_F(APermModifyWindowTest, MethodsNeedAPowerOfTwoLine) {
    Make(6, 4, 8, 4);
    APermModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    Widget vector = window->GetVectorShell();
    Widget matrix = window->GetMatrixShell();
    // A 6-wide transmitter row: both menus on "None" and insensitive.
    EXPECT_EQ(MenuShows(window->GetVectorMenu()), "None");
    EXPECT_FALSE(XtIsSensitive(window->GetVectorMenu()));
    EXPECT_EQ(MenuShows(window->GetMatrixMenu()), "None");
    EXPECT_FALSE(XtIsSensitive(window->GetMatrixMenu()));

    Click(window->GetVectorButton());
    // Transmitter columns are 4 high: the methods are offered, whatever the receiver walks. The
    // transmitter number now counts columns.
    SetField(window->GetTransmitterField(), "3");
    SetToggle(vector, "*t_radio_box.Column");
    EXPECT_TRUE(XtIsSensitive(window->GetVectorMenu()));
    SetField(window->GetTransmitterField(), "5");
    Click(ButtonLabelled(vector, "Apply"));
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 5, 2), "2,0 ");
    // Receiver columns: the directions agree, 4 is a power of two.
    SetToggle(vector, "*r_radio_box.Column");
    EXPECT_EQ(LabelText(window->GetShiftLabel()), "Vertical Shift: ");
    EXPECT_TRUE(XtIsSensitive(window->GetVectorMenu()));
    ChooseMethod(window->GetVectorMenu(), "Exchange");
    // A 4-high transmitter column has bits 0 .. 1.
    SetField(window->GetVectorBitField(), "2");
    Click(ButtonLabelled(vector, "Apply"));
    SetField(window->GetVectorBitField(), "1");
    SetField(window->GetReceiverField(), "7");
    Click(ButtonLabelled(vector, "OK"));
    EXPECT_FALSE(IsPoppedUp(vector));
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 5, 0), "0,0 7,2 ");
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 5, 3), "3,0 7,1 ");
    // The receiver number counted rows 0 .. 3 before; its maximum follows the direction. The
    // transmitter line is the same, so is the method.
    SetToggle(vector, "*r_radio_box.Row");
    EXPECT_EQ(FieldText(window->GetReceiverField()), "3");
    EXPECT_EQ(LabelText(window->GetShiftLabel()), "Horizontal Shift: ");
    EXPECT_TRUE(XtIsSensitive(window->GetVectorMenu()));
    EXPECT_EQ(MenuShows(window->GetVectorMenu()), "Exchange");
    EXPECT_TRUE(XtIsSensitive(window->GetVectorBitLabel()));
    // Back to 6-wide transmitter rows: no method.
    SetToggle(vector, "*t_radio_box.Row");
    EXPECT_FALSE(XtIsSensitive(window->GetVectorMenu()));
    EXPECT_EQ(MenuShows(window->GetVectorMenu()), "None");
    EXPECT_FALSE(XtIsSensitive(window->GetVectorBitLabel()));

    // The matrix dialog walks 4-high columns.
    Click(window->GetMatrixButton());
    EXPECT_TRUE(IsPoppedUp(matrix));
    for (const char* path : {"form.di_frame.di_form.di_radio_frame.di_radio_box.Row",
                             "*di_radio_box.Column", "form.m_frame.m_form.m_menu_m",
                             "form.d_frame.d_form.d_radio_box.Define", "form.action_area"}) {
        SCOPED_TRACE(path);
        EXPECT_NE(Child(matrix, path), nullptr);
    }
    SetToggle(matrix, "*di_radio_box.Column");
    EXPECT_TRUE(XtIsSensitive(window->GetMatrixMenu()));
    SetToggle(matrix, "*di_radio_box.Row");
    EXPECT_FALSE(XtIsSensitive(window->GetMatrixMenu()));
}

// Toggles set in turn ("t" transmitter, "r" receiver, "m" the matrix dialog's direction), then
// whether each dialog's method menu is offered.
struct AvailabilityCase {
    const char* what;
    int inW, inH, outW, outH;
    std::vector<std::string> toggles;
    bool vector;
    bool matrix;
};

const AvailabilityCase kAvailability[] = {
    {"8-wide rows, a smaller receiver", 8, 2, 3, 5, {}, true, true},
    {"6-wide rows", 6, 8, 8, 8, {}, false, false},
    {"6-wide rows onto receiver rows of 8", 6, 8, 8, 8, {"rColumn", "rRow"}, false, false},
    {"8-high columns onto 6-high columns", 6, 8, 8, 6, {"tColumn", "rColumn"}, true, false},
    {"8-high columns onto rows", 6, 8, 8, 6, {"tColumn", "rRow", "rColumn", "rRow"}, true, false},
    {"offered again after a row", 6, 8, 8, 8, {"tColumn", "tRow", "tColumn"}, true, false},
    {"matrix columns of 8", 6, 8, 8, 8, {"mColumn"}, false, true},
    {"matrix rows of 6 again", 6, 8, 8, 8, {"mColumn", "mRow"}, false, false},
    {"a 1-wide row has one position", 1, 3, 5, 5, {}, true, true},
};

TEST_F(APermModifyWindowTest, MethodAvailabilityFollowsTheTransmitterLine) {
    for (const AvailabilityCase& c : kAvailability) {
        SCOPED_TRACE(c.what);
        Make(c.inW, c.inH, c.outW, c.outH);
        APermModifyWindow* window = Open();
        ASSERT_NE(window, nullptr);
        for (const std::string& toggle : c.toggles) {
            const std::string box = toggle[0] == 't'   ? "*t_radio_box."
                                    : toggle[0] == 'r' ? "*r_radio_box."
                                                       : "*di_radio_box.";
            SetToggle(toggle[0] == 'm' ? window->GetMatrixShell() : window->GetVectorShell(),
                      (box + toggle.substr(1)).c_str());
        }
        EXPECT_EQ(XtIsSensitive(window->GetVectorMenu()) != False, c.vector);
        EXPECT_EQ(XtIsSensitive(window->GetMatrixMenu()) != False, c.matrix);
        if (!c.vector) {
            EXPECT_EQ(MenuShows(window->GetVectorMenu()), "None");
        }
        if (!c.matrix) {
            EXPECT_EQ(MenuShows(window->GetMatrixMenu()), "None");
        }
    }
}

TEST_F(APermModifyWindowTest, AChosenMethodStaysWhileItsTransmitterLineCarriesIt) {
    // "Exchange" chosen on 8-high columns stays chosen while the receiver changes; rows of 6
    // take it away, and the apply makes the plain mapping, as the menu then shows.
    Make(6, 8, 8, 8);
    APermModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    Widget vector = window->GetVectorShell();
    SetToggle(vector, "*t_radio_box.Column");
    ChooseMethod(window->GetVectorMenu(), "Exchange");
    SetToggle(vector, "*r_radio_box.Column");
    EXPECT_EQ(MenuShows(window->GetVectorMenu()), "Exchange");
    SetToggle(vector, "*r_radio_box.Row");
    EXPECT_EQ(MenuShows(window->GetVectorMenu()), "Exchange");
    SetField(window->GetVectorBitField(), "2");
    SetField(window->GetTransmitterField(), "1");
    Click(ButtonLabelled(vector, "Apply"));
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 1, 0), "4,0 ");
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 1, 5), "1,0 ");

    SetToggle(vector, "*t_radio_box.Row");
    EXPECT_EQ(MenuShows(window->GetVectorMenu()), "None");
    EXPECT_FALSE(Editable(window->GetVectorBitField()));
    SetField(window->GetReceiverField(), "7");
    Click(ButtonLabelled(vector, "Apply"));
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 2, 1), "2,7 ");
    EXPECT_EQ(TotalTargets(window->GetWorkingCopy()), 8 + 6);
}

TEST_F(APermModifyWindowTest, MatrixDialogMapsEveryRowAndDeletesItAgain) {
    element->GetData().Add(0, 0, 7, 7);
    APermModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    Widget dialog = window->GetMatrixShell();
    Click(window->GetMatrixButton());
    EXPECT_FALSE(XtIsSensitive(window->GetMatrixButton()));
    EXPECT_EQ(LabelText(Child(dialog, "*horizontal_label")), "Horizontal Shift: ");
    EXPECT_EQ(LabelText(Child(dialog, "*vertical_label")), "  Vertical Shift: ");
    SetField(window->GetHorizontalShiftField(), "1");
    SetField(window->GetVerticalShiftField(), "-1");
    ChooseMethod(window->GetMatrixMenu(), "Bit Reversed");
    Click(ButtonLabelled(dialog, "Apply"));
    // Rows 1 .. 7 onto rows 0 .. 6, cell x onto its reversed bits plus 1 where that exists.
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 1, 1), "5,0 ");
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 3, 7), "7,6 ");
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 7, 2), "");
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 0, 0), "7,7 ");
    EXPECT_EQ(TotalTargets(window->GetWorkingCopy()), 1 + 7 * 7);
    SetToggle(dialog, "*d_radio_box.Delete");
    Click(ButtonLabelled(dialog, "OK"));
    EXPECT_FALSE(IsPoppedUp(dialog));
    EXPECT_TRUE(XtIsSensitive(window->GetMatrixButton()));
    EXPECT_EQ(TotalTargets(window->GetWorkingCopy()), 1);
    EXPECT_EQ(SetCells(window->GetReceiverView()), "7,7 ");
    // An invalid shift: nothing happens, the dialog stays.
    Click(window->GetMatrixButton());
    SetField(window->GetVerticalShiftField(), "x");
    PressReturn(ReadIntGetText(window->GetHorizontalShiftField()));
    EXPECT_TRUE(IsPoppedUp(dialog));
    EXPECT_EQ(TotalTargets(window->GetWorkingCopy()), 1);
}

TEST_F(APermModifyWindowTest, ZoomResizesBothGridsAndKeepsCellsAddressable) {
    Make(4, 4, 8, 2);
    APermModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    XmScaleSetValue(window->GetZoomScale(), 60);
    XmScaleCallbackStruct call{};
    call.reason = XmCR_VALUE_CHANGED;
    call.value = 60;
    RunInDispatch([&] { XtCallCallbacks(window->GetZoomScale(), XmNvalueChangedCallback, &call); });
    EXPECT_EQ(window->GetZoom(), 60);
    Dimension width = 0, height = 0;
    XtVaGetValues(window->GetDrawL(), XmNwidth, &width, XmNheight, &height, nullptr);
    EXPECT_EQ(width, 15 * 4 + 21);
    EXPECT_EQ(height, 15 * 4 + 21);
    XtVaGetValues(window->GetDrawR(), XmNwidth, &width, XmNheight, &height, nullptr);
    EXPECT_EQ(width, 15 * 8 + 21);
    EXPECT_EQ(height, 15 * 2 + 21);
    Press(window, true, 3, 3);
    Press(window, false, 7, 1);
    EXPECT_EQ(Targets(window->GetWorkingCopy(), 3, 3), "7,1 ");
    Click(ButtonLabelled(window->GetShell(), "Cancel"));
    EXPECT_EQ(element->GetModifyWindowZoom(), 60);
}

TEST_F(APermModifyWindowTest, ALoadIntoTheElementOrNewDimensionsCloseTheWindow) {
    APermModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    Click(window->GetVectorButton());
    Click(window->GetMatrixButton());
    Widget top = Editors().topLevel;
    Widget shell = window->GetShell();
    // The element's own table is replaced by a read: the window goes, dialogs and all.
    std::istringstream in(Saved());
    EXPECT_EQ(element->Read(in, nullptr), 0);
    Flush();
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_FALSE(IsLivePopup(top, shell));

    window = Open();
    ASSERT_NE(window, nullptr);
    Press(window, false, 3, 3);
    shell = window->GetShell();
    element->SetOutputPlaneSize(0, 2, 2);
    element->DimensionChanged();
    Flush();
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_FALSE(IsLivePopup(top, shell));
    EXPECT_EQ(element->GetData().GetOutputWidth(), 2);

    // A read into the window's own copy shows it anew, cell (0, 0) selected.
    window = Open();
    ASSERT_NE(window, nullptr);
    Press(window, true, 4, 4);
    D_PermElem copy(window->GetWorkingCopy());
    copy.Add(0, 0, 1, 1);
    std::ostringstream out;
    element->Write(out, 0, &copy);
    std::istringstream back(out.str());
    EXPECT_EQ(element->Read(back, const_cast<D_PermElem*>(&window->GetWorkingCopy())), 0);
    EXPECT_EQ(element->GetModifyWindow(), window);
    EXPECT_EQ(SetCells(window->GetTransmitterView()), "0,0 ");
    EXPECT_EQ(SetCells(window->GetReceiverView()), "1,1 ");
}

TEST_F(APermModifyWindowTest, DeletingTheElementTakesTheWindowAndItsDialogs) {
    APermModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    Press(window, true, 1, 1);
    Press(window, false, 2, 2);
    Click(window->GetVectorButton());
    Click(window->GetMatrixButton());
    element->OpenDimensionDialog();
    Flush();
    EXPECT_NE(element->GetPermDimensionDialog(), nullptr);
    Widget top = Editors().topLevel;
    Widget shell = window->GetShell();
    // Both dialogs are destroyed with the window, so none can call back into it.
    int destroyed = 0;
    auto count = [](Widget, XtPointer counter, XtPointer) { ++*static_cast<int*>(counter); };
    XtAddCallback(window->GetVectorShell(), XmNdestroyCallback, count, &destroyed);
    XtAddCallback(window->GetMatrixShell(), XmNdestroyCallback, count, &destroyed);
    const int popups = PopupCount(top);
    RunInDispatch([&] { element.reset(); });
    Flush();
    EXPECT_FALSE(IsLivePopup(top, shell));
    EXPECT_EQ(PopupCount(top), popups - 2); // the window and the dimension dialog
    EXPECT_EQ(destroyed, 2);
}

TEST_F(APermModifyWindowTest, Screenshot) {
    element->GetData().Add(0, 0, 3, 4);
    element->GetData().Add(0, 0, 5, 1);
    APermModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    Move(window, true, 0, 0);
    Move(window, false, 3, 4);
    RunFor(200);
    SaveScreenshot(window->GetShell(), "perm-editor");
    // Without a window manager the dialogs cover each other: one at a time.
    Click(window->GetVectorButton());
    ChooseMethod(window->GetVectorMenu(), "Exchange");
    RunFor(200);
    SaveScreenshot(window->GetVectorShell(), "perm-vector");
    Click(ButtonLabelled(window->GetVectorShell(), "Cancel"));
    Click(window->GetMatrixButton());
    RunFor(200);
    SaveScreenshot(window->GetMatrixShell(), "perm-matrix");
}

// 150 in "Horizontal Shift:" (-100..100) and OK clicked with the mouse: leaving the field shows 0,
// and that is not what the user gave, so the dialog stays with nothing made; the next click
// takes the 0 now shown. The same for Apply.
TEST_F(APermModifyWindowTest, MouseClickRightAfterAShiftWasCorrectedDoesNothing) {
    APermModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    Widget dialog = window->GetVectorShell();
    for (const char* button : {"Apply", "OK"}) {
        SCOPED_TRACE(button);
        Click(window->GetVectorButton());
        Widget shift = ReadIntGetText(window->GetVectorShiftField());
        ASSERT_TRUE(RunUntil([&] { return testgui::IsShown(shift); }));
        ASSERT_TRUE(RealTypeInto(shift, "150"));
        ResetBells();
        ASSERT_TRUE(RealClick(ButtonLabelled(dialog, button)));
        ASSERT_TRUE(RunUntil([&] { return BellCount() > 0; }));
        RunFor(200);
        EXPECT_EQ(FieldText(window->GetVectorShiftField()), "0");
        EXPECT_TRUE(IsPoppedUp(dialog));
        EXPECT_EQ(TotalTargets(window->GetWorkingCopy()), 0);
        ASSERT_TRUE(RealClick(ButtonLabelled(dialog, button)));
        ASSERT_TRUE(RunUntil([&] { return TotalTargets(window->GetWorkingCopy()) == 8; }));
        for (int i = 0; i < 8; i++)
            EXPECT_EQ(Targets(window->GetWorkingCopy(), i, 0), std::to_string(i) + ",0 ");
        EXPECT_EQ(IsPoppedUp(dialog), std::string(button) == "Apply");
        if (IsPoppedUp(dialog)) Click(ButtonLabelled(dialog, "Cancel"));
        // The second round makes the same connections again, which adds none.
        Click(ButtonLabelled(window->GetShell(), "Cancel"));
        window = Open();
        ASSERT_NE(window, nullptr);
        dialog = window->GetVectorShell();
    }
}

// Planes far wider than a window can be, on both sides: the last transmitter is selected and the
// last receiver linked by a click once the scroll bars are at their far end.
TEST_F(APermModifyWindowTest, TheLastCellsOfTheWidestPlanesAreReachedOnBothSides) {
    Make(65536, 1, 65536, 1);
    APermModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    SetScaleZoom(window->GetZoomScale(), 150);
    for (const bool left : {true, false}) {
        SCOPED_TRACE(left ? "transmitter" : "receiver");
        Widget draw = left ? window->GetDrawL() : window->GetDrawR();
        ScrollToTopRight(draw);
        const ShownCell cell = CellOnScreen(draw, 1, window->GetZoom(), 65535, 0);
        EXPECT_TRUE(cell.seen) << cell.x << "," << cell.y;
        ASSERT_TRUE(RealClickAt(draw, cell.x + cell.width / 2, cell.y + cell.height / 2));
        const Matrix& view = left ? window->GetTransmitterView() : window->GetReceiverView();
        EXPECT_EQ(view(65535, 0), 1);
        EXPECT_GT(BlackPixels(draw, cell.x, cell.y, cell.width, cell.height), 0);
        EXPECT_EQ(LabelText(left ? window->GetPosLabelL() : window->GetPosLabelR()), "65535,0");
    }
}
