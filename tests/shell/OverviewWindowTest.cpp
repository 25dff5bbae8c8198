// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "shell/OverviewWindow.h"

#include <Xm/DrawingA.h>
#include <Xm/ScrollBar.h>
#include <Xm/ToggleB.h>
#include <Xm/ToggleBG.h>
#include <Xm/Xm.h>

#include <climits>
#include <string>

#include "WelcomeAboutOverviewGui.h"
#include "model/elements/ASplitElem.h"
#include "shell/FileSelection.h"
#include "shell/MenuCommand.h"
#include "toolkit/GraphicsContexts.h"

// The arithmetic of the scaled view.

namespace {

struct OutlineCase {
    int viewWidth, viewHeight;
    int x, y, width, height; // on the working area
    OverviewRect expected;   // in the view area
};
const OutlineCase kOutlines[] = {
    {150, 100, 300, 200, 60, 30, {30, 20, 6, 3}},   // scale 10 at the default size
    {150, 100, 40, 40, 9, 9, {4, 4, 1, 1}},         // a small element still shows
    {300, 200, 300, 200, 60, 30, {60, 40, 12, 6}},  // twice the size, half the scale
    {150, 100, 1499, 999, 20, 20, {149, 99, 2, 2}}, // the far corner
    // far off the area in a wide view: held at the ends of int
    {3000, 2000, 2000000000, -2000000000, 20, 20, {INT_MAX, INT_MIN, 40, 40}},
};

} // namespace

TEST(OverviewWindow, OutlinesElementsAtTheScaleOfItsSize) {
    for (const OutlineCase& c : kOutlines) {
        SCOPED_TRACE(std::to_string(c.viewWidth) + " " + std::to_string(c.x));
        const OverviewRect r = ElementOutline(
            c.x, c.y, c.width, c.height, OverviewScaleX(c.viewWidth), OverviewScaleY(c.viewHeight));
        EXPECT_EQ(r.x, c.expected.x);
        EXPECT_EQ(r.y, c.expected.y);
        EXPECT_EQ(r.width, c.expected.width);
        EXPECT_EQ(r.height, c.expected.height);
    }
    // The visible part has no least size.
    const OverviewRect visible = VisibleOutline(400, 300, 405, 1000, 10.0f, 10.0f);
    EXPECT_EQ(visible.x, 40);
    EXPECT_EQ(visible.y, 30);
    EXPECT_EQ(visible.width, 0);
    EXPECT_EQ(visible.height, 70);
}

TEST(OverviewWindow, MapsViewPointsBackToTheWorkingArea) {
    EXPECT_EQ(FromOverviewX(75, 150), 750);
    EXPECT_EQ(FromOverviewY(50, 100), 500);
    EXPECT_EQ(FromOverviewX(75, 300), 375);
    EXPECT_EQ(FromOverviewY(50, 200), 250);
    EXPECT_EQ(FromOverviewX(1, 160), 9); // truncated, not rounded
    EXPECT_EQ(FromOverviewY(0, 100), 0);
}

// Both directions use the same scale, the working area's size over the view's, not its integer
// part: a working-area point c lies in view pixel v exactly when v <= c x size / 1500 < v + 1,
// and view pixel v starts at the integer part of v x 1500 / size.
TEST(OverviewWindow, BothDirectionsOfTheMappingAgree) {
    for (int size : {100, 150, 160, 173, 301, 1000}) {
        SCOPED_TRACE(size);
        const float sx = OverviewScaleX(size);
        const float sy = OverviewScaleY(size);
        for (int c = 0; c < 1500; c++) {
            const long long v = ToOverview(c, sx);
            ASSERT_LE(v * 1500, static_cast<long long>(c) * size) << c;
            ASSERT_GT((v + 1) * 1500, static_cast<long long>(c) * size) << c;
        }
        for (int c = 0; c < 1000; c++) {
            const long long v = ToOverview(c, sy);
            ASSERT_LE(v * 1000, static_cast<long long>(c) * size) << c;
            ASSERT_GT((v + 1) * 1000, static_cast<long long>(c) * size) << c;
        }
        for (int v = 0; v < size; v++) {
            ASSERT_EQ(FromOverviewX(v, size), v * 1500 / size);
            ASSERT_EQ(FromOverviewY(v, size), v * 1000 / size);
        }
    }
}

