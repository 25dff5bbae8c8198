#pragma once

// The frame every option dialog shares: a transient popup shell named after its title with the
// border and window menu and the move and close functions, whose window-manager close acts as
// Cancel; a form "form" holding a frame "frame" for the dialog's contents above the action area.
// The frame sits in a scrolled body that scrolls it only where the dialog would not fit the
// screen, so the action area stays reachable on a small screen.
// Once the contents stand, the dialog is shown centred over its parent with a non-exclusive grab
// (the rest of the program takes no input while it is open) and cannot be resized.

#include <X11/Intrinsic.h>

#include "toolkit/ActionArea.h"

struct OptionDialogFrame {
    Widget shell;
    Widget form;
    Widget body;  // the scrolled window around the frame
    Widget frame; // the contents go here
};

// cancel (with client) is the window-manager close.
OptionDialogFrame CreateOptionDialogFrame(Widget parent, const char* title, XtCallbackProc cancel,
                                          XtPointer client);

// Adds the action area below the frame and shows the dialog.
void ShowOptionDialog(const OptionDialogFrame& frame, const ActionAreaRow* rows, int count);

// The text of a text field, with its cursor after the last character.
void SetFieldText(Widget field, const char* text);
