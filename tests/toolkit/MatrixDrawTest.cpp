// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "toolkit/MatrixDraw.h"

#include "ToolkitDisplay.h"
#include "model/data/Matrix.h"
#include "toolkit/Colors.h"
#include "toolkit/MatrixGeometry.h"

#include <X11/Shell.h>
#include <X11/Xutil.h>
#include <Xm/DrawingA.h>
#include <Xm/ScrollBar.h>
#include <Xm/ScrolledW.h>

#include <algorithm>

namespace {

// A 4 by 3 matrix drawn at zoom 100 (pitch 25) into a gray90 drawing area.
class MatrixDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Toolkit().display, nullptr) << "no X display";
        Watchdog(60);
        shell = XtVaCreatePopupShell("matrix_shell", topLevelShellWidgetClass, Toolkit().topLevel,
                                     XmNx, 700, XmNy, 500, nullptr);
        draw = XtVaCreateManagedWidget("draw", xmDrawingAreaWidgetClass, shell, XmNwidth, 121,
                                       XmNheight, 96, XmNbackground, GetGray90(), nullptr);
        XtPopup(shell, XtGrabNone);
        Flush();
        // Other test processes share the server: hold it, so that no window of theirs covers
        // this one between drawing and reading back.
        XGrabServer(XtDisplay(shell));
        XRaiseWindow(XtDisplay(shell), XtWindow(shell));
        XSync(XtDisplay(shell), False);
        matrix.SetBit(0, 0, 1);
        matrix.SetBit(3, 2, 1);
    }

    void TearDown() override {
        XUngrabServer(XtDisplay(shell));
        XtDestroyWidget(shell);
        Flush();
    }

    Pixel At(int x, int y) {
        XImage* image = XGetImage(XtDisplay(draw), XtWindow(draw), x, y, 1, 1, AllPlanes, ZPixmap);
        const Pixel pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return pixel;
    }

    Widget shell = nullptr;
    Widget draw = nullptr;
    Matrix matrix{4, 3};
};

TEST_F(MatrixDrawTest, DrawPaintsFrameGridAndStippledSetCells) {
    Draw(matrix, draw, 100, 1);
    const Pixel black = GetBlack();
    const Pixel gray90 = GetGray90();
    EXPECT_EQ(At(9, 9), black);    // frame
    EXPECT_EQ(At(110, 85), black); // frame's far corner
    EXPECT_EQ(At(35, 20), black);  // vertical grid line
    EXPECT_EQ(At(20, 60), black);  // horizontal grid line
    // Cell (0, 0) lies in the bottom row: a checkerboard from the window's origin.
    EXPECT_EQ(At(11, 61), black);
    EXPECT_EQ(At(12, 61), gray90);
    EXPECT_EQ(At(12, 62), black);
    // Cell (3, 2) at the top right.
    EXPECT_EQ(At(86, 12), black);
    EXPECT_EQ(At(87, 12), gray90);
    // Clear cells are left as they are.
    EXPECT_EQ(At(40, 70), gray90);
    EXPECT_EQ(At(41, 70), gray90);
    EXPECT_EQ(At(5, 5), gray90); // margin
}

TEST_F(MatrixDrawTest, ToggleAndDrawPaintsTheNewValue) {
    Draw(matrix, draw, 100, 1);
    ToggleAndDraw(matrix, draw, 100, 1, 0);
    EXPECT_EQ(matrix(1, 0), 1);
    EXPECT_EQ(At(37, 61), GetBlack());
    ToggleAndDraw(matrix, draw, 100, 0, 0);
    EXPECT_EQ(matrix(0, 0), 0);
    EXPECT_EQ(At(11, 61), GetGray90()); // cleared cells are painted solid
    EXPECT_EQ(At(12, 62), GetGray90());
    EXPECT_EQ(At(10, 61), GetBlack()); // the grid line stays
}

TEST_F(MatrixDrawTest, ToggleAndDrawOutsideTheMatrixPaintsNothing) {
    Draw(matrix, draw, 100, 1);
    const Matrix before = matrix;
    ToggleAndDraw(matrix, draw, 100, -1, 0); // its cell would cover the left frame line
    ToggleAndDraw(matrix, draw, 100, 4, 0);  // and this one the right
    EXPECT_EQ(matrix, before);
    EXPECT_EQ(At(9, 70), GetBlack());
    EXPECT_EQ(At(111, 70), GetBlack());
}

