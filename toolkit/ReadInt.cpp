#include "toolkit/ReadInt.h"

#include "toolkit/Bell.h"
#include "toolkit/FormAttachments.h"
#include "toolkit/OwnedXtString.h"
#include "toolkit/ReadIntRule.h"

#include <X11/keysym.h>
#include <Xm/ArrowB.h>
#include <Xm/Form.h>
#include <Xm/TextF.h>

#include <cstdio>

namespace {

struct ReadIntRecord {
    int32_t value; // the fallback value, fixed at creation
    int32_t min;
    int32_t max;
    int32_t divisor;
    XtCallbackProc activateCallback;
    XtPointer activateClient;
    XtCallbackProc stepCallback;
    XtPointer stepClient;
    XtCallbackProc commitCallback;
    XtPointer commitClient;
    // The text is the field's own: it refused the user's value and showed the fallback or the
    // next divisor. Leaving the field or Return on it is not a value given, so nothing is called
    // until the user edits, steps, or the program sets a value.
    bool ownText;
};

constexpr unsigned long kFirstRepeatMs = 300;
constexpr unsigned long kNextRepeatMs = 80;

const ReadIntTimer kXtTimer = {XtAppAddTimeOut, XtRemoveTimeOut};
const ReadIntTimer* repeatClock = &kXtTimer;

// One repeat timer for all fields: it belongs to the field whose arrow was pressed last.
XtAppContext repeatApp = nullptr;
Widget currentText = nullptr;
XtIntervalId repeatTimer = 0;
// Set while the field writes its own text, which the typing filter must let through.
bool writingText = false;

// The key and button presses dispatched so far. A press that takes the focus out of a field
// makes the field check its text while the press is dispatched, before the button under the
// pointer is activated on the release.
unsigned long long pressCount = 0;
Display* countedDisplay = nullptr;
XtEventDispatchProc previousKeyDispatcher = nullptr;
XtEventDispatchProc previousButtonDispatcher = nullptr;

// The field whose text the last check had to replace, and the press during which it did.
Widget correctedText = nullptr;
unsigned long long correctedPress = 0;

Boolean CountingDispatcher(XEvent* event) {
    ++pressCount;
    XtEventDispatchProc previous =
        event->type == KeyPress ? previousKeyDispatcher : previousButtonDispatcher;
    return previous != nullptr ? previous(event) : False;
}

void CountPresses(Display* display) {
    if (countedDisplay == display) {
        return;
    }
    countedDisplay = display;
    previousKeyDispatcher = XtSetEventDispatcher(display, KeyPress, CountingDispatcher);
    previousButtonDispatcher = XtSetEventDispatcher(display, ButtonPress, CountingDispatcher);
}

XtPointer UserData(Widget w) {
    XtPointer data = nullptr;
    XtVaGetValues(w, XmNuserData, &data, nullptr);
    return data;
}

Widget ShellOf(Widget w) {
    while (w != nullptr && !XtIsShell(w)) {
        w = XtParent(w);
    }
    return w;
}

ReadIntRecord* RecordOf(Widget text) {
    return static_cast<ReadIntRecord*>(UserData(text));
}

ReadIntLimits LimitsOf(Widget text, const ReadIntRecord* record) {
    int maxLength = 0;
    XtVaGetValues(text, XmNmaxLength, &maxLength, nullptr);
    return {record->min, record->max, record->divisor, maxLength};
}

// Shows v in %ld form, making the field editable for the time of the change.
void ShowValue(Widget text, int32_t v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%ld", static_cast<long>(v));
    Boolean editable = False;
    XtVaGetValues(text, XmNeditable, &editable, nullptr);
    XtVaSetValues(text, XmNeditable, True, nullptr);
    writingText = true;
    XmTextFieldSetString(text, buffer);
    writingText = false;
    XtVaSetValues(text, XmNeditable, editable, nullptr);
}

void RingBells(Widget w, int bells) {
    for (int i = 0; i < bells; ++i) {
        RingBell(XtDisplay(w));
    }
}

void CancelRepeat() {
    if (repeatTimer != 0) {
        repeatClock->remove(repeatTimer);
        repeatTimer = 0;
    }
}

void ReadIntRepeat(XtPointer client, XtIntervalId*);

void PerformStep(Widget text, int step, bool first) {
    ReadIntRecord* record = RecordOf(text);
    OwnedXtString current(XmTextFieldGetString(text));
    const ReadIntOutcome outcome =
        ReadIntStep(current.Get(), step, LimitsOf(text, record), record->value);
    RingBells(text, outcome.bells);
    if (outcome.action == kReadIntRefuse) {
        return;
    }
    ShowValue(text, outcome.value);
    record->ownText = outcome.action == kReadIntShowFallback;
    if (outcome.action != kReadIntAccept) {
        return;
    }
    if (record->stepCallback != nullptr) {
        record->stepCallback(XtParent(text), record->stepClient, nullptr);
    }
    if (currentText != text) {
        return; // the step callback destroyed the field
    }
    XtAppContext app = repeatApp != nullptr ? repeatApp : XtWidgetToApplicationContext(text);
    repeatTimer = repeatClock->add(app, first ? kFirstRepeatMs : kNextRepeatMs, ReadIntRepeat,
                                   reinterpret_cast<XtPointer>(static_cast<intptr_t>(step)));
}

void ReadIntRepeat(XtPointer client, XtIntervalId*) {
    repeatTimer = 0;
    if (currentText != nullptr) {
        PerformStep(currentText, static_cast<int>(reinterpret_cast<intptr_t>(client)), false);
    }
}

void ReadIntArm(Widget arrow, XtPointer client, XtPointer) {
    CancelRepeat();
    correctedText = nullptr;
    currentText = static_cast<Widget>(UserData(arrow));
    PerformStep(currentText, static_cast<int>(reinterpret_cast<intptr_t>(client)), true);
}

void ReadIntDisarm(Widget arrow, XtPointer, XtPointer) {
    CancelRepeat();
    Widget text = static_cast<Widget>(UserData(arrow));
    const ReadIntRecord* record = RecordOf(text);
    if (record->commitCallback != nullptr && record->commitCallback != record->stepCallback) {
        record->commitCallback(XtParent(text), record->commitClient, nullptr);
    }
    XmProcessTraversal(text, XmTRAVERSE_CURRENT);
}

void ReadIntModifyVerify(Widget text, XtPointer, XtPointer call) {
    XmTextVerifyCallbackStruct* cbs = static_cast<XmTextVerifyCallbackStruct*>(call);
    if (writingText) {
        return;
    }
    Boolean editable = False;
    XtVaGetValues(text, XmNeditable, &editable, nullptr);
    if (!editable) {
        cbs->doit = False;
        return;
    }
    // A key typed over a selection is typing too: Tab selects a field's digits, so this is how
    // most numbers are typed. A paste over a range and a deletion are not checked.
    const bool typed = cbs->event != nullptr && cbs->event->type == KeyPress;
    const bool insertion = (cbs->startPos == cbs->endPos || typed) && cbs->text != nullptr &&
                           cbs->text->ptr != nullptr && cbs->text->length > 0;
    if (insertion && !ReadIntAcceptsInsert(cbs->text->ptr[0], cbs->startPos, RecordOf(text)->min)) {
        // The text stays as it was, so a correction the field made is still its own.
        cbs->doit = False;
        RingBell(XtDisplay(text));
        return;
    }
    correctedText = nullptr; // the user edits again
    RecordOf(text)->ownText = false;
}

// The checks of focus leaving and Return: returns true when the value stands and the caller's
// callback is due.
bool CommitCheck(Widget text) {
    ReadIntRecord* record = RecordOf(text);
    if (record->ownText) {
        return false; // the field's own correction, not a value the user gave
    }
    OwnedXtString current(XmTextFieldGetString(text));
    const ReadIntOutcome outcome =
        ReadIntCheck(current.Get(), LimitsOf(text, record), record->value);
    if (outcome.action == kReadIntAccept) {
        return true;
    }
    ShowValue(text, outcome.value);
    record->ownText = true;
    RingBells(text, outcome.bells);
    correctedText = text;
    correctedPress = pressCount;
    return false;
}

void ReadIntLosingFocus(Widget text, XtPointer, XtPointer) {
    Boolean editable = False;
    XtVaGetValues(text, XmNeditable, &editable, nullptr);
    if (!editable || !CommitCheck(text)) {
        return;
    }
    const ReadIntRecord* record = RecordOf(text);
    if (record->commitCallback != nullptr) {
        record->commitCallback(XtParent(text), record->commitClient, nullptr);
    }
}

void ReadIntActivate(Widget text, XtPointer, XtPointer call) {
    XmAnyCallbackStruct* cbs = static_cast<XmAnyCallbackStruct*>(call);
    Boolean editable = False;
    XtVaGetValues(text, XmNeditable, &editable, nullptr);
    if (cbs->reason != XmCR_ACTIVATE || !editable || cbs->event == nullptr ||
        cbs->event->type != KeyPress) {
        return;
    }
    const KeySym key = XLookupKeysym(&cbs->event->xkey, 0);
    if (key != XK_Return && key != XK_KP_Enter) {
        return;
    }
    // Return is a press of its own: an earlier correction has been seen.
    correctedText = nullptr;
    if (!CommitCheck(text)) {
        return;
    }
    const ReadIntRecord* record = RecordOf(text);
    if (record->activateCallback != nullptr) {
        record->activateCallback(XtParent(text), record->activateClient, cbs);
    }
}

// Return and Enter in the text. A field with an activate callback keeps Return for itself, and
// so does every field whose text it would refuse or is its own correction; only a field without
// one, holding a value, passes Return on to the window's default button.
void ReadIntReturnAction(Widget text, XEvent* event, String*, Cardinal*) {
    const ReadIntRecord* record = RecordOf(text);
    Boolean editable = False;
    XtVaGetValues(text, XmNeditable, &editable, nullptr);
    if (editable && record->activateCallback == nullptr && !record->ownText) {
        OwnedXtString current(XmTextFieldGetString(text));
        if (ReadIntCheck(current.Get(), LimitsOf(text, record), record->value).action ==
            kReadIntAccept) {
            XtCallActionProc(text, const_cast<char*>("PrimitiveParentActivate"), event, nullptr, 0);
            return;
        }
    }
    XmAnyCallbackStruct cbs{};
    cbs.reason = XmCR_ACTIVATE;
    cbs.event = event;
    XtCallCallbacks(text, XmNactivateCallback, &cbs);
}

// A field entered from the keyboard (Tab and the other traversal keys) selects its text, so that
// typing replaces the number instead of adding to it.
void ReadIntFocus(Widget text, XtPointer, XtPointer) {
    XEvent* last = XtLastEventProcessed(XtDisplay(text));
    if (last == nullptr || last->type != KeyPress) return;
    Boolean editable = False;
    XtVaGetValues(text, XmNeditable, &editable, nullptr);
    if (!editable) return;
    const XmTextPosition end = XmTextFieldGetLastPosition(text);
    XmTextFieldSetSelection(text, 0, end, last->xkey.time);
}

void AddReturnAction(Widget text) {
    static XtAppContext added = nullptr;
    XtAppContext app = XtWidgetToApplicationContext(text);
    if (added != app) {
        added = app;
        static XtActionsRec actions[] = {
            {const_cast<char*>("ReadIntReturn"), ReadIntReturnAction},
        };
        XtAppAddActions(app, actions, XtNumber(actions));
    }
    static XtTranslations keys = XtParseTranslationTable("<Key>Return: ReadIntReturn()\n"
                                                         "<Key>KP_Enter: ReadIntReturn()\n"
                                                         "<Key>osfActivate: ReadIntReturn()");
    XtOverrideTranslations(text, keys);
}

void ReadIntDestroy(Widget text, XtPointer, XtPointer) {
    if (currentText == text) {
        CancelRepeat();
        currentText = nullptr;
    }
    if (correctedText == text) {
        correctedText = nullptr;
    }
    delete RecordOf(text);
}

} // namespace

