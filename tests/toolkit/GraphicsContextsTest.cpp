// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "toolkit/GraphicsContexts.h"

#include "ToolkitDisplay.h"
#include "toolkit/Colors.h"

#include <X11/Shell.h>
#include <X11/Xutil.h>
#include <Xm/DrawingA.h>

#include <string>

namespace {

constexpr unsigned long kDefaultBackground = 1; // X's own default

struct Expected {
    const char* name;
    void (*factory)(GC*, Widget);
    int function;
    Pixel foreground;
    Pixel background;
    int lineWidth;
    int lineStyle;
    int fillStyle;
    int subwindowMode;
};

class GraphicsContextsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Toolkit().display, nullptr) << "no X display";
        Watchdog(60);
        display = Toolkit().display;
        screen = XtScreen(Toolkit().topLevel);
    }

    // A pixmap of the default depth, filled with ground.
    Pixmap Ground(Pixel ground) {
        Pixmap pixmap =
            XCreatePixmap(display, RootWindowOfScreen(screen), 8, 8, DefaultDepthOfScreen(screen));
        GC fill = XCreateGC(display, pixmap, 0, nullptr);
        XSetForeground(display, fill, ground);
        XFillRectangle(display, pixmap, fill, 0, 0, 8, 8);
        XFreeGC(display, fill);
        return pixmap;
    }

    Pixel PixelAt(Pixmap pixmap, int x, int y) {
        XImage* image = XGetImage(display, pixmap, x, y, 1, 1, AllPlanes, ZPixmap);
        const Pixel pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return pixel;
    }

    Display* display = nullptr;
    Screen* screen = nullptr;
};

TEST_F(GraphicsContextsTest, EachFactorySetsItsColoursAndMode) {
    const Pixel white = GetWhite();
    const Pixel black = GetBlack();
    const Expected expected[] = {
        {"White", CreateWhiteGC, GXcopy, white, kDefaultBackground, 0, LineSolid, FillSolid,
         ClipByChildren},
        {"BlackOnWhite", CreateBlackOnWhiteGC, GXcopy, BlackPixelOfScreen(screen), white, 0,
         LineSolid, FillSolid, ClipByChildren},
        {"BlackOnWhite2", CreateBlackOnWhiteGC2, GXcopy, black, white, 0, LineSolid, FillSolid,
         ClipByChildren},
        {"RedOnLightGray", CreateRedOnLightGrayGC, GXcopy, GetRed(), GetLightGray(), 0, LineSolid,
         FillSolid, ClipByChildren},
        {"RedXor", CreateRedXorGC, GXxor, GetRed() ^ black, kDefaultBackground, 0, LineSolid,
         FillSolid, ClipByChildren},
        {"RedOnWhite", CreateRedOnWhiteGC, GXcopy, GetRed(), white, 0, LineSolid, FillSolid,
         ClipByChildren},
        {"BlueXor", CreateBlueXorGC, GXxor, GetBlue() ^ white, white, 0, LineSolid, FillSolid,
         ClipByChildren},
        {"White2", CreateWhiteGC2, GXcopy, white, kDefaultBackground, 0, LineSolid, FillSolid,
         ClipByChildren},
        {"RedXorInferiors", CreateRedXorInferiorsGC, GXxor, GetRed() ^ white, black, 0, LineSolid,
         FillSolid, IncludeInferiors},
        {"DashedXor", CreateDashedXorGC, GXxor, black, white, 0, LineDoubleDash, FillSolid,
         ClipByChildren},
        {"Stippled", CreateStippledGC, GXcopy, black, white, 0, LineSolid, FillStippled,
         ClipByChildren},
        {"Gray90", CreateGray90GC, GXcopy, GetGray90(), GetGray90(), 0, LineSolid, FillSolid,
         ClipByChildren},
        {"YellowOnWhite", CreateYellowOnWhiteGC, GXcopy, GetYellow(), white, 0, LineSolid,
         FillSolid, ClipByChildren},
        {"Black", CreateBlackGC, GXcopy, black, black, 0, LineSolid, FillSolid, ClipByChildren},
        {"BlackWindow", CreateBlackWindowGC, GXcopy, black, black, 0, LineSolid, FillSolid,
         ClipByChildren},
        {"WideGrayXor", CreateWideGrayXorGC, GXxor, GetGray50() ^ white, kDefaultBackground, 2,
         LineSolid, FillSolid, ClipByChildren},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        GC gc = nullptr;
        e.factory(&gc, Toolkit().topLevel);
        ASSERT_NE(gc, nullptr);
        XGCValues v;
        ASSERT_NE(XGetGCValues(display, gc,
                               GCFunction | GCForeground | GCBackground | GCLineWidth |
                                   GCLineStyle | GCFillStyle | GCSubwindowMode,
                               &v),
                  0);
        EXPECT_EQ(v.function, e.function);
        EXPECT_EQ(v.foreground, e.foreground);
        EXPECT_EQ(v.background, e.background);
        EXPECT_EQ(v.line_width, e.lineWidth);
        EXPECT_EQ(v.line_style, e.lineStyle);
        EXPECT_EQ(v.fill_style, e.fillStyle);
        EXPECT_EQ(v.subwindow_mode, e.subwindowMode);
        XFreeGC(display, gc);
    }
}