namespace {

struct ClampCase {
    OverviewRect rect;
    int x, y; // after clamping in a 150 x 100 view
};
const ClampCase kClamps[] = {
    {{20, 10, 60, 40}, 20, 10},  // inside: unchanged
    {{-5, 10, 60, 40}, 0, 10},   // past the left edge
    {{20, -9, 60, 40}, 20, 0},   // past the top
    {{100, 10, 60, 40}, 89, 10}, // the right side stops at width - 1
    {{20, 70, 60, 40}, 20, 59},  // the bottom side at height - 1
    {{89, 59, 60, 40}, 89, 59},  // just touching both
    // As wide or high as the view, or wider: held at 0, never at -1.
    {{20, 10, 150, 40}, 0, 10},
    {{-5, 10, 160, 40}, 0, 10},
    {{20, 10, 60, 100}, 20, 0},
    {{30, 30, 150, 100}, 0, 0},
};

} // namespace

TEST(OverviewWindow, KeepsTheDraggedRectangleInsideTheView) {
    for (const ClampCase& c : kClamps) {
        SCOPED_TRACE(std::to_string(c.rect.x) + "," + std::to_string(c.rect.y));
        OverviewRect rect = c.rect;
        ClampOutline(rect, 150, 100);
        EXPECT_EQ(rect.x, c.x);
        EXPECT_EQ(rect.y, c.y);
        EXPECT_EQ(rect.width, c.rect.width);
        EXPECT_EQ(rect.height, c.rect.height);
    }
}

namespace {

struct InViewCase {
    OverviewRect rect;
    bool inView; // in a 150 x 100 view
};
const InViewCase kInView[] = {
    {{10, 20, 6, 3}, true},
    {{-6, -3, 6, 3}, true},            // its right and bottom sides on the top-left edges
    {{-7, 20, 6, 3}, false},           // left of the view
    {{149, 99, 6, 3}, true},           // its left and top sides on the far edges
    {{150, 20, 6, 3}, false},          // right of the view
    {{20, 100, 6, 3}, false},          // below
    {{65537, 20, 6, 3}, false},        // would wrap into the view in a 16-bit request
    {{INT_MAX, INT_MIN, 6, 3}, false}, // held at the ends of int
};

} // namespace

TEST(OverviewWindow, DrawsOnlyOutlinesThatReachTheView) {
    for (const InViewCase& c : kInView) {
        SCOPED_TRACE(std::to_string(c.rect.x) + "," + std::to_string(c.rect.y));
        EXPECT_EQ(OutlineInView(c.rect, 150, 100), c.inView);
    }
}

TEST(OverviewWindow, GrabsInsideTheRectangleOnly) {
    const OverviewRect rect = {10, 20, 30, 40};
    EXPECT_TRUE(InsideOutline(rect, 10, 20));
    EXPECT_TRUE(InsideOutline(rect, 39, 59));
    EXPECT_FALSE(InsideOutline(rect, 40, 30));
    EXPECT_FALSE(InsideOutline(rect, 20, 60));
    EXPECT_FALSE(InsideOutline(rect, 9, 30));
}

// The window on a real main window.

