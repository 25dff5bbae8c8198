// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "toolkit/WidgetHelpers.h"

#include "ToolkitDisplay.h"
#include "model/data/Matrix.h"

#include <X11/Shell.h>
#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/PushB.h>
#include <Xm/Scale.h>
#include <Xm/ScrollBar.h>
#include <Xm/ScrolledW.h>

namespace {

struct FitCase {
    int viewWidth;
    int viewHeight;
    int cellsX;
    int cellsY;
    int zoom;
};

const FitCase kFits[] = {
    {421, 421, 16, 16, 100},    {421, 421, 64, 64, 25},
    {421, 421, 1000, 1000, 12}, {421, 221, 16, 16, 50},  // the tighter axis decides
    {221, 421, 16, 8, 50},      {1021, 1021, 4, 4, 100}, // never above 100
    {50, 1000, 4, 4, 29}, // 29 / 100 * 100 rounds below 29 when taken in that order
    {10, 10, 4, 4, 12},   // smaller than the margin
    {321, 321, 25, 25, 48},     {321, 321, 26, 26, 46},
};

TEST(WidgetHelpers, FitZoomPercentFitsTheTighterAxisWithin12To100) {
    for (const FitCase& c : kFits) {
        SCOPED_TRACE(std::to_string(c.viewWidth) + "x" + std::to_string(c.viewHeight) + " " +
                     std::to_string(c.cellsX) + "x" + std::to_string(c.cellsY));
        EXPECT_EQ(FitZoomPercent(c.viewWidth, c.viewHeight, c.cellsX, c.cellsY), c.zoom);
    }
}

TEST(WidgetHelpers, CentredPositionMayLieBeforeTheParent) {
    int x = 0;
    int y = 0;
    CentredPosition(200, 100, 100, 50, 400, 300, &x, &y);
    EXPECT_EQ(x, 200);
    EXPECT_EQ(y, 150);
    CentredPosition(601, 401, 100, 50, 400, 300, &x, &y);
    EXPECT_EQ(x, 0); // -100.5 truncated toward zero
    EXPECT_EQ(y, 0);
    CentredPosition(800, 500, 0, 0, 400, 300, &x, &y);
    EXPECT_EQ(x, -200);
    EXPECT_EQ(y, -100);
}

struct ScreenCase {
    int x, y;          // centred position
    int width, height; // of the shell
    int keptX, keptY;
};
// On a screen of 1280 x 1024.
const ScreenCase kScreenCases[] = {
    {100, 50, 200, 100, 100, 50},      // on the screen: unmoved
    {112, -39, 476, 628, 112, 0},      // above the top: down by 39
    {-30, 500, 300, 100, 0, 500},      // before the left edge
    {1100, 950, 300, 100, 980, 924},   // past the right and the bottom edge: left and up
    {-100, -200, 1400, 1100, 0, 0},    // larger than the screen: its top left corner shows
    {0, 1024 - 628, 476, 628, 0, 396}, // touching the bottom edge
};

TEST(WidgetHelpers, KeepOnScreenMovesAsLittleAsNeeded) {
    for (const ScreenCase& c : kScreenCases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        int x = c.x;
        int y = c.y;
        KeepOnScreen(c.width, c.height, 1280, 1024, &x, &y);
        EXPECT_EQ(x, c.keptX);
        EXPECT_EQ(y, c.keptY);
    }
}

class WidgetHelpersGui : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Toolkit().display, nullptr) << "no X display";
        Watchdog(60);
        shell = XtVaCreatePopupShell("helper_shell", topLevelShellWidgetClass, Toolkit().topLevel,
                                     XmNx, 100, XmNy, 50, nullptr);
    }

    void TearDown() override {
        XtDestroyWidget(shell);
        Flush();
    }

    // A scrolled window that scrolls by itself around a drawing area, in a form with a scale.
    void MakeScrolledArea(Dimension areaWidth, Dimension areaHeight) {
        Widget form = XtVaCreateManagedWidget("form", xmFormWidgetClass, shell, nullptr);
        window = XtVaCreateManagedWidget("draw_window", xmScrolledWindowWidgetClass, form,
                                         XmNscrollingPolicy, XmAUTOMATIC, XmNwidth, 300, XmNheight,
                                         250, nullptr);
        draw = XtVaCreateManagedWidget("draw", xmDrawingAreaWidgetClass, window, XmNwidth,
                                       areaWidth, XmNheight, areaHeight, nullptr);
        scale = XtVaCreateManagedWidget("zoom-scale", xmScaleWidgetClass, form, XmNminimum, 12,
                                        XmNmaximum, 150, XmNvalue, 77, XmNorientation, XmHORIZONTAL,
                                        XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, window,
                                        nullptr);
        XtPopup(shell, XtGrabNone);
        Flush();
    }

    int ScaleValue() const {
        int value = 0;
        XmScaleGetValue(scale, &value);
        return value;
    }

    Widget shell = nullptr;
    Widget window = nullptr;
    Widget draw = nullptr;
    Widget scale = nullptr;
};

