#pragma once

// The parts the one-value and the two-value number dialogs share: the width of a field, the
// layout of the dialog, showing it and the check of its OK.

#include <X11/Intrinsic.h>

#include <cstdint>

// Characters of a field: the number of decimal digits of its maximum (1 for a maximum below 1,
// which no caller passes).
int16_t FieldCharacters(int32_t max);

// Builds the dialog's "form" in shell: "frame" with "rowcolumn1" (returned; the caller adds a
// label and a field per value), "Helpseparator" and the action area "OK" / "Cancel".
Widget CreateNumberDialogForm(Widget shell, int values, XtCallbackProc ok, XtCallbackProc cancel,
                              XtPointer client);

// One row of rowcolumn1: the label gadget "label1" or "label2" (lines broken at "\n" when
// multiline) and a ReadInt field whose Return calls ok. Returns the field's form.
Widget CreateNumberRow(Widget rowColumn, const char* labelName, const char* text, bool multiline,
                       Widget* label, int16_t characters, int32_t value, int32_t min, int32_t max,
                       int32_t divisor, XtCallbackProc ok, XtPointer client);

// Centres the shell over its parent, pops it up with an exclusive grab and fixes its size.
void ShowNumberDialog(Widget shell);

// OK's reading of a field made with these limits and shown value: 1 and the value when it is valid
// and, with the divisor flag, divides max. A valid value that does not divide max is corrected as
// Return corrects it (the next divisor, with the bell) and 0 is returned; an invalid text gives 0
// and changes nothing.
int ReadNumberField(Widget field, int32_t shown, int32_t min, int32_t max, int32_t divisor,
                    int32_t* value);
