// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "toolkit/MessageDialog.h"

#include "ToolkitDisplay.h"

#include <X11/keysym.h>
#include <Xm/MessageB.h>
#include <Xm/Protocols.h>
#include <Xm/Xm.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

enum Answer { kPressOk, kPressCancel, kPressHelp, kCloseWindow };

// Answers the message box under parent from inside its loop, once the box is up.
struct Reply {
    Widget parent;
    std::function<void(Widget box)> act;
};

Widget FindBox(Widget parent) {
    return XtNameToWidget(parent, "Dialog_popup.Dialog");
}

void ReplyNow(XtPointer client, XtIntervalId*) {
    Reply* reply = static_cast<Reply*>(client);
    Widget box = FindBox(reply->parent);
    if (box == nullptr || !XtIsRealized(box) || !testgui::IsShown(box)) {
        XtAppAddTimeOut(Toolkit().app, 10, ReplyNow, reply);
        return;
    }
    reply->act(box);
}

void ReplyLater(Reply* reply, unsigned long ms = 0) {
    XtAppAddTimeOut(Toolkit().app, ms, ReplyNow, reply);
}

void Act(Widget box, Answer answer) {
    switch (answer) {
        case kPressOk:
            ClickMessageButton(box, XmDIALOG_OK_BUTTON);
            break;
        case kPressCancel:
            ClickMessageButton(box, XmDIALOG_CANCEL_BUTTON);
            break;
        case kPressHelp:
            ClickMessageButton(box, XmDIALOG_HELP_BUTTON);
            break;
        case kCloseWindow:
            SendDeleteWindow(XtParent(box));
            break;
    }
}

std::string Label(Widget box, unsigned char child) {
    XmString label = nullptr;
    XtVaGetValues(XmMessageBoxGetChild(box, child), XmNlabelString, &label, nullptr);
    char* text = static_cast<char*>(
        XmStringUnparse(label, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr, 0, XmOUTPUT_ALL));
    std::string s = text != nullptr ? text : "";
    XtFree(text);
    XmStringFree(label);
    return s;
}

class MessageDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Toolkit().display, nullptr) << "no X display";
        Watchdog(60);
    }
};

using Wrapper = MessageResult (*)(Widget, const char*, const char*);

struct KindCase {
    MessageKind kind;
    Wrapper wrapper;
    unsigned char dialogType;
    const char* ok;     // label of the OK button
    const char* cancel; // of the Cancel button, nullptr when hidden
    const char* help;   // of the Help button, nullptr when hidden
};

const KindCase kKinds[] = {
    {kMessageInfo, InfoMessage, XmDIALOG_INFORMATION, " Ok ", nullptr, nullptr},
    {kMessageWarning, WarningMessage, XmDIALOG_WARNING, " Ok ", nullptr, nullptr},
    {kMessageOkCancel, AskOkCancel, XmDIALOG_QUESTION, " Ok ", " Cancel ", nullptr},
    {kMessageYesNo, AskYesNo, XmDIALOG_QUESTION, " Yes ", " No ", nullptr},
    {kMessageYesNoCancel, AskYesNoCancel, XmDIALOG_QUESTION, " Yes ", " No ", " Cancel "},
};

TEST_F(MessageDialogTest, EachKindShowsItsButtonsModallyAndIsGoneAfterwards) {
    for (const KindCase& c : kKinds) {
        SCOPED_TRACE(c.kind);
        bool checked = false;
        Reply reply{Toolkit().topLevel, [&](Widget box) {
                        EXPECT_STREQ(XtName(box), "Dialog");
                        unsigned char type = 0;
                        unsigned char style = 0;
                        XtVaGetValues(box, XmNdialogType, &type, XmNdialogStyle, &style, nullptr);
                        EXPECT_EQ(type, c.dialogType);
                        EXPECT_EQ(style, XmDIALOG_FULL_APPLICATION_MODAL);
                        EXPECT_EQ(Label(box, XmDIALOG_OK_BUTTON), c.ok);
                        Widget cancel = XmMessageBoxGetChild(box, XmDIALOG_CANCEL_BUTTON);
                        Widget help = XmMessageBoxGetChild(box, XmDIALOG_HELP_BUTTON);
                        EXPECT_EQ(XtIsManaged(cancel), c.cancel != nullptr);
                        EXPECT_EQ(XtIsManaged(help), c.help != nullptr);
                        if (c.cancel != nullptr) {
                            EXPECT_EQ(Label(box, XmDIALOG_CANCEL_BUTTON), c.cancel);
                        }
                        if (c.help != nullptr) {
                            EXPECT_EQ(Label(box, XmDIALOG_HELP_BUTTON), c.help);
                        }
                        char* title = nullptr;
                        int decorations = 0;
                        int functions = 0;
                        XtVaGetValues(XtParent(box), XmNtitle, &title, XmNmwmDecorations,
                                      &decorations, XmNmwmFunctions, &functions, nullptr);
                        EXPECT_STREQ(title, "Title of it");
                        EXPECT_EQ(decorations, 18);
                        EXPECT_EQ(functions, 4);
                        XmString message = nullptr;
                        XtVaGetValues(box, XmNmessageString, &message, nullptr);
                        EXPECT_EQ(XmStringLineCount(message), 3); // two "\n"
                        XmStringFree(message);
                        checked = true;
                        Act(box, kPressOk);
                    }};
        ReplyLater(&reply);
        c.wrapper(Toolkit().topLevel, "Title of it", "one\ntwo\nthree");
        EXPECT_TRUE(checked);
        EXPECT_EQ(FindBox(Toolkit().topLevel), nullptr);
    }
}