namespace {

class OverviewFixture : public ::testing::Test {
protected:
    void SetUp() override {
        gui = &TheWindowsGui();
        if (gui->main == nullptr) GTEST_SKIP() << "no X display";
        main().ClearModified();
        main().Clear();
        if (main().GetOverview() != nullptr) main().CloseOverview();
        main().CenterView();
        FlushEvents();
        CreateWideGrayXorGC(&probe, gui->topLevel);
    }
    void TearDown() override {
        if (gui->main == nullptr) return;
        if (main().GetOverview() != nullptr) main().CloseOverview();
        main().ClearModified();
        main().Clear();
        XFreeGC(gui->display, probe);
        FlushEvents();
    }
    MainWindow& main() { return *gui->main; }

    // View > Overview of the main window's menu bar, as a click sets it.
    void ChooseOverview(bool set) {
        Widget entry = main().GetCommandMenuToggle(kCommandOverview);
        ASSERT_NE(entry, nullptr);
        XmToggleButtonGadgetSetState(entry, set ? True : False, True);
        ProcessFor(gui->app, 300);
    }
    OverviewWindow* Open() {
        ChooseOverview(true);
        OverviewWindow* overview = main().GetOverview();
        if (overview != nullptr) ReadBack(overview->GetViewArea());
        return overview;
    }

    ASplitElem* AddSplit(int x, int y) {
        auto* split = new ASplitElem(&main(), x, y);
        split->CreateData();
        split->SetOwner(&main());
        main().GetElements().Add(split);
        return split;
    }

    Widget ScrollBar(const char* name) {
        return XtNameToWidget(main().GetForm(), (std::string("ScrolledWindow.") + name).c_str());
    }
    int ScrollValue(const char* name) {
        int value = 0;
        XtVaGetValues(ScrollBar(name), XmNvalue, &value, nullptr);
        return value;
    }

    // The rectangle the overview should show for the main window's visible part.
    OverviewRect Expected(const OverviewWindow& overview) {
        int x1, y1, x2, y2;
        main().GetVisibleRect(x1, y1, x2, y2);
        Dimension width = 0, height = 0;
        XtVaGetValues(overview.GetViewArea(), XmNwidth, &width, XmNheight, &height, nullptr);
        return VisibleOutline(x1, y1, x2, y2, OverviewScaleX(width), OverviewScaleY(height));
    }
    OverviewRect Stored(const OverviewWindow& overview) {
        OverviewRect r;
        overview.GetVisibleArea(r.x, r.y, r.width, r.height);
        return r;
    }

    // The visible-area colour where the rectangle is drawn over white.
    unsigned long Gray() { return GetGray50(); }

    // How many pixels of the view show the rectangle's colour: one rectangle of width 2 shows
    // its outline only, two or none show something else.
    long GrayPixels(const Picture& picture) {
        long count = 0;
        for (unsigned long pixel : picture.pixels)
            count += pixel == Gray() ? 1 : 0;
        return count;
    }
    // What one rectangle drawn with the overview's context gives on an empty view.
    long OneRectanglePixels(const OverviewRect& rect, const Picture& picture) {
        Display* display = gui->display;
        Window root = RootWindowOfScreen(XtScreen(gui->topLevel));
        Pixmap pixmap =
            XCreatePixmap(display, root, static_cast<unsigned>(picture.width),
                          static_cast<unsigned>(picture.height),
                          static_cast<unsigned>(DefaultDepthOfScreen(XtScreen(gui->topLevel))));
        GC white;
        CreateWhiteGC(&white, gui->topLevel);
        XFillRectangle(display, pixmap, white, 0, 0, static_cast<unsigned>(picture.width),
                       static_cast<unsigned>(picture.height));
        XDrawRectangle(display, pixmap, probe, rect.x, rect.y, static_cast<unsigned>(rect.width),
                       static_cast<unsigned>(rect.height));
        XImage* image = XGetImage(display, pixmap, 0, 0, static_cast<unsigned>(picture.width),
                                  static_cast<unsigned>(picture.height), AllPlanes, ZPixmap);
        long count = 0;
        for (int y = 0; y < picture.height; y++) {
            for (int x = 0; x < picture.width; x++)
                count += XGetPixel(image, x, y) == Gray() ? 1 : 0;
        }
        XDestroyImage(image);
        XFreeGC(display, white);
        XFreePixmap(display, pixmap);
        return count;
    }
    // The view shows exactly the one rectangle the main window's visible part gives.
    void ExpectOneRectangleAt(const OverviewRect& rect) {
        OverviewWindow* overview = main().GetOverview();
        ASSERT_NE(overview, nullptr);
        const Picture picture = ReadBack(overview->GetViewArea());
        EXPECT_EQ(GrayPixels(picture), OneRectanglePixels(rect, picture));
        EXPECT_EQ(picture.At(rect.x, rect.y + rect.height / 2), Gray());
        EXPECT_EQ(picture.At(rect.x + rect.width, rect.y + rect.height / 2), Gray());
    }

