#pragma once

// What every GUI test process shares: the one X display it opens, as the program opens its own
// (the program's fallback resources, the class "QUIRAN", a top-level application shell at
// (0, 0)), the bells its widgets ring, and running the event loop for a while, until something
// holds, or inside an event's dispatch as callbacks run. The helpers work on the display opened
// last.

#include <X11/Intrinsic.h>

#include <functional>

namespace testgui {

struct GuiDisplay {
    XtAppContext app = nullptr;
    Display* display = nullptr; // null when no X server could be reached
    Widget topLevel = nullptr;
};

// Opens the display under the application name: the toolkit's application context with the
// shell's fallback resources and the unrealized top-level shell at (0, 0), width by height
// pixels when they are not 0.
GuiDisplay OpenGuiDisplay(const char* name, Dimension width = 0, Dimension height = 0);

// A display for windows without the program's main window: 400 by 300 at (0, 0), with the
// palette, the stipple, the matrix contexts and the repeat timer's application context set up as
// start-up does, every bell counted, realized.
GuiDisplay OpenToolkitDisplay(const char* name);

// The display opened last.
GuiDisplay& CurrentDisplay();

// Bells rung since the last ResetBells, and the volume of the last one; CountBells makes every
// bell of the toolkit counted instead of rung.
void CountBells();
int BellCount();
int LastBellVolume();
void ResetBells();

// Milliseconds of a steady clock.
long long NowMs();

// Processes events of app until done() holds or ms milliseconds have passed.
void ProcessFor(XtAppContext app, int ms, const std::function<bool()>& done = nullptr);
// The same on the current display; returns done().
bool RunUntil(const std::function<bool()>& done, int timeoutMs = 2000);
void RunFor(int ms);
// Sends everything to the server and handles the X events and inputs that are queued.
void Flush();
// Sends everything to the server and handles all that is pending, due timers included.
void FlushAll();

// Runs work inside the dispatch of an event, as callbacks run, so that widgets destroyed by it go
// at the end of the dispatch, not under the action that is still running.
void RunInDispatch(const std::function<void()>& work);

} // namespace testgui