struct AnswerCase {
    Wrapper wrapper;
    Answer answer;
    MessageResult result;
};

const AnswerCase kAnswers[] = {
    {InfoMessage, kPressOk, kResultOk},          {InfoMessage, kCloseWindow, kResultOk},
    {WarningMessage, kPressOk, kResultOk},       {WarningMessage, kCloseWindow, kResultOk},
    {AskOkCancel, kPressOk, kResultOk},          {AskOkCancel, kPressCancel, kResultCancel},
    {AskOkCancel, kCloseWindow, kResultCancel},  {AskYesNo, kPressOk, kResultYes},
    {AskYesNo, kPressCancel, kResultNo},         {AskYesNo, kCloseWindow, kResultNo},
    {AskYesNoCancel, kPressOk, kResultYes},      {AskYesNoCancel, kPressCancel, kResultNo},
    {AskYesNoCancel, kPressHelp, kResultCancel}, {AskYesNoCancel, kCloseWindow, kResultCancel},
};

TEST_F(MessageDialogTest, ReturnsTheAnswerOfEachButtonAndOfTheWindowClose) {
    int i = 0;
    for (const AnswerCase& c : kAnswers) {
        SCOPED_TRACE(i++);
        Reply reply{Toolkit().topLevel, [&](Widget box) { Act(box, c.answer); }};
        ReplyLater(&reply);
        EXPECT_EQ(c.wrapper(Toolkit().topLevel, "Question", "Well?"), c.result);
    }
}

// Escape pressed on the keyboard while the box has the focus, again every 300 ms until the box
// answers (the first key of a fresh server can be lost while the keyboard is set up).
struct EscapeUntilAnswered {
    Widget box = nullptr;
    int presses = 0;

    static void Press(XtPointer client, XtIntervalId*) {
        EscapeUntilAnswered* self = static_cast<EscapeUntilAnswered*>(client);
        if (self->presses == -1) return;
        Widget shell = XtParent(self->box);
        XSetInputFocus(XtDisplay(shell), XtWindow(shell), RevertToParent, CurrentTime);
        XSync(XtDisplay(shell), False);
        ASSERT_EQ(std::system("xdotool key Escape > /dev/null 2>&1"), 0);
        if (++self->presses < 20) XtAppAddTimeOut(Toolkit().app, 300, Press, self);
    }
};

// Escape on the three-button question changes nothing: Cancel, not the " No " that discards.
// The other kinds keep what Escape gave them; the one-button kinds answer Ok whatever is done.
TEST_F(MessageDialogTest, EscapeAnswersCancelOnTheThreeButtonQuestion) {
    struct EscapeCase {
        Wrapper wrapper;
        MessageKind kind;
        MessageResult result;
    };
    const EscapeCase cases[] = {
        {InfoMessage, kMessageInfo, kResultOk},
        {WarningMessage, kMessageWarning, kResultOk},
        {AskOkCancel, kMessageOkCancel, kResultCancel},
        {AskYesNo, kMessageYesNo, kResultNo},
        {AskYesNoCancel, kMessageYesNoCancel, kResultCancel},
    };
    for (const EscapeCase& c : cases) {
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(MessageEscapeResult(c.kind), c.result);
        EscapeUntilAnswered escape;
        // Escape pressed over the box answers until the timer is stopped below.
        Reply start{Toolkit().topLevel, [&](Widget box) {
                        escape.box = box;
                        EscapeUntilAnswered::Press(&escape, nullptr);
                    }};
        ReplyLater(&start);
        EXPECT_EQ(c.wrapper(Toolkit().topLevel, "Question", "Well?"), c.result);
        EXPECT_GT(escape.presses, 0);
        escape.presses = -1;
        RunFor(350); // lets a pending press find the box gone
    }
}

