#include "toolkit/WidgetHelpers.h"

#include "model/data/Matrix.h"
#include "toolkit/OwnedXmString.h"

#include <Xm/Scale.h>
#include <Xm/ScrollBar.h>
#include <Xm/ScrolledW.h>

#include <algorithm>

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

    Widget parent = XtParent(shell);
    Dimension width = 0;
    Dimension height = 0;
    Dimension parentWidth = 0;
    Dimension parentHeight = 0;
    Position parentX = 0;
    Position parentY = 0;
    XtVaGetValues(shell, XmNwidth, &width, XmNheight, &height, nullptr);
    XtVaGetValues(parent, XmNwidth, &parentWidth, XmNheight, &parentHeight, nullptr);
    if (XtIsShell(parent)) {
        XtVaGetValues(parent, XmNx, &parentX, XmNy, &parentY, nullptr);
    } else {
        // A widget's x and y are relative to its own parent; the shell needs root coordinates.
        XtTranslateCoords(parent, 0, 0, &parentX, &parentY);
    }
    int x = 0;
    int y = 0;
    CentredPosition(width, height, parentX, parentY, parentWidth, parentHeight, &x, &y);
    Dimension border = 0;
    XtVaGetValues(shell, XmNborderWidth, &border, nullptr);
    KeepOnScreen(width + 2 * border, height + 2 * border, WidthOfScreen(XtScreen(shell)),
                 HeightOfScreen(XtScreen(shell)), &x, &y);
    XtVaSetValues(shell, XmNx, x, XmNy, y, nullptr);

    XMapWindow(XtDisplay(shell), XtWindow(shell));
    XtVaSetValues(shell, XmNmappedWhenManaged, mapped, nullptr);
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
