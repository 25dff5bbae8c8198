// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/ARuleModifyWindow.h"

#include <X11/Shell.h>
#include <Xm/Scale.h>
#include <Xm/Separator.h>
#include <Xm/Xm.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "AMaskModifyWindowTest.h"
#include "EditorsTestSupport.h"
#include "editors/ModifyTwoValuesDialog.h"
#include "model/elements/ARuleElem.h"
#include "model/format/ParseError.h"
#include "toolkit/ReadInt.h"

namespace {

const int kWidth = 10; // the plane, and so the largest pattern
const int kHeight = 8;

class ARuleModifyWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
        maker = std::make_unique<MakerScope>(kRule, ARuleModifyWindow::Make);
        element = std::make_unique<ARuleElem>(nullptr, 0, 0);
        element->SetInputPlaneSize(0, kWidth, kHeight);
        element->SetOutputPlaneSize(0, kWidth, kHeight);
        element->CreateData();
    }
    void TearDown() override {
        element.reset();
        maker.reset();
        Flush();
    }
    // Gives the element a 3 x 2 search pattern with cell (0, 0) and an empty substitution.
    void Define() {
        auto search = std::make_unique<Matrix>(3, 2);
        search->SetBit(0, 0, 1);
        element->GetData().SetSearch(std::move(search));
        element->GetData().SetSubstitution(std::make_unique<Matrix>(3, 2));
    }
    ARuleModifyWindow* Open() {
        element->OpenModifyWindow();
        Flush();
        return dynamic_cast<ARuleModifyWindow*>(element->GetModifyWindow());
    }
    // Answers the open dimension dialog with OK, or Cancel when x is 0.
    void Answer(ARuleModifyWindow* window, int x, int y) {
        ModifyTwoValuesDialog* dialog = window->GetDimensionDialog();
        ASSERT_NE(dialog, nullptr);
        if (x == 0) {
            Click(ButtonLabelled(dialog->GetShell(), "Cancel"));
            return;
        }
        SetText(ReadIntGetText(dialog->GetField1()), std::to_string(x).c_str());
        SetText(ReadIntGetText(dialog->GetField2()), std::to_string(y).c_str());
        Click(ButtonLabelled(dialog->GetShell(), "OK"));
    }
    void PressCell(ARuleModifyWindow* window, bool left, int x, int y) {
        const Matrix* pattern = left ? window->GetWorkingCopy().GetSearch()
                                     : window->GetWorkingCopy().GetSubstitution();
        int px = 0, py = 0;
        CellPixel(pattern->GetDimY(), window->GetZoom(), x, y, &px, &py);
        SendButtonPress(window->GetDrawArea(left), px, py);
    }
    void MoveToCell(ARuleModifyWindow* window, bool left, int x, int y, unsigned int state) {
        const Matrix* pattern = left ? window->GetWorkingCopy().GetSearch()
                                     : window->GetWorkingCopy().GetSubstitution();
        int px = 0, py = 0;
        CellPixel(pattern->GetDimY(), window->GetZoom(), x, y, &px, &py);
        SendMotionHeld(window->GetDrawArea(left), px, py, state);
    }
    AMaskModifyWindow* OpenMask(ARuleModifyWindow* window) {
        Click(ButtonLabelled(window->GetShell(), "Mask"));
        return window->GetMaskWindow();
    }
    void PressMaskCell(AMaskModifyWindow* mask, int x, int y) {
        int px = 0, py = 0;
        CellPixel(kHeight, mask->GetZoom(), x, y, &px, &py);
        SendButtonPress(mask->GetDrawArea(), px, py);
    }
    Dimension AreaWidth(ARuleModifyWindow* window, bool left) {
        Dimension width = 0;
        XtVaGetValues(window->GetDrawArea(left), XmNwidth, &width, nullptr);
        return width;
    }
    const Matrix& ElementMask() { return element->GetData().GetMask()->GetMask(); }

    std::unique_ptr<MakerScope> maker;
    std::unique_ptr<ARuleElem> element;
};

std::string Title(Widget shell) {
    char* title = nullptr;
    XtVaGetValues(shell, XmNtitle, &title, nullptr);
    return title != nullptr ? title : "";
}