TEST_F(MatrixDrawTest, HighlightIsOutlinedAndErasedBackToTheGrid) {
    Draw(matrix, draw, 100, 1);
    // Block of 2 by 2 with lower left cell (1, 0): rectangle (35, 35, 50, 50).
    DrawHighlight(matrix, draw, 100, 1, 0, 2, 2);
    EXPECT_EQ(At(40, 35), GetYellow());
    EXPECT_EQ(At(85, 70), GetYellow());
    EXPECT_EQ(At(40, 40), GetGray90());
    EraseHighlight(matrix, draw, 100, 1, 0, 2, 2);
    EXPECT_EQ(At(40, 35), GetBlack());
    EXPECT_EQ(At(85, 70), GetBlack());
    EXPECT_EQ(At(115, 50), GetGray90()); // the right margin repainted
}

// A plane far larger than the scrolled window it is shown in: only the part that can be seen
// is drawn, and it looks exactly as when the whole plane is drawn.
TEST_F(MatrixDrawTest, APlaneInAScrolledWindowIsDrawnAsAWholeDrawingWhereItCanBeSeen) {
    Matrix big(200, 150);
    unsigned seed = 3;
    for (int y = 0; y < 150; y++) {
        for (int x = 0; x < 200; x++) {
            seed = seed * 1103515245u + 12345u;
            big.SetBit(x, y, (seed >> 16) % 3 == 0);
        }
    }
    const int kZoom = 12; // pitch 3: 621 by 471 pixels
    // Making a scrolled window opens another connection, which a held server would never let in.
    XUngrabServer(XtDisplay(shell));
    XtUnmanageChild(draw);
    Widget whole = XtVaCreateManagedWidget("draw", xmDrawingAreaWidgetClass, shell, XmNwidth, 621,
                                           XmNheight, 471, XmNbackground, GetGray90(), nullptr);
    Widget scrolledShell = XtVaCreatePopupShell("scrolled_shell", topLevelShellWidgetClass,
                                                Toolkit().topLevel, XmNx, 650, XmNy, 100, nullptr);
    Widget scrolled = XtVaCreateManagedWidget("scrolled", xmScrolledWindowWidgetClass,
                                              scrolledShell, XmNscrollingPolicy, XmAUTOMATIC,
                                              XmNwidth, 160, XmNheight, 130, nullptr);
    Widget part = XtVaCreateManagedWidget("draw", xmDrawingAreaWidgetClass, scrolled, XmNwidth, 621,
                                          XmNheight, 471, XmNbackground, GetGray90(), nullptr);
    XtPopup(scrolledShell, XtGrabNone);
    XtVaSetValues(shell, XmNx, 0, XmNwidth, 621, XmNheight, 471, nullptr);
    Flush();
    XGrabServer(XtDisplay(shell));
    XRaiseWindow(XtDisplay(shell), XtWindow(shell));
    XRaiseWindow(XtDisplay(shell), XtWindow(scrolledShell));
    Widget horizontal = nullptr, vertical = nullptr;
    XtVaGetValues(scrolled, XmNhorizontalScrollBar, &horizontal, XmNverticalScrollBar, &vertical,
                  nullptr);
    ASSERT_NE(horizontal, nullptr);
    auto scrollTo = [](Widget bar, int percent) {
        int maximum = 0, slider = 0;
        XtVaGetValues(bar, XmNmaximum, &maximum, XmNsliderSize, &slider, nullptr);
        XmScrollBarSetValues(bar, (maximum - slider) * percent / 100, 0, 0, 0, True);
    };
    for (const int percent : {0, 37, 100}) {
        SCOPED_TRACE(percent);
        scrollTo(horizontal, percent);
        scrollTo(vertical, percent);
        Flush();
        Position px = 0, py = 0;
        XtVaGetValues(part, XmNx, &px, XmNy, &py, nullptr);
        Dimension clipWidth = 0, clipHeight = 0;
        XtVaGetValues(XtParent(part), XmNwidth, &clipWidth, XmNheight, &clipHeight, nullptr);
        ASSERT_LE(px, 0);
        XClearWindow(XtDisplay(part), XtWindow(part));
        Draw(big, whole, kZoom, 1);
        Draw(big, part, kZoom, 0);
        XSync(XtDisplay(part), False);
        const int left = -px, top = -py;
        const int width = std::min<int>(clipWidth, 621 - left);
        const int height = std::min<int>(clipHeight, 471 - top);
        XImage* expected = XGetImage(XtDisplay(whole), XtWindow(whole), left, top, width, height,
                                     AllPlanes, ZPixmap);
        XImage* shown = XGetImage(XtDisplay(part), XtWindow(part), left, top, width, height,
                                  AllPlanes, ZPixmap);
        ASSERT_NE(expected, nullptr);
        ASSERT_NE(shown, nullptr);
        int differing = 0;
        for (int y = 0; y < height; y++) {
            for (int x = 0; x < width; x++) {
                if (XGetPixel(expected, x, y) != XGetPixel(shown, x, y)) differing++;
            }
        }
        EXPECT_EQ(differing, 0) << width << " x " << height << " at " << left << "," << top;
        XDestroyImage(expected);
        XDestroyImage(shown);
    }
    XtDestroyWidget(scrolledShell);
}