TEST_F(WidgetHelpersGui, FitZoomFitsTheVisiblePartAndSetsTheScale) {
    MakeScrolledArea(50, 50);
    Widget clip = XtParent(draw);
    Dimension width = 0;
    Dimension height = 0;
    XtVaGetValues(clip, XmNwidth, &width, XmNheight, &height, nullptr);
    const Matrix matrix(32, 24);
    const int zoom = FitZoom(draw, matrix, scale);
    EXPECT_EQ(zoom, FitZoomPercent(width, height, 32, 24));
    EXPECT_GT(zoom, 12);
    EXPECT_LT(zoom, 100);
    EXPECT_EQ(ScaleValue(), zoom);
}

TEST_F(WidgetHelpersGui, FitZoomOutsideAScrolledWindowIs100AndLeavesTheScale) {
    MakeScrolledArea(50, 50);
    Widget loose =
        XtVaCreateManagedWidget("draw", xmDrawingAreaWidgetClass, XtParent(window), nullptr);
    EXPECT_EQ(FitZoom(loose, Matrix(1000, 1000), scale), 100);
    EXPECT_EQ(ScaleValue(), 77);
}

TEST_F(WidgetHelpersGui, ScrollToEndShowsTheBottom) {
    MakeScrolledArea(200, 2000);
    Widget bar = nullptr;
    XtVaGetValues(window, XmNverticalScrollBar, &bar, nullptr);
    ASSERT_NE(bar, nullptr);
    ScrollToEnd(window);
    Flush();
    int value = 0;
    int maximum = 0;
    int sliderSize = 0;
    XtVaGetValues(bar, XmNvalue, &value, XmNmaximum, &maximum, XmNsliderSize, &sliderSize, nullptr);
    EXPECT_GT(value, 0);
    EXPECT_EQ(value, maximum - sliderSize);
    // The scrolled window followed: the drawing area's bottom is at the viewport's bottom.
    Position y = 0;
    Dimension clipHeight = 0;
    XtVaGetValues(draw, XmNy, &y, nullptr);
    XtVaGetValues(XtParent(draw), XmNheight, &clipHeight, nullptr);
    EXPECT_EQ(y + 2000, clipHeight);
}

TEST_F(WidgetHelpersGui, EqualizeWidthsGivesAllTheWidestWidth) {
    Widget form = XtVaCreateManagedWidget("form", xmFormWidgetClass, shell, nullptr);
    Widget a = XtVaCreateManagedWidget("Set All", xmPushButtonWidgetClass, form, nullptr);
    Widget b =
        XtVaCreateManagedWidget("A much longer label", xmPushButtonWidgetClass, form,
                                XmNleftAttachment, XmATTACH_WIDGET, XmNleftWidget, a, nullptr);
    Widget c = XtVaCreateManagedWidget("Mask", xmPushButtonWidgetClass, form, XmNleftAttachment,
                                       XmATTACH_WIDGET, XmNleftWidget, b, nullptr);
    Dimension widest = 0;
    XtVaGetValues(b, XmNwidth, &widest, nullptr);
    EqualizeWidths({});
    EqualizeWidths({a, b, c});
    for (Widget w : {a, b, c}) {
        Dimension width = 0;
        XtVaGetValues(w, XmNwidth, &width, nullptr);
        EXPECT_EQ(width, widest);
    }
}

// Where a shell's window really is on the screen.
void RootPosition(Widget w, int* x, int* y) {
    Window child = 0;
    XTranslateCoordinates(XtDisplay(w), XtWindow(w), RootWindowOfScreen(XtScreen(w)), 0, 0, x, y,
                          &child);
}

struct CentreCase {
    Dimension width;
    Dimension height;
    bool overForm; // the dialog's parent is a form inside the shell, not the shell
};