// The top-level window of the shell lies above the other's among the root's children.
bool StacksAbove(Widget upper, Widget lower) {
    Display* display = XtDisplay(upper);
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
        return false;
    }
    int upperIndex = -1, lowerIndex = -1; // bottom first
    for (unsigned int i = 0; i < count; i++) {
        if (children[i] == XtWindow(upper)) upperIndex = static_cast<int>(i);
        if (children[i] == XtWindow(lower)) lowerIndex = static_cast<int>(i);
    }
    if (children != nullptr) XFree(children);
    return upperIndex >= 0 && lowerIndex >= 0 && upperIndex > lowerIndex;
}

} // namespace

TEST_F(ARuleModifyWindowTest, AnUndefinedRuleAsksForThePatternDimension) {
    ARuleModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    ModifyTwoValuesDialog* dialog = window->GetDimensionDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Title(dialog->GetShell()), "Pattern-Dimension");
    EXPECT_EQ(LabelText(Child(dialog->GetShell(), "*label1")), "X-Dimension:");
    EXPECT_EQ(LabelText(Child(dialog->GetShell(), "*label2")), "Y-Dimension:");
    EXPECT_EQ(GetText(ReadIntGetText(dialog->GetField1())), "0");
    // Missing patterns have drawing areas of two cells.
    EXPECT_EQ(AreaWidth(window, true), 2 * (window->GetZoom() / 4) + 21);
    EXPECT_EQ(AreaWidth(window, false), 2 * (window->GetZoom() / 4) + 21);
    // A refresh while it asks asks no second time but brings the question to the front.
    XLowerWindow(XtDisplay(dialog->GetShell()), XtWindow(dialog->GetShell()));
    Flush();
    ASSERT_FALSE(StacksAbove(dialog->GetShell(), window->GetShell()));
    window->RefreshModifyWindow();
    Flush();
    EXPECT_EQ(window->GetDimensionDialog(), dialog);
    EXPECT_TRUE(StacksAbove(dialog->GetShell(), window->GetShell()));
    // " Dimension " reads no missing pattern and opens no second question.
    Click(ButtonLabelled(window->GetShell(), " Dimension "));
    EXPECT_EQ(window->GetDimensionDialog(), dialog);
    EXPECT_EQ(PopupCount(window->GetShell()), 1);

    // Beyond the plane is refused: the dialog stays.
    SetText(ReadIntGetText(dialog->GetField1()), "11");
    SetText(ReadIntGetText(dialog->GetField2()), "2");
    Click(ButtonLabelled(dialog->GetShell(), "OK"));
    EXPECT_EQ(window->GetDimensionDialog(), dialog);

    // Cancelled while the patterns are missing, the window goes.
    Answer(window, 0, 0);
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);

    // Answered, it makes two empty patterns of that size in the copy.
    window = Open();
    Answer(window, 4, 3);
    EXPECT_EQ(window->GetDimensionDialog(), nullptr);
    const D_RuleElem& copy = window->GetWorkingCopy();
    ASSERT_NE(copy.GetSearch(), nullptr);
    ASSERT_NE(copy.GetSubstitution(), nullptr);
    EXPECT_EQ(*copy.GetSearch(), Matrix(4, 3));
    EXPECT_EQ(*copy.GetSubstitution(), Matrix(4, 3));
    EXPECT_EQ(AreaWidth(window, true), window->GetZoom() / 4 * 4 + 21);
    EXPECT_FALSE(element->IsDefined());
    Click(ButtonLabelled(window->GetShell(), "OK"));
    EXPECT_TRUE(element->IsDefined());
    EXPECT_TRUE(element->IsModified());
    EXPECT_EQ(element->GetData().GetSearch()->GetDimX(), 4);
}

