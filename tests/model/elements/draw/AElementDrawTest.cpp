// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "model/elements/AElement.h"

#include <X11/Intrinsic.h>
#include <X11/Shell.h>
#include <X11/StringDefs.h>
#include <X11/Xutil.h>

#include "model/data/Connection.h"
#include "model/elements/ElementUi.h"
#include "tests/model/elements/TestElement.h"
#include "toolkit/Colors.h"
#include "toolkit/GraphicsContexts.h"

namespace {

// The toolkit's display with the palette converted, and a second connection for drag drawing,
// as start-up makes them.
struct Screens {
    Display* display = nullptr;
    Display* dragDisplay = nullptr;
    GC dragRootGC = nullptr;
    Widget topLevel = nullptr;
};

Screens& TestScreens() {
    static Screens screens = [] {
        Screens s;
        XtToolkitInitialize();
        XtAppContext app = XtCreateApplicationContext();
        int argc = 1;
        char name[] = "test_model_elements_draw";
        char* argv[] = {name, nullptr};
        s.display = XtOpenDisplay(app, nullptr, name, "QUIRAN", nullptr, 0, &argc, argv);
        if (s.display == nullptr) return s;
        s.topLevel = XtVaAppCreateShell(name, "QUIRAN", applicationShellWidgetClass, s.display,
                                        XtNwidth, 10, XtNheight, 10, nullptr);
        InitColors(s.topLevel);
        s.dragDisplay = XOpenDisplay(nullptr);
        XGCValues values;
        values.subwindow_mode = IncludeInferiors;
        s.dragRootGC =
            XCreateGC(s.dragDisplay, DefaultRootWindow(s.dragDisplay), GCSubwindowMode, &values);
        return s;
    }();
    return screens;
}

// The window side as the shell provides it, drawing on a drawable of the test's choice.
class DrawUi : public NullElementUi {
public:
    Window GetWorkingArea(Architecture*, Display*& display) override {
        display = TestScreens().display;
        return area;
    }
    ElementScreens GetScreens() override {
        const Screens& s = TestScreens();
        return {s.display, s.dragDisplay, DefaultRootWindow(s.dragDisplay), s.dragRootGC};
    }
    GC CreateGC(ElementGCKind kind, Display* display) override {
        return CreateElementGC(kind, display);
    }

    Window area = 0;
};

class AElementDrawFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(TestScreens().display, nullptr) << "no X display";
        display = TestScreens().display;
        SetElementUi(&ui);
        Screen* screen = DefaultScreenOfDisplay(display);
        area = XCreatePixmap(display, RootWindowOfScreen(screen), 200, 120,
                             DefaultDepthOfScreen(screen));
        Fill(area, GetGray(), 200, 120);
        ui.area = area;
    }
    void TearDown() override {
        while (architecture.GetElements().GetCount() > 0)
            delete architecture.GetElements()[0];
        SetElementUi(nullptr);
        if (area != 0) XFreePixmap(display, area);
        XSync(display, False);
    }

    void Fill(Drawable drawable, unsigned long pixel, int width, int height) {
        GC fill = XCreateGC(display, drawable, 0, nullptr);
        XSetForeground(display, fill, pixel);
        XFillRectangle(display, drawable, fill, 0, 0, width, height);
        XFreeGC(display, fill);
    }
    unsigned long PixelAt(Drawable drawable, int x, int y) {
        XSync(display, False);
        XImage* image = XGetImage(display, drawable, x, y, 1, 1, AllPlanes, ZPixmap);
        unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return pixel;
    }
    ATestElem* Place(int x, int y, uint32_t type = kMask, int inputs = 1, int outputs = 1) {
        ATestElem* element = new ATestElem(&architecture, x, y, type, inputs, outputs);
        architecture.GetElements().Add(element);
        element->SetOwner(&architecture);
        return element;
    }

    struct Expect {
        int x, y;
        unsigned long pixel;
    };
    void ExpectPixels(Drawable drawable, const Expect* cases, int count) {
        for (int i = 0; i < count; i++) {
            SCOPED_TRACE(testing::Message() << cases[i].x << "," << cases[i].y);
            EXPECT_EQ(PixelAt(drawable, cases[i].x, cases[i].y), cases[i].pixel);
        }
    }

    DrawUi ui;
    Display* display = nullptr;
    Pixmap area = 0;
    Architecture architecture;
};

using AElementDraw = AElementDrawFixture;

} // namespace

TEST_F(AElementDraw, TheStockIconShowsOutlineAndPinBoxesAtThePosition) {
    ATestElem* element = Place(10, 20); // 60 x 30
    element->Draw();
    const Expect kPixels[] = {
        {10, 20, GetBlack()}, {70, 20, GetBlack()}, {10, 50, GetBlack()},
        {70, 50, GetBlack()}, {40, 22, GetWhite()}, {40, 48, GetWhite()}, // ground
        {16, 31, GetBlack()}, {13, 35, GetWhite()}, {13, 39, GetBlack()}, // input box
        {64, 31, GetBlack()}, {67, 35, GetWhite()}, {67, 39, GetBlack()}, // output box
        {71, 35, GetGray()},  {40, 51, GetGray()},  {9, 20, GetGray()},   // untouched
    };
    ExpectPixels(area, kPixels, sizeof kPixels / sizeof kPixels[0]);
}