    // A press, motions and a release of button 1 in the view area, through the server.
    void Drag(int fromX, int fromY, int toX, int toY) {
        Widget view = main().GetOverview()->GetViewArea();
        XEvent event = {};
        event.xbutton.type = ButtonPress;
        event.xbutton.display = gui->display;
        event.xbutton.window = XtWindow(view);
        event.xbutton.root = RootWindowOfScreen(XtScreen(view));
        event.xbutton.button = Button1;
        event.xbutton.x = fromX;
        event.xbutton.y = fromY;
        event.xbutton.same_screen = True;
        XSendEvent(gui->display, XtWindow(view), False, ButtonPressMask, &event);
        for (int step = 1; step <= 4; step++) {
            XEvent motion = {};
            motion.xmotion.type = MotionNotify;
            motion.xmotion.display = gui->display;
            motion.xmotion.window = XtWindow(view);
            motion.xmotion.root = event.xbutton.root;
            motion.xmotion.state = Button1Mask;
            motion.xmotion.x = fromX + (toX - fromX) * step / 4;
            motion.xmotion.y = fromY + (toY - fromY) * step / 4;
            motion.xmotion.same_screen = True;
            XSendEvent(gui->display, XtWindow(view), False, Button1MotionMask, &motion);
        }
        event.xbutton.type = ButtonRelease;
        event.xbutton.state = Button1Mask;
        event.xbutton.x = toX;
        event.xbutton.y = toY;
        XSendEvent(gui->display, XtWindow(view), False, ButtonReleaseMask, &event);
        FlushEvents();
        ProcessFor(gui->app, 100);
    }

    WindowsGui* gui = nullptr;
    GC probe = nullptr; // the overview's kind of context, to draw the expected rectangle
};

} // namespace

