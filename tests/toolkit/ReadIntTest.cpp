// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "toolkit/ReadInt.h"

#include "ToolkitDisplay.h"

#include <X11/Shell.h>
#include <X11/keysym.h>
#include <Xm/ArrowB.h>
#include <Xm/Form.h>
#include <Xm/TextF.h>

#include <string>
#include <vector>

#include "tests/support/gui/FakeTimer.h"

namespace {

using testgui::FakeTimer;

// Fires the field's repeat timer as its time had come; false when none is pending.
bool FireRepeat() {
    if (FakeTimer::PendingCount() == 0) return false;
    EXPECT_EQ(FakeTimer::PendingCount(), 1u) << "one repeat timer at a time";
    return FakeTimer::Fire();
}

const ReadIntTimer kFakeRepeatTimer = {FakeTimer::Add, FakeTimer::Remove};

class ReadIntField : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Toolkit().display, nullptr) << "no X display";
        Watchdog(60);
        FakeTimer::Clear();
        SetReadIntTimer(&kFakeRepeatTimer);
        shell = XtVaCreatePopupShell("field_shell", topLevelShellWidgetClass, Toolkit().topLevel,
                                     XmNx, 0, XmNy, 0, nullptr);
        ResetBells();
    }

    void TearDown() override {
        if (shell != nullptr) {
            XtDestroyWidget(shell);
        }
        Flush();
        SetReadIntTimer(nullptr);
    }

    static bool RepeatPending() { return FakeTimer::PendingCount() > 0; }

    void Make(int32_t maxLength, int32_t value, int32_t min, int32_t max, int32_t divisor,
              bool commitIsStep = false) {
        form = CreateReadInt(shell, ReadIntOptions()
                                        .Size(6, maxLength)
                                        .Value(value)
                                        .Range(min, max)
                                        .DividingMax(divisor != 0)
                                        .OnActivate(Activated, this)
                                        .OnStep(Stepped, this)
                                        .OnCommit(commitIsStep ? Stepped : Committed, this));
        XtPopup(shell, XtGrabNone);
        Flush();
        text = ReadIntGetText(form);
        up = XtNameToWidget(form, "ReadInt_arrow_up");
        down = XtNameToWidget(form, "ReadInt_arrow_down");
    }

    std::string Text() const {
        char* value = XmTextFieldGetString(text);
        std::string s = value;
        XtFree(value);
        return s;
    }

    // Sets the text the way a selection paste over the whole text would.
    void Replace(const char* value) {
        XmTextFieldReplace(text, 0, XmTextFieldGetLastPosition(text), const_cast<char*>(value));
    }

    void Press(Widget arrow) {
        XEvent event = ButtonEvent(arrow, ButtonPress);
        CallAction(arrow, "Arm", &event);
    }

    void Release(Widget arrow) {
        XEvent event = ButtonEvent(arrow, ButtonRelease);
        CallAction(arrow, "Disarm", &event);
    }

    void Click(Widget arrow) {
        Press(arrow);
        Release(arrow);
    }

    void Type(const char* keys) {
        for (const char* k = keys; *k != '\0'; ++k) {
            XEvent event = KeyEvent(text, *k == '-' ? XK_minus : static_cast<KeySym>(*k));
            CallAction(text, "self-insert", &event);
        }
    }

    void MoveCursorTo(XmTextPosition position) { XmTextFieldSetInsertionPosition(text, position); }

    void LeaveFocus() {
        XEvent event = FocusEvent(text, FocusOut);
        CallAction(text, "focusOut", &event);
    }

    void PressReturn(KeySym key = XK_Return) {
        XEvent event = KeyEvent(text, key);
        CallAction(text, "activate", &event);
    }

    static void Activated(Widget w, XtPointer self, XtPointer call) {
        ReadIntField* t = static_cast<ReadIntField*>(self);
        EXPECT_EQ(w, t->form);
        ++t->activated;
        t->activateReason = static_cast<XmAnyCallbackStruct*>(call)->reason;
    }

    static void Stepped(Widget w, XtPointer self, XtPointer call) {
        ReadIntField* t = static_cast<ReadIntField*>(self);
        EXPECT_EQ(w, t->form);
        EXPECT_EQ(call, nullptr);
        ++t->steps;
    }

    static void Committed(Widget w, XtPointer self, XtPointer call) {
        ReadIntField* t = static_cast<ReadIntField*>(self);
        EXPECT_EQ(w, t->form);
        EXPECT_EQ(call, nullptr);
        ++t->committed;
    }

    Widget shell = nullptr;
    Widget form = nullptr;
    Widget text = nullptr;
    Widget up = nullptr;
    Widget down = nullptr;
    int activated = 0;
    int activateReason = 0;
    int committed = 0;
    size_t steps = 0;
};

