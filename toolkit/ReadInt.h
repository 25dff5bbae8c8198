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
// Every callback gets the form as its widget and its own client data; the activate callback
// gets the text field's XmAnyCallbackStruct as call data, the other two null.
Widget CreateReadInt(Widget parent, XtCallbackProc activateCallback, XtPointer activateClient,
                     XtCallbackProc stepCallback, XtPointer stepClient,
                     XtCallbackProc commitCallback, XtPointer commitClient, int32_t columns,
                     int32_t maxLength, int32_t value, int32_t min, int32_t max, int32_t divisor);

// Reads the number at the start of the text; 1 and out set when it fits 32 bits and lies within
// [min, max] (the divisor rule is not applied), else 0 with out unchanged.
int ReadIntGetValue(Widget form, int32_t* out);

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
