#pragma once

// The welcome splash that start-up shows right after the main window and that a timeout removes
// 2500 ms later; not a class, one global shell pointer (null while no splash is shown) and a few
// functions. The drawing of built-in bitmaps and the close that destroys a shell through the
// address of its pointer serve the About window as well.

#include <X11/Intrinsic.h>

struct PlacedBitmap;

// How long the splash stays, in milliseconds.
const unsigned long kWelcomeTimeoutMs = 2500;

// The timer behind the splash's timeout: Xt timeouts, unless a test installs its own to see the
// delay asked for and fire it when it likes, without waiting on a clock.
struct WelcomeTimer {
    XtIntervalId (*add)(XtAppContext app, unsigned long ms, XtTimerCallbackProc proc,
                        XtPointer client);
    void (*remove)(XtIntervalId id);
};

// Installs timer, which must outlive its use; nullptr brings back the Xt timeouts.
void SetWelcomeTimer(const WelcomeTimer* timer);

// The splash's shell, or null.
Widget GetWelcomeShell();

// Creates and shows the splash over the top-level shell and starts its timeout; nothing while a
// splash is shown.
void ShowWelcome();

// The timeout: destroys the splash if it still exists and forgets it.
void WelcomeTimeoutCallback(XtPointer client, XtIntervalId* id);

// client: the address of a shell pointer. Destroys the shell it holds and sets it to null; the
// window-manager close of both windows and the About window's OK.
void DestroyAndClearCallback(Widget widget, XtPointer shellPointer, XtPointer callData);

// The expose callback of the splash's drawing area.
void WelcomeExposeCallback(Widget widget, XtPointer client, XtPointer callData);

// Draws the table's bitmaps in order into the widget's window, each in its colour at its place,
// unless the expose event of callData says that more exposures follow.
void DrawPlacedBitmaps(Widget widget, XtPointer callData, const PlacedBitmap* table, int count);