XtPointer UserData(Widget w) {
    XtPointer data = nullptr;
    XtVaGetValues(w, XmNuserData, &data, nullptr);
    return data;
}

TEST_F(ReadIntField, BuildsNamedWidgetsAroundTheText) {
    Make(4, -12, -100, 100, 0);
    EXPECT_STREQ(XtName(form), "ReadInt");
    EXPECT_TRUE(XmIsForm(form));
    EXPECT_TRUE(XtIsManaged(form));
    EXPECT_STREQ(XtName(text), "Integer_Text");
    EXPECT_TRUE(XmIsTextField(text));
    EXPECT_EQ(UserData(form), text);
    EXPECT_EQ(Text(), "-12");
    short columns = 0;
    int maxLength = 0;
    Boolean verifyBell = True;
    Widget rightOfText = nullptr;
    XtVaGetValues(text, XmNcolumns, &columns, XmNmaxLength, &maxLength, XmNverifyBell, &verifyBell,
                  XmNrightWidget, &rightOfText, nullptr);
    EXPECT_EQ(columns, 6);
    EXPECT_EQ(maxLength, 4);
    EXPECT_FALSE(verifyBell);
    EXPECT_EQ(rightOfText, up);

    ASSERT_NE(up, nullptr);
    ASSERT_NE(down, nullptr);
    unsigned char upDirection = 0;
    unsigned char downDirection = 0;
    Boolean upTraversal = True;
    Boolean downTraversal = True;
    Widget rightOfUp = nullptr;
    unsigned char downRight = 0;
    XtVaGetValues(up, XmNarrowDirection, &upDirection, XmNtraversalOn, &upTraversal, XmNrightWidget,
                  &rightOfUp, nullptr);
    XtVaGetValues(down, XmNarrowDirection, &downDirection, XmNtraversalOn, &downTraversal,
                  XmNrightAttachment, &downRight, nullptr);
    EXPECT_EQ(upDirection, XmARROW_UP);
    EXPECT_EQ(downDirection, XmARROW_DOWN);
    EXPECT_FALSE(upTraversal);
    EXPECT_FALSE(downTraversal);
    EXPECT_EQ(rightOfUp, down);
    EXPECT_EQ(downRight, XmATTACH_FORM);
    EXPECT_EQ(UserData(up), text);
    EXPECT_EQ(UserData(down), text);

    // The arrows sit centred on the text.
    Dimension textHeight = 0;
    Dimension arrowHeight = 0;
    int offset = -1;
    XtVaGetValues(text, XmNheight, &textHeight, nullptr);
    XtVaGetValues(up, XmNheight, &arrowHeight, XmNbottomOffset, &offset, nullptr);
    EXPECT_EQ(offset, textHeight > arrowHeight ? (textHeight - arrowHeight) / 2 : 0);
}

TEST_F(ReadIntField, TypingTakesDigitsAndRingsForOthers) {
    Make(6, 1, 0, 99999, 0);
    MoveCursorTo(1);
    Type("2");
    EXPECT_EQ(Text(), "12");
    EXPECT_EQ(BellCount(), 0);
    Type("a");
    EXPECT_EQ(Text(), "12");
    EXPECT_EQ(BellCount(), 1);
    EXPECT_EQ(LastBellVolume(), 30);
    MoveCursorTo(0);
    Type("-"); // min is 0: no sign
    EXPECT_EQ(Text(), "12");
    EXPECT_EQ(BellCount(), 2);
}

TEST_F(ReadIntField, TypingTakesASignOnlyAtTheStartWhenMinIsNegative) {
    Make(6, 12, -50, 50, 0);
    MoveCursorTo(1);
    Type("-");
    EXPECT_EQ(Text(), "12");
    EXPECT_EQ(BellCount(), 1);
    MoveCursorTo(0);
    Type("-");
    EXPECT_EQ(Text(), "-12");
    EXPECT_EQ(BellCount(), 1);
}

TEST_F(ReadIntField, TypingStopsAtMaxLength) {
    Make(4, 0, 0, 65536, 0);
    Replace("");
    Type("65536");
    EXPECT_EQ(Text(), "6553");
}