TEST_F(OverviewFixture, ViewOverviewOpensTheWindowAndClosesIt) {
    OverviewWindow* overview = Open();
    ASSERT_NE(overview, nullptr);
    Widget shell = overview->GetShell();
    EXPECT_STREQ(XtName(shell), "Elements");
    EXPECT_TRUE(XtIsSubclass(shell, transientShellWidgetClass));
    EXPECT_EQ(XtParent(shell), main().GetShell());
    EXPECT_TRUE(IsShown(shell));
    char* title = nullptr;
    int decorations = 0, functions = 0;
    unsigned char deleteResponse = 0;
    XtVaGetValues(shell, XmNtitle, &title, XmNmwmDecorations, &decorations, XmNmwmFunctions,
                  &functions, XmNdeleteResponse, &deleteResponse, nullptr);
    EXPECT_STREQ(title, "Overview");
    EXPECT_EQ(decorations, 30);
    EXPECT_EQ(functions, 38);
    EXPECT_EQ(deleteResponse, XmDO_NOTHING);

    Widget view = XtNameToWidget(shell, "form_out.frame.form_in.view_area");
    EXPECT_EQ(view, overview->GetViewArea());
    ASSERT_NE(view, nullptr);
    Dimension width = 0, height = 0, marginWidth = 0, marginHeight = 0;
    Pixel background = 0;
    XtVaGetValues(view, XmNwidth, &width, XmNheight, &height, XmNbackground, &background, nullptr);
    EXPECT_EQ(width, 150);
    EXPECT_EQ(height, 100);
    EXPECT_EQ(background, GetWhite());
    XtVaGetValues(XtNameToWidget(shell, "form_out"), XmNmarginWidth, &marginWidth, XmNmarginHeight,
                  &marginHeight, nullptr);
    EXPECT_EQ(marginWidth, 2);
    EXPECT_EQ(marginHeight, 2);
    EXPECT_TRUE(XmToggleButtonGadgetGetState(main().GetCommandMenuToggle(kCommandOverview)));
    EXPECT_TRUE(XmToggleButtonGetState(main().GetCommandToolToggle(kCommandOverview)));
    EXPECT_EQ(main().GetOverviewShown(), 1);

    ChooseOverview(false);
    FlushEvents();
    EXPECT_EQ(main().GetOverview(), nullptr);
    EXPECT_EQ(main().GetOverviewShown(), 0);
    EXPECT_FALSE(XmToggleButtonGetState(main().GetCommandToolToggle(kCommandOverview)));
    EXPECT_TRUE(PopupsNamed(main().GetShell(), "Elements").empty());
}

TEST_F(OverviewFixture, OutlinesEveryElementAndTheVisibleArea) {
    OverviewWindow* overview = Open();
    ASSERT_NE(overview, nullptr);
    ASplitElem* split = AddSplit(300, 200);
    ASplitElem* far = AddSplit(1200, 750);
    main().UpdateOverview();
    const Picture picture = ReadBack(overview->GetViewArea());
    for (ASplitElem* element : {split, far}) {
        SCOPED_TRACE(element->GetX());
        const OverviewRect r = ElementOutline(element->GetX(), element->GetY(), element->GetWidth(),
                                              element->GetHeight(), 10.0f, 10.0f);
        EXPECT_EQ(picture.At(r.x, r.y), GetBlack());
        EXPECT_EQ(picture.At(r.x + r.width, r.y + r.height), GetBlack());
        EXPECT_EQ(picture.At(r.x + 1, r.y + 1), GetWhite()); // an outline, not filled
    }
    EXPECT_EQ(split->GetX() / 10, 30);

    // The visible part of the centred working area, as one rectangle.
    const OverviewRect expected = Expected(*overview);
    const OverviewRect stored = Stored(*overview);
    EXPECT_EQ(stored.x, expected.x);
    EXPECT_EQ(stored.y, expected.y);
    EXPECT_EQ(stored.width, expected.width);
    EXPECT_EQ(stored.height, expected.height);
    EXPECT_GT(expected.x, 0);
    ExpectOneRectangleAt(expected);
}

TEST_F(OverviewFixture, ShowsNothingOfAnElementFarOffTheArea) {
    OverviewWindow* overview = Open();
    ASSERT_NE(overview, nullptr);
    // 65537 view pixels to the right: a 16-bit coordinate would put it at 1.
    AddSplit(655370, 200);
    main().UpdateOverview();
    const Picture picture = ReadBack(overview->GetViewArea());
    long black = 0;
    for (unsigned long pixel : picture.pixels)
        black += pixel == GetBlack() ? 1 : 0;
    EXPECT_EQ(black, 0);
}

