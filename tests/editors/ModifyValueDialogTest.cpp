// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/ModifyValueDialog.h"

#include <X11/keysym.h>
#include <Xm/MwmUtil.h>
#include <Xm/PushB.h>
#include <Xm/Xm.h>

#include "EditorsTestSupport.h"
#include "editors/NumberDialogParts.h"
#include "toolkit/ReadInt.h"

namespace {

struct Answer {
    int calls = 0;
    int cancelled = -1;
    int value = -1;
};

void Record(int cancelled, int value, void* client) {
    Answer* answer = static_cast<Answer*>(client);
    answer->calls++;
    answer->cancelled = cancelled;
    answer->value = value;
}

class ModifyValueDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
        ResetBells();
    }
    ModifyValueDialog* Open(int value, int min, int max, Widget parent = nullptr) {
        dialog =
            new ModifyValueDialog(parent != nullptr ? parent : Editors().topLevel, "Set Clock",
                                  "Clock:\n(0 means no clock)", value, min, max, Record, &answer);
        shell = dialog->GetShell();
        text = ReadIntGetText(dialog->GetField());
        Flush();
        return dialog;
    }
    bool Gone() { return !IsLivePopup(Editors().topLevel, shell); }

    Answer answer;
    ModifyValueDialog* dialog = nullptr;
    Widget shell = nullptr;
    Widget text = nullptr;
};

} // namespace

struct CharacterCase {
    int32_t max;
    int16_t characters;
};

TEST(ModifyValueDialog, FieldWidthIsTheDigitsOfTheMaximum) {
    const CharacterCase cases[] = {{999999, 6}, {65536, 5}, {999, 3}, {1, 1}, {9, 1}, {10, 2}};
    for (const CharacterCase& c : cases) {
        SCOPED_TRACE(c.max);
        EXPECT_EQ(FieldCharacters(c.max), c.characters);
    }
}

TEST_F(ModifyValueDialogTest, IsAModalFixedSizeShellWithALabelOfLines) {
    Open(3, 0, 999999);
    EXPECT_STREQ(XtName(shell), "Modify");
    char* title = nullptr;
    int decorations = 0, functions = 0, inputMode = 0;
    unsigned char deleteResponse = 0;
    XtVaGetValues(shell, XmNtitle, &title, XmNmwmDecorations, &decorations, XmNmwmFunctions,
                  &functions, XmNmwmInputMode, &inputMode, XmNdeleteResponse, &deleteResponse,
                  nullptr);
    EXPECT_STREQ(title, "Set Clock");
    EXPECT_EQ(decorations, 18);
    EXPECT_EQ(functions, 36);
    EXPECT_EQ(inputMode, MWM_INPUT_PRIMARY_APPLICATION_MODAL);
    EXPECT_EQ(deleteResponse, XmDO_NOTHING);
    EXPECT_EQ(LabelText(Child(shell, "*label1")), "Clock:\n(0 means no clock)");
    short columns = 0;
    int maxLength = 0;
    XtVaGetValues(text, XmNcolumns, &columns, XmNmaxLength, &maxLength, nullptr);
    EXPECT_EQ(columns, 6);
    EXPECT_EQ(maxLength, 6);
    EXPECT_EQ(GetText(text), "3");
    Dimension width = 0, height = 0;
    int minWidth = 0, maxWidth = 0, minHeight = 0, maxHeight = 0;
    XtVaGetValues(shell, XmNwidth, &width, XmNheight, &height, XmNminWidth, &minWidth, XmNmaxWidth,
                  &maxWidth, XmNminHeight, &minHeight, XmNmaxHeight, &maxHeight, nullptr);
    EXPECT_EQ(minWidth, width);
    EXPECT_EQ(maxWidth, width);
    EXPECT_EQ(minHeight, height);
    EXPECT_EQ(maxHeight, height);
    for (const char* path :
         {"form", "form.frame.rowcolumn1", "form.Helpseparator", "form.action_area"}) {
        EXPECT_NE(Child(shell, path), nullptr) << path;
    }
    EXPECT_NE(ButtonLabelled(shell, "OK"), nullptr);
    EXPECT_NE(ButtonLabelled(shell, "Cancel"), nullptr);
    dialog->Cancel();
    Flush();
}

TEST_F(ModifyValueDialogTest, OkWithAValidValueAnswersOnceAndGoes) {
    Open(5, 0, 999999);
    SetText(text, "42");
    Click(ButtonLabelled(shell, "OK"));
    Flush();
    EXPECT_EQ(answer.calls, 1);
    EXPECT_EQ(answer.cancelled, 0);
    EXPECT_EQ(answer.value, 42);
    EXPECT_TRUE(Gone());
}

TEST_F(ModifyValueDialogTest, OkBelowTheMinimumKeepsTheDialogSilently) {
    Open(0, 1, 999999);
    Click(ButtonLabelled(shell, "OK"));
    Flush();
    EXPECT_EQ(answer.calls, 0);
    EXPECT_EQ(BellCount(), 0);
    EXPECT_FALSE(Gone());
    SetText(text, "1");
    Click(ButtonLabelled(shell, "OK"));
    Flush();
    EXPECT_EQ(answer.calls, 1);
    EXPECT_EQ(answer.value, 1);
}

TEST_F(ModifyValueDialogTest, ReturnTriggersOkExactlyOnce) {
    Open(7, 0, 999);
    PressReturn(text);
    Flush();
    EXPECT_EQ(answer.calls, 1);
    EXPECT_EQ(answer.cancelled, 0);
    EXPECT_EQ(answer.value, 7);
    EXPECT_TRUE(Gone());
}