void SetReadIntTimer(const ReadIntTimer* timer) {
    repeatClock = timer != nullptr ? timer : &kXtTimer;
}

Widget CreateReadInt(Widget parent, const ReadIntOptions& options) {
    const int32_t value = options.value;
    const int32_t columns = options.columns;
    const int32_t maxLength = options.maxLength;
    ReadIntRecord* record = new ReadIntRecord{value,
                                              options.min,
                                              options.max,
                                              options.divisor,
                                              options.activateCallback,
                                              options.activateClient,
                                              options.stepCallback,
                                              options.stepClient,
                                              options.commitCallback,
                                              options.commitClient,
                                              false};
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%ld", static_cast<long>(value));

    Widget form = XmCreateForm(parent, const_cast<char*>("ReadInt"), nullptr, 0);
    Widget text = XtVaCreateManagedWidget(
        "Integer_Text", xmTextFieldWidgetClass, form, XmNcolumns, static_cast<short>(columns),
        XmNmaxLength, static_cast<int>(maxLength), XmNvalue, buffer, XmNverifyBell, False,
        XmNuserData, record, XmNleftAttachment, XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM,
        nullptr);
    Widget up = XtVaCreateManagedWidget(
        "ReadInt_arrow_up", xmArrowButtonWidgetClass, form, XmNarrowDirection, XmARROW_UP,
        XmNtraversalOn, False, XmNuserData, text, XmNbottomAttachment, XmATTACH_FORM, nullptr);
    Widget down = XtVaCreateManagedWidget("ReadInt_arrow_down", xmArrowButtonWidgetClass, form,
                                          XmNarrowDirection, XmARROW_DOWN, XmNtraversalOn, False,
                                          XmNuserData, text, XmNrightAttachment, XmATTACH_FORM,
                                          XmNbottomAttachment, XmATTACH_FORM, nullptr);
    Attach(up).Right(ToWidget(down));
    Attach(text).Right(ToWidget(up));

    // Centre the arrows on the text.
    Dimension textHeight = 0;
    Dimension arrowHeight = 0;
    XtVaGetValues(text, XmNheight, &textHeight, nullptr);
    XtVaGetValues(up, XmNheight, &arrowHeight, nullptr);
    const int offset = textHeight > arrowHeight ? (textHeight - arrowHeight) / 2 : 0;
    Attach(up).Bottom(ToForm(offset));
    Attach(down).Bottom(ToForm(offset));

    XtVaSetValues(form, XmNuserData, text, nullptr);
    XtAddCallback(text, XmNdestroyCallback, ReadIntDestroy, nullptr);
    XtAddCallback(text, XmNlosingFocusCallback, ReadIntLosingFocus, form);
    XtAddCallback(text, XmNactivateCallback, ReadIntActivate, form);
    XtAddCallback(text, XmNmodifyVerifyCallback, ReadIntModifyVerify, nullptr);
    XtAddCallback(text, XmNfocusCallback, ReadIntFocus, nullptr);
    AddReturnAction(text);
    XtAddCallback(up, XmNarmCallback, ReadIntArm, reinterpret_cast<XtPointer>(intptr_t{1}));
    XtAddCallback(up, XmNdisarmCallback, ReadIntDisarm, reinterpret_cast<XtPointer>(intptr_t{1}));
    XtAddCallback(down, XmNarmCallback, ReadIntArm, reinterpret_cast<XtPointer>(intptr_t{-1}));
    XtAddCallback(down, XmNdisarmCallback, ReadIntDisarm,
                  reinterpret_cast<XtPointer>(intptr_t{-1}));
    XtManageChild(form);
    CountPresses(XtDisplay(form));
    return form;
}

