#pragma once

// What the benches that drive the program's own windows share: the clock and the median of
// interleaved rounds, the program's windows opened in the bench's process (every message box
// answered at once), and the large architecture files they time.

#include <X11/Intrinsic.h>
#include <X11/Xlib.h>

#include <chrono>
#include <string>
#include <vector>

class MainWindow;

namespace bench {

using Clock = std::chrono::steady_clock;

// Seconds since start.
double Since(Clock::time_point start);
double Median(std::vector<double> values);

// Seconds of f, run after the server has caught up, up to the server having done it all.
template <typename F> double Timed(Display* display, F f) {
    XSync(display, False);
    Clock::time_point start = Clock::now();
    f();
    XSync(display, False);
    return Since(start);
}

// The part of the window that can be seen on the screen, in its own coordinates: its rectangle
// cut by every ancestor's up to the root, as the server has them.
XRectangle SeenPart(Display* display, Window window);

// The main window, realized and centred on the display in DISPLAY, with the program's resources
// and services set up as its start does; a box would wait for a user, so every question is
// answered No and every message OK. Null without a display.
MainWindow* OpenProgram(XtAppContext& app);

// Chains of INPUT, four MASK and four JOIN elements in turn, OUTPUT, one chain a row, count
// elements in all, placed on the main window and written to path as the program writes an
// architecture file; the window is left holding them, unmodified. The rows go on below the
// working area, or, with onWorkingArea, start again at its top, a little further right each time,
// so that every element lies on the working area and is drawn.
void WriteChains(MainWindow& main, int count, const std::string& path, bool onWorkingArea = false);

} // namespace bench
