#pragma once

#include <X11/Intrinsic.h>

// One button of a dialog's action area: its label, the activate callback (or null for a button
// that does nothing) and that callback's client data.
struct ActionAreaRow {
    const char* label;
    XtCallbackProc callback;
    XtPointer clientData;
};

// Builds the form "action_area" under parent with one "ActionButton" per row, all equally wide
// with one fraction unit between neighbours; the first row is the default button, and inside a
// paned window the form keeps the height of one button. Returns the managed form.
Widget CreateActionArea(Widget parent, const ActionAreaRow* rows, int count);
