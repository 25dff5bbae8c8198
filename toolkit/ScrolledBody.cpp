#include "toolkit/ScrolledBody.h"

#include <Xm/ScrolledW.h>
#include <Xm/Xm.h>

#include <algorithm>

#include "toolkit/WidgetHelpers.h"

namespace {

struct Axis {
    int size;
    bool scrolls;
};

// One axis before the other's scroll bar is known: the contents or the room left.
Axis FitAxis(int natural, int other, int room) {
    const int left = room - other;
    if (natural <= left) return {natural, false};
    return {left, true};
}

int OuterWidth(Widget widget) {
    Dimension width = 0;
    Dimension border = 0;
    XtVaGetValues(widget, XmNwidth, &width, XmNborderWidth, &border, nullptr);
    return width + 2 * border;
}

int OuterHeight(Widget widget) {
    Dimension height = 0;
    Dimension border = 0;
    XtVaGetValues(widget, XmNheight, &height, XmNborderWidth, &border, nullptr);
    return height + 2 * border;
}

// The room a scroll bar takes across: shown, it takes its highlight on both sides besides the
// width it measures.
int BarThickness(Widget bar, bool vertical) {
    if (bar == nullptr) return 0;
    Dimension highlight = 0;
    XtVaGetValues(bar, XmNhighlightThickness, &highlight, nullptr);
    return (vertical ? OuterWidth(bar) : OuterHeight(bar)) + 2 * highlight;
}

// The keyboard focus moving to a field the view hides, or hides in part, scrolls it into view.
void ShowFocusCallback(Widget body, XtPointer, XtPointer callData) {
    auto* data = static_cast<XmTraverseObscuredCallbackStruct*>(callData);
    if (data != nullptr && data->traversal_destination != nullptr) {
        XmScrollVisible(body, data->traversal_destination, 0, 0);
    }
}

// Makes a shell wider and taller by so many pixels (smaller for negative ones).
void ResizeShellBy(Widget shell, int width, int height) {
    Dimension shellWidth = 0;
    Dimension shellHeight = 0;
    XtVaGetValues(shell, XmNwidth, &shellWidth, XmNheight, &shellHeight, nullptr);
    XtVaSetValues(shell, XmNwidth, static_cast<Dimension>(std::max(shellWidth + width, 1)),
                  XmNheight, static_cast<Dimension>(std::max(shellHeight + height, 1)), nullptr);
}

} // namespace

BodySize FitBody(int naturalWidth, int naturalHeight, int otherWidth, int otherHeight,
                 int roomWidth, int roomHeight, int barWidth, int barHeight) {
    Axis x = FitAxis(naturalWidth, otherWidth, roomWidth);
    Axis y = FitAxis(naturalHeight, otherHeight, roomHeight);
    // A scroll bar along one axis takes room from the other.
    if (y.scrolls && !x.scrolls) x = FitAxis(naturalWidth + barWidth, otherWidth, roomWidth);
    if (x.scrolls && !y.scrolls) y = FitAxis(naturalHeight + barHeight, otherHeight, roomHeight);
    if (y.scrolls && !x.scrolls) x = FitAxis(naturalWidth + barWidth, otherWidth, roomWidth);
    return {std::max(x.size, 1), std::max(y.size, 1), x.scrolls, y.scrolls};
}

Widget CreateScrolledBody(Widget parent) {
    Widget body = XtVaCreateManagedWidget(
        "body", xmScrolledWindowWidgetClass, parent, XmNscrollingPolicy, XmAUTOMATIC,
        XmNscrollBarDisplayPolicy, XmAS_NEEDED, XmNscrolledWindowMarginWidth, 0,
        XmNscrolledWindowMarginHeight, 0, XmNshadowThickness, 0, XmNspacing, 0, nullptr);
    // The view's keys (Home, End, the page keys) would scroll it instead of reaching the text
    // fields in it; the view follows the keyboard focus all the same.
    Widget clip = nullptr;
    XtVaGetValues(body, XmNclipWindow, &clip, nullptr);
    if (clip != nullptr) XtUninstallTranslations(clip);
    XtAddCallback(body, XmNtraverseObscuredCallback, ShowFocusCallback, nullptr);
    return body;
}

void FitScrolledBody(Widget body, Widget contents) {
    Widget shell = body;
    while (shell != nullptr && !XtIsShell(shell))
        shell = XtParent(shell);
    if (shell == nullptr) return;
    // Realized, the shell has laid the contents out at their own size, but the scrolled window at
    // one of its own: it is given theirs.
    if (!XtIsRealized(shell)) XtRealizeWidget(shell);
    Dimension contentsWidth = 0;
    Dimension contentsHeight = 0;
    Dimension border = 0;
    XtVaGetValues(contents, XmNwidth, &contentsWidth, XmNheight, &contentsHeight, XmNborderWidth,
                  &border, nullptr);
    const int naturalWidth = contentsWidth + 2 * border;
    const int naturalHeight = contentsHeight + 2 * border;
    // A realized shell follows a request of its child only when it allows that.
    Boolean allowResize = False;
    XtVaGetValues(shell, XmNallowShellResize, &allowResize, nullptr);
    XtVaSetValues(shell, XmNallowShellResize, True, nullptr);
    XtVaSetValues(body, XmNwidth, static_cast<Dimension>(naturalWidth), XmNheight,
                  static_cast<Dimension>(naturalHeight), nullptr);
    XtVaSetValues(shell, XmNallowShellResize, allowResize, nullptr);

    Widget verticalBar = nullptr;
    Widget horizontalBar = nullptr;
    Widget clip = nullptr;
    XtVaGetValues(body, XmNverticalScrollBar, &verticalBar, XmNhorizontalScrollBar, &horizontalBar,
                  XmNclipWindow, &clip, nullptr);
    int frameWidth = 0;
    int frameHeight = 0;
    FrameAllowance(shell, &frameWidth, &frameHeight);
    const int otherWidth = OuterWidth(shell) - OuterWidth(body) + frameWidth;
    const int otherHeight = OuterHeight(shell) - OuterHeight(body) + frameHeight;
    const BodySize size =
        FitBody(naturalWidth, naturalHeight, otherWidth, otherHeight,
                WidthOfScreen(XtScreen(shell)), HeightOfScreen(XtScreen(shell)),
                BarThickness(verticalBar, true), BarThickness(horizontalBar, false));
    if (size.scrollsX || size.scrollsY) {
        // The shell is made smaller, and its form shrinks the body, which is attached on every
        // side, not the button row.
        ResizeShellBy(shell, size.width - OuterWidth(body), size.height - OuterHeight(body));
        return;
    }
    // A scrolled window leaves contents smaller than its view at their size: they are stretched,
    // as the dialog's form stretches what it holds (a button row wider than the contents).
    if (clip == nullptr) return;
    const int viewWidth = OuterWidth(clip) - 2 * border;
    const int viewHeight = OuterHeight(clip) - 2 * border;
    if (contentsWidth < viewWidth || contentsHeight < viewHeight) {
        XtVaSetValues(contents, XmNwidth,
                      static_cast<Dimension>(std::max<int>(contentsWidth, viewWidth)), XmNheight,
                      static_cast<Dimension>(std::max<int>(contentsHeight, viewHeight)), nullptr);
    }
}