TEST_F(WidgetHelpersGui, CentreOverParentShowsTheShellCentred) {
    Widget form = XtVaCreateManagedWidget("form", xmFormWidgetClass, shell, XmNwidth, 400,
                                          XmNheight, 300, nullptr);
    Widget inner =
        XtVaCreateManagedWidget("inner", xmFormWidgetClass, form, XmNwidth, 100, XmNheight, 80,
                                XmNleftAttachment, XmATTACH_FORM, XmNleftOffset, 30,
                                XmNtopAttachment, XmATTACH_FORM, XmNtopOffset, 40, nullptr);
    XtPopup(shell, XtGrabNone);
    Flush();
    const CentreCase cases[] = {{200, 100, false}, {600, 400, false}, {50, 40, true}};
    for (const CentreCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + (c.overForm ? " over a form" : ""));
        Widget parent = c.overForm ? inner : shell;
        Widget dialog = XtVaCreatePopupShell("dialog", transientShellWidgetClass, parent, nullptr);
        XtVaCreateManagedWidget("content", xmFormWidgetClass, dialog, XmNwidth, c.width, XmNheight,
                                c.height, nullptr);
        CentreOverParent(dialog);
        Flush();
        int parentX = 0;
        int parentY = 0;
        RootPosition(parent, &parentX, &parentY);
        Dimension parentWidth = 0;
        Dimension parentHeight = 0;
        XtVaGetValues(parent, XmNwidth, &parentWidth, XmNheight, &parentHeight, nullptr);
        int x = 0;
        int y = 0;
        RootPosition(dialog, &x, &y);
        EXPECT_EQ(x, (parentWidth - c.width) / 2 + parentX);
        EXPECT_EQ(y, (parentHeight - c.height) / 2 + parentY);
        XWindowAttributes attributes;
        XGetWindowAttributes(XtDisplay(dialog), XtWindow(dialog), &attributes);
        EXPECT_EQ(attributes.map_state, IsViewable);
        Boolean mapped = False;
        XtVaGetValues(dialog, XmNmappedWhenManaged, &mapped, nullptr);
        EXPECT_TRUE(mapped);
        XtDestroyWidget(dialog);
    }
}

// A dialog taller than the room above its parent, and one over a parent at the screen's right
// edge, are shown fully on the screen.
TEST_F(WidgetHelpersGui, CentreOverParentKeepsTheDialogOnTheScreen) {
    Screen* screen = XtScreen(shell);
    const int screenWidth = WidthOfScreen(screen);
    struct Case {
        int parentX, parentY;
        Dimension width, height;
        int x, y; // expected, -1: centred on that axis
    };
    const Case cases[] = {
        {100, 0, 476, 628, -1, 0},
        {screenWidth - 200, 100, 300, 100, screenWidth - 300, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.parentX);
        XtVaSetValues(shell, XmNx, c.parentX, XmNy, c.parentY, XmNwidth, 400, XmNheight, 300,
                      nullptr);
        XtPopup(shell, XtGrabNone);
        Flush();
        int parentX = 0;
        int parentY = 0;
        RootPosition(shell, &parentX, &parentY);
        Widget dialog = XtVaCreatePopupShell("dialog", transientShellWidgetClass, shell,
                                             XmNborderWidth, 0, nullptr);
        XtVaCreateManagedWidget("content", xmFormWidgetClass, dialog, XmNwidth, c.width, XmNheight,
                                c.height, nullptr);
        CentreOverParent(dialog);
        Flush();
        int x = 0;
        int y = 0;
        RootPosition(dialog, &x, &y);
        EXPECT_EQ(x, c.x >= 0 ? c.x : (400 - c.width) / 2 + parentX);
        EXPECT_EQ(y, c.y >= 0 ? c.y : (300 - c.height) / 2 + parentY);
        XtDestroyWidget(dialog);
        XtPopdown(shell);
    }
}

TEST_F(WidgetHelpersGui, CentreOverParentShowsTheShellOverAParentNotYetShown) {
    XtVaSetValues(shell, XmNwidth, 400, XmNheight, 300, nullptr); // never popped up
    Widget dialog = XtVaCreatePopupShell("dialog", transientShellWidgetClass, shell, nullptr);
    XtVaCreateManagedWidget("content", xmFormWidgetClass, dialog, XmNwidth, 200, XmNheight, 100,
                            nullptr);
    CentreOverParent(dialog);
    Flush();
    ASSERT_TRUE(XtIsRealized(dialog));
    XWindowAttributes attributes;
    XGetWindowAttributes(XtDisplay(dialog), XtWindow(dialog), &attributes);
    EXPECT_EQ(attributes.map_state, IsViewable);
    int x = 0;
    int y = 0;
    RootPosition(dialog, &x, &y);
    EXPECT_EQ(x, (400 - 200) / 2 + 100);
    EXPECT_EQ(y, (300 - 100) / 2 + 50);
}

} // namespace