TEST_F(OverviewFixture, FollowsAScrollOfTheWorkingArea) {
    OverviewWindow* overview = Open();
    ASSERT_NE(overview, nullptr);
    const OverviewRect before = Stored(*overview);

    // A click into the scroll bar's trough right of the slider pages to the right.
    Widget bar = ScrollBar("HorScrollBar");
    ASSERT_NE(bar, nullptr);
    const int valueBefore = ScrollValue("HorScrollBar");
    Dimension barWidth = 0, barHeight = 0;
    XtVaGetValues(bar, XmNwidth, &barWidth, XmNheight, &barHeight, nullptr);
    XEvent event = {};
    event.xbutton.type = ButtonPress;
    event.xbutton.display = gui->display;
    event.xbutton.window = XtWindow(bar);
    event.xbutton.root = RootWindowOfScreen(XtScreen(bar));
    event.xbutton.button = Button1;
    event.xbutton.x = barWidth - 25;
    event.xbutton.y = barHeight / 2;
    event.xbutton.same_screen = True;
    event.xbutton.time = CurrentTime;
    XSendEvent(gui->display, XtWindow(bar), False, ButtonPressMask, &event);
    event.xbutton.type = ButtonRelease;
    event.xbutton.state = Button1Mask;
    XSendEvent(gui->display, XtWindow(bar), False, ButtonReleaseMask, &event);
    FlushEvents();
    ProcessFor(gui->app, 200);
    ASSERT_GT(ScrollValue("HorScrollBar"), valueBefore);

    const OverviewRect after = Stored(*overview);
    const OverviewRect expected = Expected(*overview);
    EXPECT_EQ(after.x, expected.x);
    EXPECT_GT(after.x, before.x);
    EXPECT_EQ(after.y, before.y);
    ExpectOneRectangleAt(expected);
}

namespace {

struct DragCase {
    const char* what;
    int dx, dy;             // pointer movement from the rectangle's centre
    int clampLeft, clampUp; // 1: expected at 0
    int clampRight;         // 1: expected with its right side at width - 1
};
const DragCase kDrags[] = {
    {"a little", -7, 5, 0, 0, 0},
    {"past the left and top", -500, -500, 1, 1, 0},
    {"past the right", 500, 0, 0, 0, 1},
};

} // namespace

TEST_F(OverviewFixture, DraggingTheRectangleScrollsTheWorkingArea) {
    OverviewWindow* overview = Open();
    ASSERT_NE(overview, nullptr);
    for (const DragCase& c : kDrags) {
        SCOPED_TRACE(c.what);
        main().CenterView();
        FlushEvents();
        const OverviewRect start = Stored(*overview);
        ExpectOneRectangleAt(start);
        const int cx = start.x + start.width / 2;
        const int cy = start.y + start.height / 2;
        Drag(cx, cy, cx + c.dx, cy + c.dy);

        int x = start.x + c.dx, y = start.y + c.dy;
        if (c.clampLeft) x = 0;
        if (c.clampUp) y = 0;
        if (c.clampRight) x = 150 - start.width - 1;
        EXPECT_EQ(ScrollValue("HorScrollBar"), FromOverviewX(x, 150));
        EXPECT_EQ(ScrollValue("VertScrollBar"), FromOverviewY(y, 100));
        const OverviewRect now = Stored(*overview);
        EXPECT_EQ(now.x, x);
        EXPECT_EQ(now.y, y);
        ExpectOneRectangleAt(now);
    }
}

// Whatever the view showed before (here a stray rectangle), after a drag it shows one rectangle.
TEST_F(OverviewFixture, ADragDrawsTheViewAnew) {
    OverviewWindow* overview = Open();
    ASSERT_NE(overview, nullptr);
    const OverviewRect start = Stored(*overview);
    Widget view = overview->GetViewArea();
    XDrawRectangle(gui->display, XtWindow(view), probe, 2, 2, 10, 8);
    XSync(gui->display, False);
    const int cx = start.x + start.width / 2;
    const int cy = start.y + start.height / 2;
    Drag(cx, cy, cx + 6, cy - 4);
    const OverviewRect now = Stored(*overview);
    EXPECT_EQ(now.x, start.x + 6);
    ExpectOneRectangleAt(now);
}

