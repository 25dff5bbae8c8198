#pragma once

// The end-to-end tests' own connection to the X server: finding the program's windows by their
// WM_NAME and its buttons by their place in the window tree, where they lie on the screen, and
// what a window manager sends. Nothing here waits a fixed time: waits poll for an effect.

#include <X11/Xlib.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/program/ProgramDriver.h"

namespace e2e {

struct Point {
    int x, y;
};

// The buttons of the main window's tool bar, in the order the program lays them out.
enum class Tool { kNew, kOpen, kSave, kDelete, kElementList, kOverview, kSimulate };

class Screen {
public:
    // slowness multiplies every deadline (a sanitized program takes longer for every step).
    explicit Screen(int slowness = Slowness());
    ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    bool Ok() const { return display != nullptr; }
    Display* GetDisplay() const { return display; }

    // A viewable window whose WM_NAME is name (or begins with it), found by walking the tree;
    // 0 for none.
    Window Find(const std::string& name, bool prefix = false);
    // Polls for that window until the deadline; 0 when it did not come.
    Window WaitForWindow(const std::string& name, bool prefix = false, int ms = kTimeoutMs);
    // Polls until no such window is viewable; false when one still is at the deadline.
    bool WaitGone(const std::string& name, int ms = kTimeoutMs);

    Point RootOf(Window window);
    Point Size(Window window);
    // The middle of the window on the screen.
    Point Middle(Window window);
    // The top-level window that holds window (the frame a window manager put around it, or the
    // window itself): its place on the screen and its outer size, borders included.
    void Frame(Window window, Point* at, Point* size);
    // The size of the screen.
    Point ScreenSize();

    // Every viewable descendant of window with its attributes, depth first.
    void Walk(Window window, const std::function<void(Window, const XWindowAttributes&)>& visit);
    // The first viewable descendant of exactly that size, 0 for none.
    Window FindBySize(Window window, int width, int height);

    // The tool bar button of a main window: the row of equal square buttons below the menu bar,
    // counted from the left; 0 until the tool bar is up.
    Window ToolButton(Window main, Tool tool);
    // Polls until the whole tool bar is up and laid out and returns the middle of the button;
    // {-1, -1} at the deadline.
    Point WaitForToolButton(Window main, Tool tool, int ms = kTimeoutMs);

    // The entry of a main window's menu bar counted from the left (File is 0): the topmost row of
    // buttons; 0 until the menu bar is up.
    Window MenuBarEntry(Window main, int index);

    // The viewable override-redirect child of the root that a popup menu is: without a name and
    // larger than a tooltip; 0 for none.
    Window PoppedMenu();

    // The middle of the button that lies fromRight places from the right in the window's lowest
    // row of push buttons (windows 40 to 200 wide and 18 to 45 high without viewable windows
    // inside: a small dialog's action area has a button's size too, and clicking its middle hits
    // the gap between OK and Cancel); {-1, -1} when there is none.
    // A wider dialog's buttons may be up to maxWidth wide. Only windows that every window
    // between them and window shows whole count (not the rows a scrolled part hides).
    Point ButtonInLowestRow(Window window, int fromRight, int maxWidth = 200);

    // The text field of a file dialog in which the chosen file is typed: the lowest of the two
    // wide, one-line windows of the dialog (the other is the filter; the buttons are gadgets).
    Window SelectionField(Window dialog);

    // What a window manager sends when the user closes a window.
    void SendDeleteWindow(Window window);

    // Once the welcome splash (which covers it until its timeout) is gone, presses button 1 at
    // (x, y) of the main window's working area (the only window of 1500 x 1000), drags it 60
    // pixels down in six steps and lets go; false when there is no working area.
    bool DragDownOnWorkingArea(int x, int y);

private:
    std::string Name(Window window);
    void Children(Window window,
                  const std::function<void(Window, const XWindowAttributes&)>& visit);
    bool HasViewableChild(Window window);
    // Whether every ancestor of window below top holds it whole.
    bool WhollyShown(Window window, Window top);
    // The viewable leaf windows below window that satisfy take, grouped by their parent, each
    // group sorted from the left.
    std::vector<std::vector<Window>>
    LeafRows(Window window, const std::function<bool(const XWindowAttributes&)>& take);
    Window Search(Window window, const std::string& name, bool prefix);

    Display* display;
    int slowness;
};

} // namespace e2e