// A drawing that clears first is painted as one bitmap; it must look exactly like the frame, grid
// and cell requests painted over a cleared window, at every pitch.
TEST_F(MatrixDrawTest, AClearingDrawLooksExactlyLikeTheRequestsOverAClearedWindow) {
    Matrix plane(23, 17);
    unsigned seed = 9;
    for (int y = 0; y < 17; y++) {
        for (int x = 0; x < 23; x++) {
            seed = seed * 1103515245u + 12345u;
            plane.SetBit(x, y, (seed >> 16) & 1);
        }
    }
    XUngrabServer(XtDisplay(shell));
    XtVaSetValues(shell, XmNx, 0, XmNy, 0, nullptr);
    for (const int zoom : {4, 5, 8, 12, 13, 50, 150}) {
        SCOPED_TRACE(zoom);
        const int width = CellPitch(zoom) * 23 + 21, height = CellPitch(zoom) * 17 + 21;
        XtVaSetValues(shell, XmNwidth, width, XmNheight, height, nullptr);
        XtVaSetValues(draw, XmNwidth, width, XmNheight, height, nullptr);
        Flush();
        XGrabServer(XtDisplay(shell));
        XRaiseWindow(XtDisplay(shell), XtWindow(shell));
        XClearWindow(XtDisplay(draw), XtWindow(draw));
        Draw(plane, draw, zoom, 0);
        XImage* requests =
            XGetImage(XtDisplay(draw), XtWindow(draw), 0, 0, width, height, AllPlanes, ZPixmap);
        Draw(matrix, draw, zoom, 0); // something else in the way
        Draw(plane, draw, zoom, 1);
        XImage* cleared =
            XGetImage(XtDisplay(draw), XtWindow(draw), 0, 0, width, height, AllPlanes, ZPixmap);
        XUngrabServer(XtDisplay(shell));
        ASSERT_NE(requests, nullptr);
        ASSERT_NE(cleared, nullptr);
        int differing = 0, firstX = -1, firstY = -1;
        for (int y = 0; y < height; y++) {
            for (int x = 0; x < width; x++) {
                if (XGetPixel(requests, x, y) == XGetPixel(cleared, x, y)) continue;
                if (differing++ == 0) firstX = x, firstY = y;
            }
        }
        EXPECT_EQ(differing, 0) << "first at " << firstX << "," << firstY;
        XDestroyImage(requests);
        XDestroyImage(cleared);
    }
    XGrabServer(XtDisplay(shell)); // as the fixture leaves it
}

TEST_F(MatrixDrawTest, NothingIsDrawnIntoAnUnrealizedAreaOrBelowZoomFour) {
    Widget hidden = XtVaCreateWidget("draw", xmDrawingAreaWidgetClass, shell, nullptr);
    Draw(matrix, hidden, 100, 1);
    ToggleAndDraw(matrix, hidden, 100, 2, 2);
    EXPECT_EQ(matrix(2, 2), 1); // the bit still toggles
    Draw(matrix, draw, 3, 1);   // pitch 0: no grid to draw
    XSync(XtDisplay(draw), False);
}

} // namespace