TEST_F(AElementDraw, AMarkedElementHasALightGrayGroundAndAFrameIsUndone) {
    ATestElem* element = Place(10, 20);
    element->Mark();
    element->Draw();
    const Expect kMarked[] = {{40, 22, GetLightGray()}, {10, 20, GetBlack()}, {13, 35, GetWhite()}};
    ExpectPixels(area, kMarked, 3);

    element->Unmark();
    element->Draw();
    element->ShowFrame();
    EXPECT_EQ(PixelAt(area, 40, 20), GetRed());
    element->HideFrame();
    EXPECT_EQ(PixelAt(area, 40, 20), GetBlack());
    EXPECT_EQ(PixelAt(area, 40, 22), GetWhite());
}

TEST_F(AElementDraw, APinHighlightFillsItsBox) {
    ATestElem* element = Place(10, 20, kSplit, 1, 2);
    element->Draw();
    element->DrawPinHighlight(5, 1); // output 1, box at (64, 46)
    const Expect kPixels[] = {
        {64, 46, GetRed()}, {70, 54, GetRed()}, {67, 35, GetWhite()}, {63, 50, GetWhite()}};
    ExpectPixels(area, kPixels, 4);
}

TEST_F(AElementDraw, ALongNameEndsBeforeTheOutputPins) {
    ATestElem* element = Place(10, 20);
    element->SetName("WWWWWWWWWWWWWWWWWWWW");
    element->UpdateIcon();
    element->Draw();
    int inked = 0;
    for (int x = 18; x < 62; x++) {
        for (int y = 21; y < 50; y++)
            inked += PixelAt(area, x, y) == GetBlack();
    }
    EXPECT_GT(inked, 0);
    for (int x = 62; x < 64; x++) {
        for (int y = 21; y < 50; y++) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            ASSERT_EQ(PixelAt(area, x, y), GetWhite());
        }
    }
}

TEST_F(AElementDraw, APortIconIsSmallWithOnePin) {
    ATestElem* port = Place(10, 20, kMacroInput, 0, 1); // 25 x 18, pin box at x = 19
    port->Draw();
    const Expect kPixels[] = {{35, 38, GetBlack()},
                              {36, 38, GetGray()},
                              {29, 25, GetBlack()},
                              {32, 29, GetWhite()},
                              {15, 29, GetWhite()}};
    ExpectPixels(area, kPixels, 5);
}

TEST_F(AElementDraw, AConnectionIsDrawnOnceAndErasedToTheGround) {
    Fill(area, GetWhite(), 200, 120);
    ATestElem* a = Place(10, 20);
    ATestElem* b = Place(120, 20);
    Connection* wire = new Connection(&architecture, a, 3, b, 2, 1); // (71, 35) to (119, 35)
    architecture.GetConnections().Add(wire);
    EXPECT_EQ(wire->IsDrawn(), 1);
    EXPECT_EQ(PixelAt(area, 95, 35), GetBlue());
    wire->Draw();
    EXPECT_EQ(PixelAt(area, 95, 35), GetBlue());
    wire->Erase();
    wire->Erase();
    EXPECT_EQ(PixelAt(area, 95, 35), GetWhite());
    wire->DrawHighlight();
    EXPECT_EQ(PixelAt(area, 95, 36), GetWhite());
    delete wire;
    EXPECT_EQ(PixelAt(area, 95, 35), GetWhite());
}

TEST_F(AElementDraw, TheDragImageCrossesTheScreenAndLeavesNoTrace) {
    // In a corner of the screen that other tests' windows leave alone, above them all.
    Window root = DefaultRootWindow(display);
    XSetWindowAttributes attributes;
    attributes.override_redirect = True;
    attributes.background_pixel = GetWhite();
    Window window = XCreateWindow(display, root, 960, 780, 300, 200, 0, CopyFromParent, InputOutput,
                                  CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    XMapRaised(display, window);
    XSync(display, False);
    ui.area = window;
    ATestElem* a = Place(10, 10);
    ATestElem* b = Place(150, 10);
    Connection* wire = new Connection(&architecture, a, 3, b, 2, 0);
    architecture.GetConnections().Add(wire);
    wire->SetArchitecture(&architecture);
    EXPECT_EQ(PixelAt(root, 1000, 792), GetWhite());

    a->Mark();
    a->BeginDrag(20, 15); // root (980, 795); the image's corner at (970, 790)
    XSync(TestScreens().dragDisplay, False);
    EXPECT_EQ(PixelAt(root, 970, 790), GetBlack());
    EXPECT_EQ(PixelAt(root, 1000, 792), GetLightGray());
    a->RestoreDragBackground();
    a->FreeDragBacking();
    XSync(TestScreens().dragDisplay, False);
    EXPECT_EQ(PixelAt(root, 1000, 792), GetWhite());

    PtrArray<AElement> moving;
    moving.Add(a);
    moving.Add(b);
    wire->SetRootClip(moving);
    wire->DrawOnRoot(); // (1031, 805) to (1109, 805) on the root
    XSync(TestScreens().dragDisplay, False);
    EXPECT_EQ(PixelAt(root, 1070, 805), GetRed());
    wire->EraseOnRoot();
    XSync(TestScreens().dragDisplay, False);
    EXPECT_EQ(PixelAt(root, 1070, 805), GetWhite());

    while (architecture.GetElements().GetCount() > 0)
        delete architecture.GetElements()[0];
    XDestroyWindow(display, window);
}