TEST_F(OverviewFixture, ReleasingAt75By50ScrollsTo750By500) {
    OverviewWindow* overview = Open();
    ASSERT_NE(overview, nullptr);
    const OverviewRect start = Stored(*overview);
    ASSERT_LE(75 + start.width, 149);
    ASSERT_LE(50 + start.height, 99);
    Drag(start.x + 1, start.y + 1, 76, 51);
    EXPECT_EQ(ScrollValue("HorScrollBar"), 750);
    EXPECT_EQ(ScrollValue("VertScrollBar"), 500);
    ExpectOneRectangleAt(Stored(*overview));
}

TEST_F(OverviewFixture, APressOutsideTheRectangleDragsNothing) {
    OverviewWindow* overview = Open();
    ASSERT_NE(overview, nullptr);
    const OverviewRect start = Stored(*overview);
    const int h = ScrollValue("HorScrollBar"), v = ScrollValue("VertScrollBar");
    Drag(start.x - 3, start.y - 3, 2, 2);
    EXPECT_EQ(ScrollValue("HorScrollBar"), h);
    EXPECT_EQ(ScrollValue("VertScrollBar"), v);
    ExpectOneRectangleAt(start);
}

TEST_F(OverviewFixture, ResizingRedrawsAtTheNewScale) {
    OverviewWindow* overview = Open();
    ASSERT_NE(overview, nullptr);
    AddSplit(300, 200);
    // As a window manager does it: the shell grows and its form takes the view along.
    Widget view = overview->GetViewArea();
    Dimension shellWidth = 0, shellHeight = 0;
    XtVaGetValues(overview->GetShell(), XmNwidth, &shellWidth, XmNheight, &shellHeight, nullptr);
    XtVaSetValues(overview->GetShell(), XmNwidth, shellWidth + 150, XmNheight, shellHeight + 100,
                  nullptr);
    FlushEvents();
    ProcessFor(gui->app, 200);
    Dimension width = 0, height = 0;
    XtVaGetValues(view, XmNwidth, &width, XmNheight, &height, nullptr);
    ASSERT_EQ(width, 300);
    ASSERT_EQ(height, 200);
    const Picture picture = ReadBack(view);
    ASSERT_EQ(picture.width, 300);
    AElement* split = main().GetElements()[0];
    const OverviewRect r = ElementOutline(split->GetX(), split->GetY(), split->GetWidth(),
                                          split->GetHeight(), 5.0f, 5.0f);
    EXPECT_EQ(r.x, 60);
    EXPECT_EQ(picture.At(r.x, r.y), GetBlack());
    EXPECT_EQ(picture.At(r.x + r.width, r.y + r.height), GetBlack());
    const OverviewRect expected = Expected(*overview);
    EXPECT_EQ(Stored(*overview).width, expected.width);
    ExpectOneRectangleAt(expected);
}

TEST_F(OverviewFixture, WindowManagerCloseDeletesItAndClearsTheToggle) {
    OverviewWindow* overview = Open();
    ASSERT_NE(overview, nullptr);
    SendDeleteWindow(overview->GetShell());
    EXPECT_EQ(main().GetOverview(), nullptr);
    EXPECT_FALSE(XmToggleButtonGadgetGetState(main().GetCommandMenuToggle(kCommandOverview)));
    EXPECT_FALSE(XmToggleButtonGetState(main().GetCommandToolToggle(kCommandOverview)));
    EXPECT_TRUE(PopupsNamed(main().GetShell(), "Elements").empty());
    // Scrolling and redrawing reach no window that is gone; the toggle opens a new one.
    main().OverviewScrolled();
    main().UpdateOverview();
    EXPECT_NE(Open(), nullptr);
}

