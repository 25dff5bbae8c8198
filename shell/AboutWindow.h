#pragma once

// The About window of Help > About: built-in bitmaps above a single OK button; not a class, one
// global shell pointer (null while the window is closed) and a few functions. OK and the
// window manager's close destroy it (DestroyAndClearCallback, WelcomeWindow.h).

#include <X11/Intrinsic.h>

// The About window's shell, or null.
Widget GetAboutShell();

// Shows the About window over the top-level shell; nothing while one is open.
void ShowAbout();

// The expose callback of the About window's drawing area.
void AboutExposeCallback(Widget widget, XtPointer client, XtPointer callData);
