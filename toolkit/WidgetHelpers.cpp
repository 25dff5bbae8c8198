#include "toolkit/WidgetHelpers.h"

#include "model/data/Matrix.h"
#include "toolkit/OwnedXmString.h"

#include <X11/Xutil.h>
#include <Xm/MwmUtil.h>
#include <Xm/Scale.h>
#include <Xm/ScrollBar.h>
#include <Xm/ScrolledW.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <time.h>

namespace {

constexpr int kCellPixelsAt100 = 25;
constexpr int kDrawMargin = 21; // pixels around a drawn matrix
constexpr int kMinFitZoom = 12;
constexpr int kMaxFitZoom = 100;

int FitAxis(int view, int cells) {
    // (view - 21) / (25 cells) * 100, taken as one quotient of integers so that an exact zoom
    // is not lost to rounding; truncated toward zero.
    return static_cast<int>(static_cast<double>(view - kDrawMargin) * 100.0 /
                            (static_cast<double>(kCellPixelsAt100) * std::max(cells, 1)));
}

// Whether the window manager is asked for a title bar above the shell: for the title, or for the
// window menu, minimize or maximize button that sit in it (Motif's decoration hints: all of them
// by default; with MWM_DECOR_ALL the others listed are left out).
bool HasTitleBar(Widget shell) {
    int decorations = -1;
    XtVaGetValues(shell, XmNmwmDecorations, &decorations, nullptr);
    if (decorations == -1) return true;
    const int inTitleBar =
        MWM_DECOR_TITLE | MWM_DECOR_MENU | MWM_DECOR_MINIMIZE | MWM_DECOR_MAXIMIZE;
    if ((decorations & MWM_DECOR_ALL) != 0) return (decorations & inTitleBar) != inTitleBar;
    return (decorations & inTitleBar) != 0;
}

// The decoration a window manager put around a top-level window, in pixels on each side (all 0
// when the window is not in a frame).
struct FrameExtents {
    int left, top, right, bottom;
};

FrameExtents FrameAround(Display* display, Window window) {
    FrameExtents extents = {0, 0, 0, 0};
    // The frame is the ancestor that is a child of the root window.
    Window frame = window;
    for (;;) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, frame, &root, &parent, &children, &count)) return extents;
        if (children != nullptr) XFree(children);
        if (parent == root || parent == 0) break;
        frame = parent;
    }
    if (frame == window) return extents;
    XWindowAttributes client;
    XWindowAttributes outer;
    if (!XGetWindowAttributes(display, window, &client) ||
        !XGetWindowAttributes(display, frame, &outer)) {
        return extents;
    }
    int clientX = 0;
    int clientY = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, outer.root, 0, 0, &clientX, &clientY, &child);
    extents.left = clientX - outer.x;
    extents.top = clientY - outer.y;
    extents.right = outer.x + outer.width + 2 * outer.border_width - (clientX + client.width);
    extents.bottom = outer.y + outer.height + 2 * outer.border_width - (clientY + client.height);
    return extents;
}

// The frame a window manager is expected to put around shell once it is shown: the one it put
// around the shell of the shell's parent, without the title bar when the shell asks for none.
FrameExtents ExpectedFrame(Widget shell) {
    FrameExtents frame = {0, 0, 0, 0};
    Widget parentShell = XtParent(shell);
    while (parentShell != nullptr && !XtIsShell(parentShell))
        parentShell = XtParent(parentShell);
    if (parentShell == nullptr || !XtIsRealized(parentShell)) return frame;
    frame = FrameAround(XtDisplay(shell), XtWindow(parentShell));
    if (!HasTitleBar(shell)) frame.top = frame.bottom; // a frame of borders alone
    return frame;
}

} // namespace

