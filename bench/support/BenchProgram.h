#pragma once

// What the benches that drive the program's own windows share: the clock and the median of
// interleaved rounds, the program's windows opened in the bench's process (every message box
// answered at once), and the large architecture files they time.

#include <X11/Intrinsic.h>
#include <X11/Xlib.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

class AElement;
class MainWindow;
class Matrix;

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

// One drawing against its floor, one XPutImage of the part of the drawing area seen, at the depth
// and visual of its window: medians of interleaved pairs, in seconds.
struct PutImageFloor {
    XRectangle seen;
    int depth;
    double drawn;
    double put;
    double ratio;
};

// Times draw against the floor of area in that many interleaved pairs; false when no part of area
// can be seen.
bool AgainstPutImage(Widget area, const std::function<void()>& draw, int pairs,
                     PutImageFloor& figures);

// The element, its first input and output planes width x height, made with its data and placed
// on the main window.
void AddWithPlanes(MainWindow& main, AElement* element, int width, int height);

// About half the cells set, the same ones on every run.
void FillHalf(Matrix& plane);

// The rounds the command line asks for (its first word), 3 without one, at least 1.
int Rounds(int argc, char** argv);

// HOME on a new folder below /tmp, so that no settings of the user's are read or written, and the
// program opened in it as OpenProgram does. Null after saying why (the bench's name first where it
// has no display) when it cannot be opened.
MainWindow* OpenInScratchHome(const char* name, XtAppContext& app, std::string& folder);

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