TEST_F(ARuleModifyWindowTest, BuildsBothSidesAndTheButtons) {
    Define();
    ARuleModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetDimensionDialog(), nullptr);
    Widget shell = window->GetShell();
    EXPECT_EQ(Title(shell), "Modify RULE");
    for (const char* path :
         {"form.formL.helplabelL", "form.formL.pos_labelL", "form.formL.draw_windowL",
          "form.formR.helplabelR", "form.formR.pos_labelR", "form.formR.draw_windowR",
          "form.zoom-frame.zoom-form.zoom-scale", "form.button_frame.button_form.Separator",
          "form.action_area"}) {
        SCOPED_TRACE(path);
        EXPECT_NE(Child(shell, path), nullptr);
    }
    unsigned char separatorType = 0;
    XtVaGetValues(Child(shell, "form.button_frame.button_form.Separator"), XmNseparatorType,
                  &separatorType, nullptr);
    EXPECT_EQ(separatorType, 5);
    Widget buttons = Child(shell, "form.button_frame.button_form");
    Dimension widths[2] = {0, 0};
    XtVaGetValues(ButtonLabelled(buttons, " Dimension "), XmNwidth, &widths[0], nullptr);
    XtVaGetValues(ButtonLabelled(buttons, "Unset All"), XmNwidth, &widths[1], nullptr);
    EXPECT_EQ(widths[0], widths[1]);
    Position maskX = 0, dimensionX = 0;
    XtVaGetValues(ButtonLabelled(buttons, "Mask"), XmNx, &maskX, nullptr);
    XtVaGetValues(ButtonLabelled(buttons, " Dimension "), XmNx, &dimensionX, nullptr);
    EXPECT_GT(maskX, dimensionX);
    Dimension width = 0, height = 0;
    XtVaGetValues(shell, XmNwidth, &width, XmNheight, &height, nullptr);
    EXPECT_EQ(width, 510); // the RULE default
    EXPECT_EQ(height, 414);
}

TEST_F(ARuleModifyWindowTest, EachSideTogglesItsOwnPattern) {
    Define();
    ARuleModifyWindow* window = Open();
    const D_RuleElem& copy = window->GetWorkingCopy();
    PressCell(window, true, 2, 1);
    MoveToCell(window, true, 1, 1, Button1Mask);
    EXPECT_EQ(LabelText(window->GetPosLabel(true)), "1,1");
    EXPECT_EQ(LabelText(window->GetPosLabel(false)), " ");
    EXPECT_EQ((*copy.GetSearch())(2, 1), 1);
    EXPECT_EQ((*copy.GetSearch())(1, 1), 1);
    EXPECT_EQ(*copy.GetSubstitution(), Matrix(3, 2));

    // The right side keeps its own last cell: the same coordinates are new there.
    PressCell(window, false, 1, 1);
    MoveToCell(window, false, 1, 1, Button1Mask);
    MoveToCell(window, false, 0, 1, Button1Mask);
    EXPECT_EQ(LabelText(window->GetPosLabel(false)), "0,1");
    EXPECT_EQ((*copy.GetSubstitution())(1, 1), 1);
    EXPECT_EQ((*copy.GetSubstitution())(0, 1), 1);
    SendCrossing(window->GetDrawArea(false), LeaveNotify, 0, 0);
    EXPECT_EQ(LabelText(window->GetPosLabel(false)), " ");
    SaveScreenshot(window->GetShell(), "rule-editor");

    Click(ButtonLabelled(window->GetShell(), "Apply"));
    EXPECT_EQ(*element->GetData().GetSearch(), *copy.GetSearch());
    EXPECT_EQ(*element->GetData().GetSubstitution(), *copy.GetSubstitution());
    EXPECT_TRUE(element->IsModified());
    EXPECT_EQ(element->GetModifyWindow(), window);
}

TEST_F(ARuleModifyWindowTest, SetAndUnsetAllWorkOnOneSide) {
    Define();
    ARuleModifyWindow* window = Open();
    const D_RuleElem& copy = window->GetWorkingCopy();
    Widget buttons = Child(window->GetShell(), "form.button_frame.button_form");
    WidgetList children = nullptr;
    XtVaGetValues(buttons, XmNchildren, &children, nullptr);
    // Created in order: search Set All, Unset All, substitution Set All, Unset All.
    Click(children[2]);
    EXPECT_EQ(*copy.GetSubstitution(), Matrix(3, 2, 1));
    EXPECT_EQ((*copy.GetSearch())(1, 0), 0);
    Click(children[0]);
    EXPECT_EQ(*copy.GetSearch(), Matrix(3, 2, 1));
    Click(children[1]);
    EXPECT_EQ(*copy.GetSearch(), Matrix(3, 2));
    EXPECT_EQ(*copy.GetSubstitution(), Matrix(3, 2, 1));
    Click(children[3]);
    EXPECT_EQ(*copy.GetSubstitution(), Matrix(3, 2));
}

