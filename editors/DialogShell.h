#pragma once

// The shells of the editors' dialogs and windows: transient popup shells whose window-manager
// close arrives as a callback (deleteResponse do-nothing), and fixing a realized shell's size.

#include <X11/Intrinsic.h>

#include "toolkit/WindowManagerHints.h"

// A transient popup shell of parent with the dialog decorations and functions. The title is the
// instance name unless one is given; modal makes it primary-application modal for the window
// manager (the caller still pops it up with a grab). close is called on WM_DELETE_WINDOW.
Widget CreateDialogShell(Widget parent, const char* name, const char* title, bool modal,
                         XtCallbackProc close, XtPointer client);

// Calls callback with client on the window manager's WM_DELETE_WINDOW message.
void AddWindowCloseCallback(Widget shell, XtCallbackProc callback, XtPointer client);

// Minimum and maximum size := the current size, so that the shell cannot be resized.
void FixShellSize(Widget shell);
