#pragma once

// The overview window of an architecture window with a working area (the main window, macro
// windows): shell "Elements", title "Overview", showing the whole 1500 x 1000 working area
// scaled into the drawing area "view_area": every element as a rectangle outline and the visible
// part of the working area as a thick XOR rectangle, which the mouse drags to scroll the working
// area. Its owner keeps it until it is closed (View > Overview, the window manager's close) and
// deletes it with itself; it owns its shell and its two graphics contexts.

#include <X11/Intrinsic.h>

#include <cstdint>

class ArchitectureWindow;

// A rectangle in view-area pixels.
struct OverviewRect {
    int x;
    int y;
    int width;
    int height;
};

// The scale factors for a view area of width by height pixels: the working area's size divided
// by it, held in single precision.
float OverviewScaleX(int width);
float OverviewScaleY(int height);
// A working-area coordinate in the view area (truncated).
int ToOverview(int coordinate, float scale);
// A view-area coordinate on the working area: the integer part of v x 1500 / width (or
// v x 1000 / height).
int FromOverviewX(int v, int width);
int FromOverviewY(int v, int height);
// An element's outline in the view area; a width or height of 0 becomes 1.
OverviewRect ElementOutline(int x, int y, int width, int height, float sx, float sy);
// The visible part (x1, y1) .. (x2, y2) of the working area in the view area.
OverviewRect VisibleOutline(int x1, int y1, int x2, int y2, float sx, float sy);
// Whether the point lies inside (left and top edges included, right and bottom excluded).
bool InsideOutline(const OverviewRect& rect, int px, int py);
// Whether any of the outline falls into a view area of width by height pixels (the drawing
// requests hold 16-bit coordinates only, so one far off must not be sent).
bool OutlineInView(const OverviewRect& rect, int width, int height);
// Keeps a dragged rectangle in a view area of width by height pixels: its right and bottom sides
// at most at width - 1 and height - 1, then not left of or above 0.
void ClampOutline(OverviewRect& rect, int width, int height);

class OverviewWindow {
public:
    // Builds the shell over the owner's shell and shows it at once.
    explicit OverviewWindow(ArchitectureWindow* owner);
    // Destroys the shell and sets the owner's Overview toggle off, which also makes the owner
    // forget this window (unless the owner let go of it first).
    ~OverviewWindow();
    OverviewWindow(const OverviewWindow&) = delete;
    OverviewWindow& operator=(const OverviewWindow&) = delete;

    // The move cursor and the XOR context of the drag outline, made once at start-up for all
    // overviews (an overview made without them makes them itself).
    static void InitCursor(Widget topLevel);

    void CreateWidgets();
    // Clears the view area, outlines every element of the owner and draws the visible area.
    void Redraw();
    // Takes the view area's new size and redraws.
    void Resize();
    // The owner's working area scrolled or changed size: the visible-area rectangle moves.
    void UpdateVisibleRect();
    // The visible-area rectangle as last drawn, in view-area pixels.
    void GetVisibleArea(int& x, int& y, int& width, int& height) const;
    void SetVisibleArea(int x, int y, int width, int height);
    // The rectangle's place becomes (x, y) and the owner's working area scrolls to match.
    void ScrollTo(int x, int y);

    Widget GetShell() const { return shell; }
    Widget GetViewArea() const { return viewArea; }

    // Presses, releases and motion on the view area: dragging the visible-area rectangle.
    static void InputHandler(Widget widget, XtPointer self, XEvent* event, Boolean* go);

private:
    void HandleInput(const XEvent& event);
    // Erases the drag outline, moves it to follow the pointer, keeps it inside, draws it again.
    void MoveDragOutline(int px, int py);
    void DrawOutline(GC gc, const OverviewRect& rect);
    // The shell was destroyed from outside (with its parent): forget every widget.
    void ShellDestroyed();
    static void ExposeCallback(Widget widget, XtPointer self, XtPointer callData);
    static void ResizeCallback(Widget widget, XtPointer self, XtPointer callData);
    static void CloseCallback(Widget widget, XtPointer self, XtPointer callData);
    static void ShellDestroyedCallback(Widget widget, XtPointer self, XtPointer callData);

    ArchitectureWindow* owner;
    Widget shell;
    Widget viewArea;
    Display* display;
    Window window;
    GC elementGC;
    GC visibleGC;
    Widget drawingWidget; // the owner's working area
    uint16_t width;       // of the view area, pixels
    uint16_t height;
    int visibleX; // the visible-area rectangle as last drawn, view-area pixels
    int visibleWidth;
    int visibleY;
    int visibleHeight;
};
