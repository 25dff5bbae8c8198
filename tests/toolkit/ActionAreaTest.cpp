// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "toolkit/ActionArea.h"

#include "ToolkitDisplay.h"

#include <X11/Shell.h>
#include <Xm/Form.h>
#include <Xm/PanedW.h>
#include <Xm/PushB.h>

#include <vector>

namespace {

class ActionAreaTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Toolkit().display, nullptr) << "no X display";
        Watchdog(60);
        shell = XtVaCreatePopupShell("area_shell", topLevelShellWidgetClass, Toolkit().topLevel,
                                     XmNx, 0, XmNy, 0, nullptr);
    }

    void TearDown() override {
        XtDestroyWidget(shell);
        Flush();
    }

    std::vector<Widget> Buttons(Widget form) {
        WidgetList children = nullptr;
        Cardinal count = 0;
        XtVaGetValues(form, XmNchildren, &children, XmNnumChildren, &count, nullptr);
        return std::vector<Widget>(children, children + count);
    }

    static void Pressed(Widget, XtPointer client, XtPointer) {
        pressed.push_back(static_cast<int>(reinterpret_cast<intptr_t>(client)));
    }

    static void Press(Widget button) {
        XEvent event = ButtonEvent(button, ButtonPress);
        CallAction(button, "ArmAndActivate", &event);
    }

    Widget shell = nullptr;
    static std::vector<int> pressed;
};

std::vector<int> ActionAreaTest::pressed;

struct Attachment {
    unsigned char left;
    int leftPosition;
    unsigned char right;
    int rightPosition;
};

Attachment AttachmentOf(Widget button) {
    Attachment a{};
    XtVaGetValues(button, XmNleftAttachment, &a.left, XmNleftPosition, &a.leftPosition,
                  XmNrightAttachment, &a.right, XmNrightPosition, &a.rightPosition, nullptr);
    return a;
}

TEST_F(ActionAreaTest, ThreeRowsLieOnTheirFractionPositions) {
    Widget parent =
        XtVaCreateManagedWidget("form", xmFormWidgetClass, shell, XmNwidth, 610, nullptr);
    const ActionAreaRow rows[] = {
        {"OK", Pressed, reinterpret_cast<XtPointer>(intptr_t{1})},
        {"Apply", Pressed, reinterpret_cast<XtPointer>(intptr_t{2})},
        {"Cancel", Pressed, reinterpret_cast<XtPointer>(intptr_t{3})},
    };
    Widget area = CreateActionArea(parent, rows, XtNumber(rows));
    XtVaSetValues(area, XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
                  nullptr);
    XtPopup(shell, XtGrabNone);
    Flush();

    EXPECT_STREQ(XtName(area), "action_area");
    EXPECT_TRUE(XtIsManaged(area));
    int fractionBase = 0;
    int leftOffset = 0;
    int rightOffset = 0;
    Dimension marginHeight = 0;
    Widget defaultButton = nullptr;
    XtVaGetValues(area, XmNfractionBase, &fractionBase, XmNleftOffset, &leftOffset, XmNrightOffset,
                  &rightOffset, XmNmarginHeight, &marginHeight, XmNdefaultButton, &defaultButton,
                  nullptr);
    EXPECT_EQ(fractionBase, 59);
    EXPECT_EQ(leftOffset, 10);
    EXPECT_EQ(rightOffset, 10);
    EXPECT_EQ(marginHeight, 5);

    const std::vector<Widget> buttons = Buttons(area);
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(defaultButton, buttons[0]);
    const Attachment expected[] = {
        {XmATTACH_FORM, 0, XmATTACH_POSITION, 19},
        {XmATTACH_POSITION, 20, XmATTACH_POSITION, 39},
        {XmATTACH_POSITION, 40, XmATTACH_FORM, 59},
    };
    Dimension areaWidth = 0;
    XtVaGetValues(area, XmNwidth, &areaWidth, nullptr);
    EXPECT_EQ(areaWidth, 590);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(XtName(buttons[i]), "ActionButton");
        EXPECT_TRUE(XmIsPushButton(buttons[i]));
        const Attachment a = AttachmentOf(buttons[i]);
        EXPECT_EQ(a.left, expected[i].left);
        EXPECT_EQ(a.right, expected[i].right);
        if (a.left == XmATTACH_POSITION) {
            EXPECT_EQ(a.leftPosition, expected[i].leftPosition);
        }
        if (a.right == XmATTACH_POSITION) {
            EXPECT_EQ(a.rightPosition, expected[i].rightPosition);
        }
        Dimension showAsDefault = 9;
        Dimension defaultShadow = 0;
        Position x = 0;
        Dimension width = 0;
        XtVaGetValues(buttons[i], XmNshowAsDefault, &showAsDefault, XmNdefaultButtonShadowThickness,
                      &defaultShadow, XmNx, &x, XmNwidth, &width, nullptr);
        EXPECT_EQ(showAsDefault != 0, i == 0);
        EXPECT_EQ(defaultShadow, 1);
        // 19 of every 20 units: the buttons are equally wide, one unit apart, edge to edge.
        const int left = i == 0 ? 0 : 20 * i * areaWidth / 59;
        const int right = i == 2 ? areaWidth : (20 * i + 19) * areaWidth / 59;
        EXPECT_NEAR(x, left, 1);
        EXPECT_NEAR(x + width, right, 1);
    }

    pressed.clear();
    Press(buttons[1]);
    Press(buttons[2]);
    EXPECT_EQ(pressed, (std::vector<int>{2, 3}));
}