void ScrollToEnd(Widget scrolledWindow) {
    Widget bar = nullptr;
    XtVaGetValues(scrolledWindow, XmNverticalScrollBar, &bar, nullptr);
    if (bar == nullptr) {
        return;
    }
    int maximum = 0;
    int sliderSize = 0;
    int increment = 0;
    int pageIncrement = 0;
    XtVaGetValues(bar, XmNmaximum, &maximum, XmNsliderSize, &sliderSize, XmNincrement, &increment,
                  XmNpageIncrement, &pageIncrement, nullptr);
    XmScrollBarSetValues(bar, maximum - sliderSize, sliderSize, increment, pageIncrement, True);
}

int FitZoomPercent(int viewWidth, int viewHeight, int cellsX, int cellsY) {
    int z = std::min(FitAxis(viewWidth, cellsX), FitAxis(viewHeight, cellsY));
    if (z < kMinFitZoom) {
        z = kMinFitZoom;
    }
    if (z > kMaxFitZoom) {
        z = kMaxFitZoom;
    }
    return z;
}

int FitZoom(Widget drawingArea, const Matrix& matrix, Widget scale) {
    Widget view = XtParent(drawingArea);
    if (view == nullptr || XtParent(view) == nullptr || !XmIsScrolledWindow(XtParent(view))) {
        return kMaxFitZoom;
    }
    Dimension width = 0;
    Dimension height = 0;
    XtVaGetValues(view, XmNwidth, &width, XmNheight, &height, nullptr);
    const int z = FitZoomPercent(width, height, matrix.GetDimX(), matrix.GetDimY());
    XmScaleSetValue(scale, z);
    return z;
}

void EqualizeWidths(std::initializer_list<Widget> widgets) {
    Dimension widest = 0;
    for (Widget widget : widgets) {
        Dimension width = 0;
        XtVaGetValues(widget, XmNwidth, &width, nullptr);
        widest = std::max(widest, width);
    }
    for (Widget widget : widgets) {
        XtVaSetValues(widget, XmNwidth, widest, nullptr);
    }
}

void CentredPosition(int width, int height, int parentX, int parentY, int parentWidth,
                     int parentHeight, int* x, int* y) {
    *x = (parentWidth - width) / 2 + parentX;
    *y = (parentHeight - height) / 2 + parentY;
}

void KeepOnScreen(int width, int height, int screenWidth, int screenHeight, int* x, int* y) {
    if (*x + width > screenWidth) *x = screenWidth - width;
    if (*y + height > screenHeight) *y = screenHeight - height;
    if (*x < 0) *x = 0;
    if (*y < 0) *y = 0;
}

void PlaceOverParent(Widget shell) {
    Widget parent = XtParent(shell);
    Display* display = XtDisplay(shell);
    int parentX = 0;
    int parentY = 0;
    int parentWidth = 0;
    int parentHeight = 0;
    FrameExtents frame = {0, 0, 0, 0};
    XWindowAttributes attributes;
    if (XtIsRealized(parent) && XGetWindowAttributes(display, XtWindow(parent), &attributes)) {
        // Where the parent really is: a window manager moves a shell without telling its x and
        // y resources.
        Window child = 0;
        XTranslateCoordinates(display, XtWindow(parent), attributes.root, 0, 0, &parentX, &parentY,
                              &child);
        parentWidth = attributes.width;
        parentHeight = attributes.height;
        frame = ExpectedFrame(shell);
    } else {
        Dimension width = 0;
        Dimension height = 0;
        Position x = 0;
        Position y = 0;
        XtVaGetValues(parent, XmNwidth, &width, XmNheight, &height, nullptr);
        if (XtIsShell(parent)) {
            XtVaGetValues(parent, XmNx, &x, XmNy, &y, nullptr);
        } else {
            // A widget's x and y are relative to its own parent; the shell needs root coordinates.
            XtTranslateCoords(parent, 0, 0, &x, &y);
        }
        parentX = x;
        parentY = y;
        parentWidth = width;
        parentHeight = height;
    }
    Dimension width = 0;
    Dimension height = 0;
    Dimension border = 0;
    XtVaGetValues(shell, XmNwidth, &width, XmNheight, &height, XmNborderWidth, &border, nullptr);
    int x = 0;
    int y = 0;
    CentredPosition(width, height, parentX, parentY, parentWidth, parentHeight, &x, &y);
    // A window manager puts the frame where the shell asks to be, and the shell inside it.
    x -= frame.left;
    y -= frame.top;
    KeepOnScreen(width + 2 * border + frame.left + frame.right,
                 height + 2 * border + frame.top + frame.bottom, WidthOfScreen(XtScreen(shell)),
                 HeightOfScreen(XtScreen(shell)), &x, &y);
    XtVaSetValues(shell, XmNx, x, XmNy, y, nullptr);
}