TEST_F(ReadIntField, ArrowStepsOnceAndCommitsOnRelease) {
    Make(3, 50, 1, 100, 0);
    Click(up);
    EXPECT_EQ(Text(), "51");
    EXPECT_EQ(steps, 1u);
    EXPECT_EQ(committed, 1);
    Click(down);
    Click(down);
    EXPECT_EQ(Text(), "49");
    EXPECT_EQ(steps, 3u);
    EXPECT_EQ(committed, 3);
    EXPECT_EQ(BellCount(), 0);
    EXPECT_FALSE(RepeatPending()); // released: nothing repeats
}

TEST_F(ReadIntField, ReleaseDoesNotCommitTwiceWhenCommitIsTheStepCallback) {
    Make(3, 50, 1, 100, 0, true);
    Click(up);
    EXPECT_EQ(steps, 1u);
    EXPECT_EQ(committed, 0);
}

struct ArrowCase {
    int32_t min;
    int32_t max;
    int32_t maxLength;
    int32_t divisor;
    const char* text;
    bool up;
    const char* shown;
    int bells;
    size_t steps;
};

const ArrowCase kArrows[] = {
    {1, 100, 3, 0, "100", true, "100", 1, 0},  // at the limit
    {1, 100, 2, 0, "99", true, "99", 0, 0},    // "100" does not fit: silently nothing
    {2, 100, 3, 0, "2", false, "2", 1, 0},     // at the lower limit
    {1, 100, 3, 0, "150", false, "100", 1, 0}, // beyond a limit: clamped onto it
    {1, 100, 3, 0, "x", true, "7", 1, 0},      // no number: the fallback value
    {1, 12, 2, 1, "4", true, "6", 0, 1},       // next divisor up
    {1, 12, 2, 1, "6", false, "4", 0, 1},      // next divisor down
    {5, 14, 2, 1, "7", false, "7", 1, 0},      // no divisor of 14 in 5..6
};

TEST_F(ReadIntField, ArrowRefusesAtLimitsWithTheBellAndFollowsTheDivisorRule) {
    for (const ArrowCase& c : kArrows) {
        SCOPED_TRACE(std::string(c.text) + (c.up ? " up" : " down"));
        if (form != nullptr) {
            XtDestroyWidget(form);
        }
        steps = 0;
        ResetBells();
        Make(c.maxLength, 7, c.min, c.max, c.divisor);
        Replace(c.text);
        Press(c.up ? up : down);
        EXPECT_EQ(Text(), c.shown);
        EXPECT_EQ(BellCount(), c.bells);
        EXPECT_EQ(steps, c.steps);
        if (c.bells > 0) {
            EXPECT_EQ(LastBellVolume(), 30);
        }
        EXPECT_EQ(RepeatPending(), c.steps > 0); // a refused step never repeats
        Release(c.up ? up : down);
    }
}

TEST_F(ReadIntField, HeldArrowRepeatsAfter300MsThenEvery80Ms) {
    Make(4, 0, 0, 1000, 0);
    Press(up);
    EXPECT_EQ(steps, 1u);
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(FireRepeat());
    EXPECT_EQ(steps, 5u);
    EXPECT_EQ(FakeTimer::AskedDelays(), (std::vector<unsigned long>{300, 80, 80, 80, 80}));
    EXPECT_EQ(Text(), "5");
    Release(up);
    EXPECT_FALSE(RepeatPending());
    EXPECT_EQ(steps, 5u);
}

TEST_F(ReadIntField, RepeatEndsAtTheLimitWithOneBell) {
    Make(4, 0, 0, 3, 0);
    Press(up);
    for (int i = 0; i < 10 && FireRepeat(); ++i) {
    }
    EXPECT_FALSE(RepeatPending());
    EXPECT_EQ(Text(), "3");
    EXPECT_EQ(steps, 3u);
    EXPECT_EQ(BellCount(), 1);
    Release(up);
}

TEST_F(ReadIntField, DestroyedWhileRepeatingStopsTheTimer) {
    Make(4, 0, 0, 1000, 0);
    Press(up);
    ASSERT_TRUE(RepeatPending());
    XtDestroyWidget(shell);
    shell = nullptr;
    EXPECT_FALSE(RepeatPending());
    EXPECT_EQ(steps, 1u);
}

} // namespace