TEST_F(ActionAreaTest, OneRowSpansTheFormAndIsTheDefault) {
    const ActionAreaRow rows[] = {{"Close", nullptr, nullptr}};
    Widget area = CreateActionArea(shell, rows, XtNumber(rows));
    XtPopup(shell, XtGrabNone);
    Flush();
    const std::vector<Widget> buttons = Buttons(area);
    ASSERT_EQ(buttons.size(), 1u);
    const Attachment a = AttachmentOf(buttons[0]);
    EXPECT_EQ(a.left, XmATTACH_FORM);
    EXPECT_EQ(a.right, XmATTACH_FORM);
    Widget defaultButton = nullptr;
    int fractionBase = 0;
    XtVaGetValues(area, XmNdefaultButton, &defaultButton, XmNfractionBase, &fractionBase, nullptr);
    EXPECT_EQ(defaultButton, buttons[0]);
    EXPECT_EQ(fractionBase, 19);
    pressed.clear();
    Press(buttons[0]); // no callback: nothing happens
    EXPECT_TRUE(pressed.empty());
}

TEST_F(ActionAreaTest, KeepsTheHeightOfOneButtonInAPanedWindow) {
    Widget paned = XtVaCreateManagedWidget("paned", xmPanedWindowWidgetClass, shell, nullptr);
    XtVaCreateManagedWidget("upper", xmFormWidgetClass, paned, XmNheight, 200, nullptr);
    const ActionAreaRow rows[] = {{"OK", nullptr, nullptr}, {"Cancel", nullptr, nullptr}};
    Widget area = CreateActionArea(paned, rows, XtNumber(rows));
    XtPopup(shell, XtGrabNone);
    Flush();
    Dimension paneMinimum = 0;
    Dimension paneMaximum = 0;
    XtVaGetValues(area, XmNpaneMinimum, &paneMinimum, XmNpaneMaximum, &paneMaximum, nullptr);
    Dimension buttonHeight = 0;
    XtVaGetValues(Buttons(area)[0], XmNheight, &buttonHeight, nullptr);
    EXPECT_EQ(paneMinimum, buttonHeight + 10);
    EXPECT_EQ(paneMaximum, buttonHeight + 10);
}

} // namespace