int ReadIntPressHitCorrection(Widget w, XtPointer call) {
    if (correctedText == nullptr) {
        return 0;
    }
    const XmAnyCallbackStruct* cbs = static_cast<XmAnyCallbackStruct*>(call);
    // Only a press of the user's counts; the program calls buttons without an event.
    if (cbs == nullptr || cbs->event == nullptr) {
        return 0;
    }
    Widget field = correctedText;
    const bool samePress = correctedPress == pressCount;
    correctedText = nullptr;
    return samePress && ShellOf(field) == ShellOf(w) ? 1 : 0;
}

Widget ReadIntGetText(Widget form) {
    return static_cast<Widget>(UserData(form));
}

int ReadIntGetValue(Widget form, int32_t* out) {
    Widget text = ReadIntGetText(form);
    const ReadIntRecord* record = RecordOf(text);
    OwnedXtString current(XmTextFieldGetString(text));
    return ReadIntValueOf(current.Get(), LimitsOf(text, record), out) ? 1 : 0;
}

void ReadIntSetValue(Widget form, int32_t value) {
    Widget text = ReadIntGetText(form);
    ShowValue(text, value);
    RecordOf(text)->ownText = false; // the program's value stands
}

void ReadIntSetMax(Widget form, int32_t max) {
    int32_t current = 0;
    const int valid = ReadIntGetValue(form, &current);
    RecordOf(ReadIntGetText(form))->max = max;
    if (valid && current > max) {
        ReadIntSetValue(form, max);
    }
}

void ReadIntSetMin(Widget form, int32_t min) {
    int32_t current = 0;
    const int valid = ReadIntGetValue(form, &current);
    RecordOf(ReadIntGetText(form))->min = min;
    if (valid && current < min) {
        ReadIntSetValue(form, min);
    }
}

void ReadIntSetSensitive(Widget form, Boolean flag) {
    XtSetSensitive(XtNameToWidget(form, "ReadInt_arrow_up"), flag);
    XtSetSensitive(XtNameToWidget(form, "ReadInt_arrow_down"), flag);
    XtVaSetValues(ReadIntGetText(form), XmNeditable, flag, XmNtraversalOn, flag, nullptr);
}

void SetReadIntAppContext(XtAppContext app) {
    repeatApp = app;
}
