#pragma once

#include <X11/Intrinsic.h>

#include <cstdint>

// The integer entry field: a form "ReadInt" holding the text field "Integer_Text" and the arrow
// buttons "ReadInt_arrow_up" and "ReadInt_arrow_down". Typing is filtered to digits, a held
// arrow steps with auto-repeat (300 ms, then every 80 ms), and leaving the field or pressing
// Return checks the value, ringing the bell and correcting the text when it is not acceptable.
// With the divisor flag an accepted value divides max. The field's record lives on the text
// field and is freed with it.
//
// What a field is made with, named at the call: its size in characters, its first value and
// limits, and up to three callbacks. Every callback gets the form as its widget and its own client
// data; the activate callback gets the text field's XmAnyCallbackStruct as call data, the other
// two null.
//
//     CreateReadInt(row, ReadIntOptions().Size(3, 5).Value(1).Range(1, 99999)
//                            .OnActivate(OkCallback, this));
struct ReadIntOptions {
    int32_t columns = 5;
    int32_t maxLength = 5;
    int32_t value = 0;
    int32_t min = 0;
    int32_t max = 0;
    int32_t divisor = 0; // non-zero: an accepted value divides max
    XtCallbackProc activateCallback = nullptr;
    XtPointer activateClient = nullptr;
    XtCallbackProc stepCallback = nullptr;
    XtPointer stepClient = nullptr;
    XtCallbackProc commitCallback = nullptr;
    XtPointer commitClient = nullptr;

    // Shown columns and the most characters that can be typed.
    ReadIntOptions& Size(int32_t shownColumns, int32_t typedLength) {
        columns = shownColumns;
        maxLength = typedLength;
        return *this;
    }
    ReadIntOptions& Value(int32_t first) {
        value = first;
        return *this;
    }
    ReadIntOptions& Range(int32_t least, int32_t most) {
        min = least;
        max = most;
        return *this;
    }
    ReadIntOptions& DividingMax(bool on = true) {
        divisor = on ? 1 : 0;
        return *this;
    }
    // Return in the field.
    ReadIntOptions& OnActivate(XtCallbackProc callback, XtPointer client) {
        activateCallback = callback;
        activateClient = client;
        return *this;
    }
    // A step of an arrow.
    ReadIntOptions& OnStep(XtCallbackProc callback, XtPointer client) {
        stepCallback = callback;
        stepClient = client;
        return *this;
    }
    // A checked value on leaving the field or on Return.
    ReadIntOptions& OnCommit(XtCallbackProc callback, XtPointer client) {
        commitCallback = callback;
        commitClient = client;
        return *this;
    }
};

Widget CreateReadInt(Widget parent, const ReadIntOptions& options);

// The timer behind the arrows' auto-repeat: Xt timeouts, unless a test installs its own to see
// the delays asked for and fire them when it likes, without waiting on a clock.
struct ReadIntTimer {
    XtIntervalId (*add)(XtAppContext app, unsigned long ms, XtTimerCallbackProc proc,
                        XtPointer client);
    void (*remove)(XtIntervalId id);
};

// Installs timer, which must outlive its use; nullptr brings back the Xt timeouts.
void SetReadIntTimer(const ReadIntTimer* timer);

// Reads the number at the start of the text; 1 and out set when it fits 32 bits and lies within
// [min, max] (the divisor rule is not applied), else 0 with out unchanged.
int ReadIntGetValue(Widget form, int32_t* out);

// Whether a button must refuse a press because the press itself made a field of the same window
// replace its text: leaving the field for the button showed the fallback or the next divisor,
// which is not a value the user gave. The button then does what Return does on such text
// (nothing); pressing it again takes the text shown. w is the pressed widget and call its
// callback data; a call without an event (made by the program) is never refused. Asking
// answers the correction once.
int ReadIntPressHitCorrection(Widget w, XtPointer call);

// Shows value, also in a field that is not editable; checks nothing.
void ReadIntSetValue(Widget form, int32_t value);

// Change a limit; a valid value beyond the new limit is replaced by the limit.
void ReadIntSetMax(Widget form, int32_t max);
void ReadIntSetMin(Widget form, int32_t min);

// Arrows sensitive, text editable and traversable, all by flag.
void ReadIntSetSensitive(Widget form, Boolean flag);

Widget ReadIntGetText(Widget form);

// The application context of the arrow-repeat timer; given once at start-up.
void SetReadIntAppContext(XtAppContext app);