TEST_F(MessageDialogTest, HelpButtonOnlyCountsForYesNoCancel) {
    for (MessageKind kind : {kMessageInfo, kMessageWarning, kMessageOkCancel, kMessageYesNo}) {
        EXPECT_EQ(MessageButtonResult(kind, XmCR_HELP), kResultNone);
    }
    EXPECT_EQ(MessageButtonResult(kMessageYesNoCancel, XmCR_HELP), kResultCancel);
}

TEST_F(MessageDialogTest, DialogOpenedWhileAnotherWaitsKeepsItsOwnAnswer) {
    Widget outerBox = nullptr;
    MessageResult inner = kResultNone;
    Reply answerOuter{Toolkit().topLevel, [&](Widget box) { Act(box, kPressCancel); }};
    Reply answerInner{nullptr, [&](Widget box) { Act(box, kPressOk); }};
    // A timer of another window fires inside the outer loop and asks a question of its own.
    Reply openInner{Toolkit().topLevel, [&](Widget box) {
                        outerBox = box;
                        answerInner.parent = box;
                        ReplyLater(&answerInner);
                        inner = AskYesNo(box, "Inner", "Inner question");
                        ReplyLater(&answerOuter, 50);
                    }};
    ReplyLater(&openInner);
    const MessageResult outer = AskOkCancel(Toolkit().topLevel, "Outer", "Outer question");
    EXPECT_EQ(inner, kResultYes);
    EXPECT_EQ(outer, kResultCancel);
    EXPECT_NE(outerBox, nullptr);
}

// A question asked from an event handler, as windows ask from their callbacks: the box then
// outlives the call until the event's dispatch ends.
struct AskFromEvent {
    Widget box = nullptr;
    MessageResult result = kResultNone;
    XtCallbackStatus callbacks[3] = {XtCallbackHasSome, XtCallbackHasSome, XtCallbackHasSome};
    bool done = false;

    static void OnClientMessage(Widget w, XtPointer client, XEvent* event, Boolean*) {
        if (event->type != ClientMessage) {
            return;
        }
        AskFromEvent* ask = static_cast<AskFromEvent*>(client);
        Reply reply{w, [ask](Widget box) {
                        ask->box = box;
                        Act(box, kPressCancel);
                    }};
        ReplyLater(&reply);
        ask->result = AskYesNoCancel(w, "Question", "From an event");
        int i = 0;
        for (const char* list : {XmNokCallback, XmNcancelCallback, XmNhelpCallback}) {
            ask->callbacks[i++] = XtHasCallbacks(ask->box, list);
        }
        ask->done = true;
    }
};

TEST_F(MessageDialogTest, ABoxThatOutlivesItsCallNoLongerAnswersIt) {
    Widget top = Toolkit().topLevel;
    AskFromEvent ask;
    XtAddEventHandler(top, NoEventMask, True, AskFromEvent::OnClientMessage, &ask);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.display = XtDisplay(top);
    event.xclient.window = XtWindow(top);
    event.xclient.message_type = XInternAtom(XtDisplay(top), "QUIRAN_TEST_ASK", False);
    event.xclient.format = 32;
    XSendEvent(XtDisplay(top), XtWindow(top), False, NoEventMask, &event);
    EXPECT_TRUE(RunUntil([&] { return ask.done; }, 10000));
    XtRemoveEventHandler(top, NoEventMask, True, AskFromEvent::OnClientMessage, &ask);
    EXPECT_EQ(ask.result, kResultNo);
    for (XtCallbackStatus status : ask.callbacks) {
        EXPECT_EQ(status, XtCallbackHasNone); // a click still queued cannot reach the answer
    }
    Flush();
    EXPECT_EQ(FindBox(top), nullptr);
}

TEST_F(MessageDialogTest, TimersOfOtherWindowsRunWhileItWaits) {
    int ticks = 0;
    struct Ticker {
        int* ticks;
        static void Tick(XtPointer client, XtIntervalId*) {
            Ticker* t = static_cast<Ticker*>(client);
            if (++*t->ticks < 3) {
                XtAppAddTimeOut(Toolkit().app, 10, Tick, t);
            }
        }
    } ticker{&ticks};
    XtAppAddTimeOut(Toolkit().app, 10, Ticker::Tick, &ticker);
    Reply reply{Toolkit().topLevel, [&](Widget box) { Act(box, kPressOk); }};
    ReplyLater(&reply, 200);
    EXPECT_EQ(InfoMessage(Toolkit().topLevel, "Info", "Wait"), kResultOk);
    EXPECT_EQ(ticks, 3);
}

} // namespace