void CentreOverParent(Widget shell) {
    Boolean mapped = False;
    XtVaGetValues(shell, XmNmappedWhenManaged, &mapped, nullptr);
    XtVaSetValues(shell, XmNmappedWhenManaged, False, nullptr);
    // Managed but not mapped: the shell computes its size without showing itself.
    XtManageChild(shell);
    // Managing realizes the shell only under a realized parent; mapping needs its window.
    if (!XtIsRealized(shell)) {
        XtRealizeWidget(shell);
    }
    PlaceOverParent(shell);
    XMapWindow(XtDisplay(shell), XtWindow(shell));
    XtVaSetValues(shell, XmNmappedWhenManaged, mapped, nullptr);
}

void WaitUntilShown(Widget shell, int timeoutMs) {
    if (shell == nullptr || !XtIsRealized(shell)) return;
    Boolean mapped = False;
    int initialState = NormalState;
    XtVaGetValues(shell, XmNmappedWhenManaged, &mapped, XmNinitialState, &initialState, nullptr);
    if (!mapped || initialState == IconicState) return;
    Display* display = XtDisplay(shell);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        XSync(display, False);
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, XtWindow(shell), &attributes)) return;
        if (attributes.map_state == IsViewable || std::chrono::steady_clock::now() >= end) return;
        const struct timespec pause = {0, 10 * 1000 * 1000};
        if (nanosleep(&pause, nullptr) != 0 && errno != EINTR) {
            perror("nanosleep");
            return;
        }
    }
}

void FrameAllowance(Widget shell, int* width, int* height) {
    const FrameExtents frame = ExpectedFrame(shell);
    *width = frame.left + frame.right;
    *height = frame.top + frame.bottom;
}

void LimitToScreen(Widget shell, int* width, int* height) {
    int frameWidth = 0;
    int frameHeight = 0;
    FrameAllowance(shell, &frameWidth, &frameHeight);
    const int roomWidth = std::max(WidthOfScreen(XtScreen(shell)) - frameWidth, 1);
    const int roomHeight = std::max(HeightOfScreen(XtScreen(shell)) - frameHeight, 1);
    if (*width > roomWidth) *width = roomWidth;
    if (*height > roomHeight) *height = roomHeight;
}

int LabelShortfall(Widget label) {
    XmString text = nullptr;
    XmRenderTable table = nullptr;
    Dimension width = 0, marginWidth = 0, marginLeft = 0, marginRight = 0, shadow = 0;
    Dimension highlight = 0;
    XtVaGetValues(label, XmNlabelString, &text, XmNrenderTable, &table, XmNwidth, &width,
                  XmNmarginWidth, &marginWidth, XmNmarginLeft, &marginLeft, XmNmarginRight,
                  &marginRight, XmNshadowThickness, &shadow, XmNhighlightThickness, &highlight,
                  nullptr);
    const OwnedXmString copy(text); // the label hands out a copy of its string
    const int needed = XmStringWidth(table, copy.Get()) + 2 * (marginWidth + shadow + highlight) +
                       marginLeft + marginRight;
    return needed - width;
}