TEST_F(ARuleModifyWindowTest, ANewDimensionKeepsTheSharedCells) {
    Define();
    element->GetData().GetSubstitution()->SetBit(2, 1, 1);
    ARuleModifyWindow* window = Open();
    XmScaleSetValue(window->GetZoomScale(), 150);
    window->ZoomChanged(150);
    EXPECT_EQ(AreaWidth(window, true), 37 * 3 + 21);

    Click(ButtonLabelled(window->GetShell(), " Dimension "));
    ModifyTwoValuesDialog* dialog = window->GetDimensionDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Title(dialog->GetShell()), "Alter Pattern-Dimension");
    EXPECT_EQ(GetText(ReadIntGetText(dialog->GetField1())), "3");
    EXPECT_EQ(GetText(ReadIntGetText(dialog->GetField2())), "2");
    // A cancelled change changes nothing.
    Answer(window, 0, 0);
    EXPECT_EQ(element->GetModifyWindow(), window);
    EXPECT_EQ(window->GetWorkingCopy().GetSearch()->GetDimX(), 3);

    Click(ButtonLabelled(window->GetShell(), " Dimension "));
    Answer(window, 10, 8);
    const D_RuleElem& copy = window->GetWorkingCopy();
    EXPECT_EQ(copy.GetSearch()->GetDimX(), 10);
    EXPECT_EQ(copy.GetSearch()->GetDimY(), 8);
    EXPECT_EQ((*copy.GetSearch())(0, 0), 1);
    EXPECT_EQ((*copy.GetSubstitution())(2, 1), 1);
    EXPECT_EQ(copy.GetMask()->GetMask().GetDimX(), kWidth);
    // The zoom is fitted anew, to at most 100.
    EXPECT_LE(window->GetZoom(), 100);
    int value = 0;
    XtVaGetValues(window->GetZoomScale(), XmNvalue, &value, nullptr);
    EXPECT_EQ(value, window->GetZoom());
    EXPECT_EQ(AreaWidth(window, false), window->GetZoom() / 4 * 10 + 21);

    Click(ButtonLabelled(window->GetShell(), " Dimension "));
    Answer(window, 1, 1);
    EXPECT_EQ(*copy.GetSearch(), Matrix(1, 1, 1));
    EXPECT_EQ(*copy.GetSubstitution(), Matrix(1, 1));
    EXPECT_EQ(copy.GetMask()->GetMask().GetDimY(), kHeight);
}

TEST_F(ARuleModifyWindowTest, MaskChangesReachTheElementOnlyThroughBothWindows) {
    Define();
    ARuleModifyWindow* window = Open();
    AMaskModifyWindow* mask = OpenMask(window);
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(OpenMask(window), mask); // raised, not a second one
    EXPECT_EQ(Title(mask->GetShell()), "Modify RULE");
    Dimension width = 0, height = 0;
    XtVaGetValues(mask->GetShell(), XmNwidth, &width, XmNheight, &height, nullptr);
    EXPECT_EQ(width, 300);
    EXPECT_EQ(height, 460);

    // OK in the mask window, then Cancel in the RULE window: the element's mask is as it was.
    PressMaskCell(mask, 4, 4);
    Click(ButtonLabelled(mask->GetShell(), "OK"));
    EXPECT_EQ(window->GetMaskWindow(), nullptr);
    EXPECT_EQ(window->GetWorkingCopy().GetMask()->GetMask()(4, 4), 0);
    EXPECT_EQ(ElementMask()(4, 4), 1);
    EXPECT_TRUE(element->IsModified());
    Click(ButtonLabelled(window->GetShell(), "Cancel"));
    EXPECT_EQ(ElementMask()(4, 4), 1);

    // Apply in the mask window, then OK in the RULE window: it is there.
    window = Open();
    mask = OpenMask(window);
    PressMaskCell(mask, 9, 0);
    Click(ButtonLabelled(mask->GetShell(), "Apply"));
    Click(ButtonLabelled(window->GetShell(), "OK"));
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_EQ(ElementMask()(9, 0), 0);
    EXPECT_EQ(PopupCount(Editors().topLevel), 0); // the mask window went with it
}