TEST_F(ModifyValueDialogTest, CancelAndWindowCloseAnswerCancelledOnce) {
    for (bool windowManager : {false, true}) {
        SCOPED_TRACE(windowManager);
        answer = Answer();
        Open(9, 0, 999);
        if (windowManager) {
            SendClose(shell);
        } else {
            Click(ButtonLabelled(shell, "Cancel"));
        }
        Flush();
        EXPECT_EQ(answer.calls, 1);
        EXPECT_EQ(answer.cancelled, 1);
        EXPECT_EQ(answer.value, 0);
        EXPECT_TRUE(Gone());
    }
}

TEST_F(ModifyValueDialogTest, GoesSilentlyWithItsParent) {
    Widget parent = XtVaCreatePopupShell("parent", topLevelShellWidgetClass, Editors().topLevel,
                                         XmNwidth, 100, XmNheight, 100, nullptr);
    XtRealizeWidget(parent);
    Open(1, 0, 999, parent);
    XtDestroyWidget(parent);
    Flush();
    EXPECT_EQ(answer.calls, 0); // no call into an owner that is going
}

TEST_F(ModifyValueDialogTest, ACallbackThatDestroysTheParentIsSafe) {
    Widget parent = XtVaCreatePopupShell("parent", topLevelShellWidgetClass, Editors().topLevel,
                                         XmNwidth, 100, XmNheight, 100, nullptr);
    XtRealizeWidget(parent);
    struct Owner {
        Widget parent;
        int calls = 0;
    } owner{parent};
    ModifyValueDialog* d = new ModifyValueDialog(
        parent, "Set Time", "Time:", 2, 0, 999,
        [](int, int, void* client) {
            Owner* o = static_cast<Owner*>(client);
            o->calls++;
            XtDestroyWidget(o->parent);
        },
        &owner);
    d->Cancel();
    Flush();
    EXPECT_EQ(owner.calls, 1);
}

TEST_F(ModifyValueDialogTest, DeletingItAnswersNothing) {
    Open(1, 0, 999);
    delete dialog;
    Flush();
    EXPECT_EQ(answer.calls, 0);
    EXPECT_TRUE(Gone());
}

TEST_F(ModifyValueDialogTest, TwoActivationsInOneDispatchAnswerOnce) {
    Open(7, 0, 999);
    RunInDispatch([&] {
        Widget ok = ButtonLabelled(shell, "OK");
        XmPushButtonCallbackStruct call{};
        call.reason = XmCR_ACTIVATE;
        XtCallCallbacks(ok, XmNactivateCallback, &call);
        XtCallCallbacks(ok, XmNactivateCallback, &call);
    });
    EXPECT_EQ(answer.calls, 1);
    EXPECT_TRUE(Gone());
}

TEST_F(ModifyValueDialogTest, ReturnKeyFromTheServerAnswersOnce) {
    Open(8, 0, 999);
    XmProcessTraversal(text, XmTRAVERSE_CURRENT);
    Flush();
    XEvent event{};
    event.xkey.type = KeyPress;
    event.xkey.display = XtDisplay(text);
    event.xkey.window = XtWindow(text);
    event.xkey.root = RootWindowOfScreen(XtScreen(text));
    event.xkey.keycode = XKeysymToKeycode(XtDisplay(text), XK_Return);
    event.xkey.same_screen = True;
    XSendEvent(XtDisplay(text), XtWindow(text), True, KeyPressMask, &event);
    RunUntil([&] { return answer.calls > 0; }, 1000);
    Flush();
    EXPECT_EQ(answer.calls, 1);
    EXPECT_EQ(answer.value, 8);
}

// Leaving the field for OK with the mouse shows the fallback: that press is refused, and only
// the next one takes what is shown. A valid typed value is taken by the first press.
TEST_F(ModifyValueDialogTest, MouseOkRightAfterTheFieldCorrectedItselfIsRefusedOnce) {
    struct Case {
        const char* typed;
        int pressesTaken; // the press that answers
        int value;
    };
    const Case cases[] = {{"0", 2, 10}, {"", 2, 10}, {"7", 1, 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        answer = Answer();
        dialog = new ModifyValueDialog(Editors().topLevel, "Set Time", "Time:", 10, 1, 999999,
                                       Record, &answer);
        shell = dialog->GetShell();
        text = ReadIntGetText(dialog->GetField());
        Flush();
        ASSERT_TRUE(RunUntil([&] { return testgui::IsShown(text); }));
        ASSERT_TRUE(RealTypeInto(text, c.typed));
        Widget ok = ButtonLabelled(shell, "OK");
        ResetBells();
        ASSERT_TRUE(RealClick(ok));
        if (c.pressesTaken == 2) {
            ASSERT_TRUE(RunUntil([&] { return BellCount() > 0; }));
            RunFor(200);
            EXPECT_EQ(answer.calls, 0);
            EXPECT_FALSE(Gone());
            EXPECT_EQ(GetText(text), "10");
            ASSERT_TRUE(RealClick(ok));
        }
        ASSERT_TRUE(RunUntil([&] { return answer.calls == 1; }));
        EXPECT_EQ(answer.cancelled, 0);
        EXPECT_EQ(answer.value, c.value);
        EXPECT_TRUE(Gone());
    }
}