TEST_F(OverviewFixture, ScreenshotBesideTheMainWindowOnTheExample) {
    ASSERT_EQ(LoadFile(main(), QUIRAN_SOURCE_DIR "/examples/pipeline.arc", nullptr), 0);
    ASSERT_GT(main().GetElements().GetCount(), 0);
    main().CenterView();
    OverviewWindow* overview = Open();
    ASSERT_NE(overview, nullptr);
    Dimension width = 0;
    XtVaGetValues(main().GetShell(), XmNwidth, &width, nullptr);
    XtVaSetValues(overview->GetShell(), XmNx, width + 10, XmNy, 0, nullptr);
    FlushEvents();
    ProcessFor(gui->app, 300);
    ReadBack(main().GetShell());
    const Picture picture = ReadBack(overview->GetViewArea());
    // Every element of the example is outlined.
    for (int i = 0; i < main().GetElements().GetCount(); i++) {
        AElement* element = main().GetElements()[i];
        const OverviewRect r = ElementOutline(element->GetX(), element->GetY(), element->GetWidth(),
                                              element->GetHeight(), 10.0f, 10.0f);
        EXPECT_NE(picture.At(r.x, r.y), GetWhite()) << i;
    }
    EXPECT_TRUE(KeepScreenshot("overview", width + 10 + 170, 600));
}

// The overview goes with the window it shows, whichever goes first: the window object or its
// shell.
namespace {

class ShownWindow : public ArchitectureWindow {
public:
    explicit ShownWindow(Widget topLevel) {
        windowKind = kMacroWindowKind;
        shell = XtVaCreatePopupShell("MACRO", topLevelShellWidgetClass, topLevel, nullptr);
        cadArea = XtVaCreateManagedWidget("cad_area", xmDrawingAreaWidgetClass, shell, XmNwidth,
                                          200, XmNheight, 100, nullptr);
        XtPopup(shell, XtGrabNone);
    }
    ~ShownWindow() override {
        if (destroyShellFirst && shell != nullptr) XtDestroyWidget(shell);
    }
    Widget GetShell() override { return shell; }

    Widget shell = nullptr;
    bool destroyShellFirst = false;
};

} // namespace

TEST(OverviewWindow, GoesWithTheWindowItShows) {
    WindowsGui& gui = TheWindowsGui();
    if (gui.main == nullptr) GTEST_SKIP() << "no X display";
    for (bool shellFirst : {false, true}) {
        SCOPED_TRACE(shellFirst ? "shell first" : "object first");
        auto* window = new ShownWindow(gui.topLevel);
        window->destroyShellFirst = shellFirst;
        Widget shell = window->shell;
        window->OpenOverview();
        ASSERT_NE(window->GetOverview(), nullptr);
        EXPECT_EQ(window->GetOverviewShown(), 1);
        FlushEvents();
        EXPECT_EQ(PopupsNamed(shell, "Elements").size(), 1u);
        delete window;
        FlushEvents();
        if (!shellFirst) {
            EXPECT_TRUE(PopupsNamed(shell, "Elements").empty());
            XtDestroyWidget(shell);
        }
        FlushEvents();
        EXPECT_TRUE(PopupsNamed(gui.topLevel, "MACRO").empty());
    }
}

TEST(OverviewWindow, OutlivesNoShellOfItsWindow) {
    WindowsGui& gui = TheWindowsGui();
    if (gui.main == nullptr) GTEST_SKIP() << "no X display";
    auto* window = new ShownWindow(gui.topLevel);
    window->OpenOverview();
    OverviewWindow* overview = window->GetOverview();
    ASSERT_NE(overview, nullptr);
    FlushEvents();
    // The window's shell goes while its overview is kept: the overview forgets its widgets.
    XtDestroyWidget(window->shell);
    window->shell = nullptr;
    FlushEvents();
    EXPECT_EQ(overview->GetShell(), nullptr);
    EXPECT_EQ(overview->GetViewArea(), nullptr);
    window->UpdateOverview();
    window->OverviewScrolled();
    overview->ScrollTo(10, 10);
    window->CloseOverview();
    EXPECT_EQ(window->GetOverview(), nullptr);
    delete window;
    FlushEvents();
}