TEST_F(ARuleModifyWindowTest, TheMaskWindowKeepsItsOwnSize) {
    Define();
    ARuleModifyWindow* window = Open();
    XtVaSetValues(window->GetShell(), XmNwidth, 530, XmNheight, 430, nullptr);
    AMaskModifyWindow* mask = OpenMask(window);
    XtVaSetValues(mask->GetShell(), XmNwidth, 320, XmNheight, 400, nullptr);
    Flush();
    SendClose(mask->GetShell());
    EXPECT_EQ(window->GetMaskWindow(), nullptr);
    int maskWidth = 0, maskHeight = 0;
    element->GetMaskWindowSize(maskWidth, maskHeight);
    EXPECT_EQ(maskWidth, 320);
    EXPECT_EQ(maskHeight, 400);
    mask = OpenMask(window);
    Dimension width = 0, height = 0;
    XtVaGetValues(mask->GetShell(), XmNwidth, &width, XmNheight, &height, nullptr);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 400);
    Click(ButtonLabelled(window->GetShell(), "Cancel"));
    int ruleWidth = 0, ruleHeight = 0;
    element->GetModifyWindowSize(ruleWidth, ruleHeight);
    EXPECT_EQ(ruleWidth, 530);
    EXPECT_EQ(ruleHeight, 430);
}

TEST_F(ARuleModifyWindowTest, TheMaskWindowShowsALoadedMatrixAtOnce) {
    RecordingHost host;
    Define();
    ARuleModifyWindow* window = Open();
    AMaskModifyWindow* mask = OpenMask(window);
    Click(ButtonLabelled(mask->GetShell(), " Load As Matrix "));
    ASSERT_EQ(host.files.size(), 1u);
    EXPECT_EQ(host.files[0].object, &mask->GetWorkingCopy().GetMask());
    std::string text = "MATRIX {\n  DIMENSION: (10,8)\n  DATA {\n";
    for (int row = 0; row < kHeight; row++)
        text += "    0000000000\n";
    text += "  }\n}\n";
    std::istringstream file(text);
    ClearParseError();
    ASSERT_EQ(host.files[0].object->Read(file, host.files[0].argument), 0);
    EXPECT_EQ(mask->GetWorkingCopy().GetMask(), Matrix(kWidth, kHeight));
    int px = 0, py = 0;
    CellPixel(kHeight, mask->GetZoom(), 0, 0, &px, &py);
    EXPECT_EQ(BlackPixels(mask->GetDrawArea(), px - 2, py - 2, 4, 4), 0);
    // Only the mask window's copy took it.
    EXPECT_EQ(window->GetWorkingCopy().GetMask()->GetMask(), Matrix(kWidth, kHeight, 1));
}

TEST_F(ARuleModifyWindowTest, ClosingInAnyOrderLeavesNothingBehind) {
    // The window-manager close while the dimension question is open takes the dialog along.
    ARuleModifyWindow* window = Open();
    ASSERT_NE(window->GetDimensionDialog(), nullptr);
    SendClose(window->GetShell());
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);

    Define();
    // The mask window first, then the RULE window.
    window = Open();
    AMaskModifyWindow* mask = OpenMask(window);
    SendClose(mask->GetShell());
    SendClose(window->GetShell());
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);

    // The RULE window first, with its mask window and a dimension dialog open.
    window = Open();
    OpenMask(window);
    Click(ButtonLabelled(window->GetShell(), " Dimension "));
    SendClose(window->GetShell());
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);

    // The element closes it (a new plane size).
    window = Open();
    OpenMask(window);
    RunInDispatch([&] { element->DimensionChanged(); });
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);

    // The element is deleted with all of them open.
    Define();
    window = Open();
    OpenMask(window);
    Click(ButtonLabelled(window->GetShell(), " Dimension "));
    RunInDispatch([&] { element.reset(); });
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);
}

