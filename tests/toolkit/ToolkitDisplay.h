#pragma once

#include <X11/Intrinsic.h>

#include <functional>

// The one display of a GUI test process: opened on first use with the program's class and the
// look of its fallback resources, with the palette, the stipple, the matrix contexts and the
// repeat timer's application context set up as start-up does, and every refusal bell counted.
struct ToolkitDisplay {
    XtAppContext app = nullptr;
    Display* display = nullptr;
    Widget topLevel = nullptr; // realized, 400 by 300, at (0, 0)
};

// nullptr display when no X server could be reached.
ToolkitDisplay& Toolkit();

// Bells rung since the last ResetBells, and the volume of the last one.
int BellCount();
int LastBellVolume();
void ResetBells();

// Processes events until done() holds or timeoutMs has passed; returns done().
bool RunUntil(const std::function<bool()>& done, int timeoutMs);
// Processes events for ms milliseconds.
void RunFor(int ms);
// Sends everything to the server and handles what is queued.
void Flush();

// Milliseconds of a steady clock.
long long NowMs();

// Synthetic events for driving widgets through their actions.
// Button 1 at (x, y) of w.
XEvent ButtonEvent(Widget w, int type, int x = 2, int y = 2);
XEvent KeyEvent(Widget w, unsigned long keysym);
XEvent FocusEvent(Widget w, int type);

// Runs action on widget through XtCallActionProc with event.
void CallAction(Widget w, const char* action, XEvent* event, const char* param = nullptr);

// A real click through the server on a button of a message box (its gadgets are
// XmMessageBoxGetChild children).
void ClickMessageButton(Widget box, unsigned char child);
// What a window manager sends to a shell when the user closes its window.
void SendDeleteWindow(Widget shell);

// Kills the test process after seconds, so that a modal loop that is never answered fails
// the test instead of hanging it.
void Watchdog(unsigned seconds);