TEST_F(GraphicsContextsTest, RedXorShowsRedOnBlackAndRestoresItWhenDrawnAgain) {
    Pixmap pixmap = Ground(GetBlack());
    GC gc = nullptr;
    CreateRedXorGC(&gc, Toolkit().topLevel);
    XDrawLine(display, pixmap, gc, 0, 3, 7, 3);
    EXPECT_EQ(PixelAt(pixmap, 4, 3), GetRed());
    EXPECT_EQ(PixelAt(pixmap, 4, 4), GetBlack());
    XDrawLine(display, pixmap, gc, 0, 3, 7, 3);
    EXPECT_EQ(PixelAt(pixmap, 4, 3), GetBlack());
    XFreeGC(display, gc);
    XFreePixmap(display, pixmap);
}

TEST_F(GraphicsContextsTest, XorContextsShowTheirColourOverWhite) {
    struct XorCase {
        const char* name;
        void (*factory)(GC*, Widget);
        Pixel shown;
    };
    const XorCase cases[] = {
        {"BlueXor", CreateBlueXorGC, GetBlue()},
        {"RedXorInferiors", CreateRedXorInferiorsGC, GetRed()},
        {"WideGrayXor", CreateWideGrayXorGC, GetGray50()},
    };
    for (const XorCase& c : cases) {
        SCOPED_TRACE(c.name);
        Pixmap pixmap = Ground(GetWhite());
        GC gc = nullptr;
        c.factory(&gc, Toolkit().topLevel);
        XDrawLine(display, pixmap, gc, 0, 3, 7, 3);
        EXPECT_EQ(PixelAt(pixmap, 4, 3), c.shown);
        XDrawLine(display, pixmap, gc, 0, 3, 7, 3);
        EXPECT_EQ(PixelAt(pixmap, 4, 3), GetWhite());
        XFreeGC(display, gc);
        XFreePixmap(display, pixmap);
    }
}

TEST_F(GraphicsContextsTest, StippledFillSetsEverySecondPixelFromTheOrigin) {
    Pixmap pixmap = Ground(GetWhite());
    GC gc = nullptr;
    CreateStippledGC(&gc, Toolkit().topLevel);
    XFillRectangle(display, pixmap, gc, 0, 0, 4, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
            EXPECT_EQ(PixelAt(pixmap, x, y), (x + y) % 2 == 0 ? GetBlack() : GetWhite());
        }
    }
    XFreeGC(display, gc);
    XFreePixmap(display, pixmap);
}

TEST_F(GraphicsContextsTest, BlackWindowContextIsMadeForTheWidgetsWindow) {
    Widget shell =
        XtVaCreatePopupShell("gc_shell", topLevelShellWidgetClass, Toolkit().topLevel, nullptr);
    Widget area = XtVaCreateManagedWidget("draw", xmDrawingAreaWidgetClass, shell, XmNwidth, 20,
                                          XmNheight, 20, nullptr);
    XtPopup(shell, XtGrabNone);
    Flush();
    GC gc = nullptr;
    CreateBlackWindowGC(&gc, area);
    XGrabServer(display); // no other test's window may cover it until it is read
    XRaiseWindow(display, XtWindow(shell));
    XFillRectangle(display, XtWindow(area), gc, 0, 0, 20, 20);
    XImage* image = XGetImage(display, XtWindow(area), 10, 10, 1, 1, AllPlanes, ZPixmap);
    XUngrabServer(display);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(XGetPixel(image, 0, 0), GetBlack());
    XDestroyImage(image);
    XFreeGC(display, gc);
    XtDestroyWidget(shell);
    Flush();
}

TEST_F(GraphicsContextsTest, XlibFactoriesServeASecondConnection) {
    Display* drag = XOpenDisplay(DisplayString(display));
    ASSERT_NE(drag, nullptr);
    GC gc = nullptr;
    CreateRedXorInferiorsGC(&gc, drag, DefaultScreenOfDisplay(drag));
    XGCValues v;
    ASSERT_NE(XGetGCValues(drag, gc, GCFunction | GCForeground | GCSubwindowMode, &v), 0);
    EXPECT_EQ(v.function, GXxor);
    EXPECT_EQ(v.foreground, GetRed() ^ GetWhite());
    EXPECT_EQ(v.subwindow_mode, IncludeInferiors);
    XDrawLine(drag, DefaultRootWindow(drag), gc, 0, 0, 10, 10);
    XDrawLine(drag, DefaultRootWindow(drag), gc, 0, 0, 10, 10);
    XSync(drag, False);
    XFreeGC(drag, gc);
    XCloseDisplay(drag);
}

} // namespace