TEST_F(ARuleModifyWindowTest, GoesWithTheShellItSitsOn) {
    for (bool defined : {false, true}) {
        SCOPED_TRACE(defined);
        Widget owner = XtVaCreatePopupShell("owner", topLevelShellWidgetClass, Editors().topLevel,
                                            XmNwidth, 100, XmNheight, 100, nullptr);
        XtRealizeWidget(owner);
        Host().ownerShell = owner;
        if (defined) Define();
        ARuleModifyWindow* window = Open();
        if (defined) {
            OpenMask(window);
            Click(ButtonLabelled(window->GetShell(), " Dimension "));
        }
        ASSERT_NE(window->GetDimensionDialog(), nullptr);
        // The dialog and both windows go with it, whatever order their shells go in.
        RunInDispatch([&] { XtDestroyWidget(owner); });
        Host().ownerShell = nullptr;
        EXPECT_EQ(element->GetModifyWindow(), nullptr);
        EXPECT_EQ(PopupCount(Editors().topLevel), 0);
    }
}

// The mask window, its file dialog and a dimension question go with the RULE window, however it
// goes.
TEST_F(ARuleModifyWindowTest, AFileDialogOfTheMaskWindowGoesWithTheRuleWindow) {
    class Closer : public FileDialogCloser {
    public:
        Closer() { SetFileDialogCloser(this); }
        ~Closer() override { SetFileDialogCloser(nullptr); }
        void CloseFileDialog(const LoadSaveObject& gone) override { closed.push_back(&gone); }
        std::vector<const LoadSaveObject*> closed;
    };
    Define();
    for (const char* way : {"OK", "Cancel", "close", "element"}) {
        SCOPED_TRACE(way);
        RecordingHost host;
        Closer closer;
        ARuleModifyWindow* window = Open();
        AMaskModifyWindow* mask = OpenMask(window);
        Click(ButtonLabelled(mask->GetShell(), " Load As Matrix "));
        ASSERT_EQ(host.files.size(), 1u);
        const LoadSaveObject* object = host.files[0].object;
        // An open "Alter Pattern-Dimension" question goes too, without answering.
        Click(ButtonLabelled(window->GetShell(), " Dimension "));
        ASSERT_NE(window->GetDimensionDialog(), nullptr);
        if (std::string(way) == "close") {
            SendClose(window->GetShell());
        } else if (std::string(way) == "element") {
            element->CloseModifyWindow();
        } else {
            Click(ButtonLabelled(window->GetShell(), way));
        }
        EXPECT_EQ(element->GetModifyWindow(), nullptr);
        EXPECT_EQ(PopupCount(Editors().topLevel), 0);
        EXPECT_NE(std::find(closer.closed.begin(), closer.closed.end(), object),
                  closer.closed.end());
    }
}

// OK and Apply in the mask window with no cell changed leave the element unmodified; a changed
// cell marks it.
TEST_F(ARuleModifyWindowTest, TheMaskWindowMarksTheElementOnlyForAChange) {
    Define();
    ARuleModifyWindow* window = Open();
    AMaskModifyWindow* mask = OpenMask(window);
    ASSERT_NE(mask, nullptr);
    Click(ButtonLabelled(mask->GetShell(), "Apply"));
    EXPECT_FALSE(element->IsModified());
    Click(ButtonLabelled(mask->GetShell(), "OK"));
    EXPECT_EQ(window->GetMaskWindow(), nullptr);
    EXPECT_FALSE(element->IsModified());
    mask = OpenMask(window);
    ASSERT_NE(mask, nullptr);
    PressMaskCell(mask, 4, 4);
    Click(ButtonLabelled(mask->GetShell(), "OK"));
    EXPECT_TRUE(element->IsModified());
    Click(ButtonLabelled(window->GetShell(), "Cancel"));
}
