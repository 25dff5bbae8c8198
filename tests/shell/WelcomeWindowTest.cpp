// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "shell/WelcomeWindow.h"

#include <Xm/DrawingA.h>
#include <Xm/MwmUtil.h>
#include <Xm/Xm.h>

#include <vector>

#include "WelcomeAboutOverviewGui.h"
#include "shell/FileSelection.h"
#include "tests/support/gui/FakeTimer.h"

namespace {

using testgui::FakeTimer;

const WelcomeTimer kFakeWelcomeTimer = {FakeTimer::Add, FakeTimer::Remove};

class WelcomeWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        gui = &TheWindowsGui();
        if (gui->main == nullptr) GTEST_SKIP() << "no X display";
        FakeTimer::Clear();
        SetWelcomeTimer(&kFakeWelcomeTimer);
    }
    void TearDown() override {
        if (gui->main == nullptr) return;
        if (GetWelcomeShell() != nullptr) XtDestroyWidget(GetWelcomeShell());
        FlushEvents();
        SetWelcomeTimer(nullptr);
        FakeTimer::Clear();
    }
    // Shows the splash and waits until it is drawn.
    Widget Show() {
        ShowWelcome();
        Widget shell = GetWelcomeShell();
        ProcessFor(gui->app, 300);
        return shell;
    }
    // Fires the pending timeout; true when the splash has gone with it.
    bool TimeoutRemoves() {
        EXPECT_TRUE(FakeTimer::Fire()) << "no timeout pending";
        FlushEvents();
        return GetWelcomeShell() == nullptr && PopupsNamed(gui->topLevel, "Welcome").empty();
    }

    WindowsGui* gui = nullptr;
};

} // namespace

TEST_F(WelcomeWindowFixture, AppearsCentredAndItsTimeoutRemovesIt) {
    Widget shell = Show();
    ASSERT_NE(shell, nullptr);
    EXPECT_EQ(PopupsNamed(gui->topLevel, "Welcome"), std::vector<Widget>{shell});
    EXPECT_TRUE(XtIsSubclass(shell, topLevelShellWidgetClass));
    EXPECT_TRUE(IsShown(shell));
    int inputMode = 0, decorations = 0, functions = 0;
    unsigned char deleteResponse = 0;
    XtVaGetValues(shell, XmNmwmInputMode, &inputMode, XmNmwmDecorations, &decorations,
                  XmNmwmFunctions, &functions, XmNdeleteResponse, &deleteResponse, nullptr);
    EXPECT_EQ(inputMode, MWM_INPUT_PRIMARY_APPLICATION_MODAL);
    EXPECT_EQ(decorations, MWM_DECOR_BORDER);
    EXPECT_EQ(functions, MWM_FUNC_MOVE);
    EXPECT_EQ(deleteResponse, XmDO_NOTHING);

    Widget draw = XtNameToWidget(shell, "draw");
    ASSERT_NE(draw, nullptr);
    Dimension width = 0, height = 0;
    Pixel background = 0;
    XtVaGetValues(draw, XmNwidth, &width, XmNheight, &height, XmNbackground, &background, nullptr);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 265);
    EXPECT_EQ(background, GetGray90b());

    // The property that asks for no title: its own name as type, format 8, no data.
    const Atom noTitle = XInternAtom(gui->display, "MY_WM_NO_TITLE", False);
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    ASSERT_EQ(XGetWindowProperty(gui->display, XtWindow(shell), noTitle, 0, 16, False,
                                 AnyPropertyType, &type, &format, &items, &after, &data),
              Success);
    EXPECT_EQ(type, noTitle);
    EXPECT_EQ(format, 8);
    EXPECT_EQ(items, 0u);
    if (data != nullptr) XFree(data);

    // Centred over the main window.
    Position x = 0, y = 0, parentX = 0, parentY = 0;
    Dimension shellWidth = 0, shellHeight = 0, parentWidth = 0, parentHeight = 0;
    XtVaGetValues(shell, XmNx, &x, XmNy, &y, XmNwidth, &shellWidth, XmNheight, &shellHeight,
                  nullptr);
    XtVaGetValues(gui->topLevel, XmNx, &parentX, XmNy, &parentY, XmNwidth, &parentWidth, XmNheight,
                  &parentHeight, nullptr);
    EXPECT_EQ(x, (parentWidth - shellWidth) / 2 + parentX);
    EXPECT_EQ(y, (parentHeight - shellHeight) / 2 + parentY);

    // One timeout of 2500 ms takes it away; until it fires the splash stays.
    EXPECT_EQ(FakeTimer::PendingDelays(), std::vector<unsigned long>{2500});
    EXPECT_EQ(GetWelcomeShell(), shell);
    EXPECT_TRUE(TimeoutRemoves());
}

TEST_F(WelcomeWindowFixture, DrawsItsBitmapsInTheirPlacesAndColours) {
    Widget shell = Show();
    ASSERT_NE(shell, nullptr);
    Widget draw = XtNameToWidget(shell, "draw");
    const Picture expected =
        ExpectedPicture(400, 265, kWelcomeBitmaps, kWelcomeBitmapCount, GetGray90b());
    EXPECT_EQ(Differences(ReadBack(draw), expected), 0);
}

TEST_F(WelcomeWindowFixture, DrawsOnceOnTheLastExposureOfASeries) {
    Widget shell = Show();
    ASSERT_NE(shell, nullptr);
    Widget draw = XtNameToWidget(shell, "draw");
    const Picture expected =
        ExpectedPicture(400, 265, kWelcomeBitmaps, kWelcomeBitmapCount, GetGray90b());
    const Picture empty = ExpectedPicture(400, 265, kWelcomeBitmaps, 0, GetGray90b());
    ASSERT_EQ(Differences(ReadBack(draw), expected), 0);

    XEvent event = {};
    event.xexpose.type = Expose;
    event.xexpose.window = XtWindow(draw);
    event.xexpose.width = 10;
    event.xexpose.height = 10;
    XmDrawingAreaCallbackStruct call = {};
    call.reason = XmCR_EXPOSE;
    call.event = &event;
    call.window = XtWindow(draw);
    XClearWindow(gui->display, XtWindow(draw));
    event.xexpose.count = 2;
    WelcomeExposeCallback(draw, nullptr, &call);
    event.xexpose.count = 1;
    WelcomeExposeCallback(draw, nullptr, &call);
    XSync(gui->display, False);
    EXPECT_EQ(Differences(ReadBack(draw), empty), 0);
    // A small exposed rectangle still gets the whole picture.
    XClearWindow(gui->display, XtWindow(draw));
    event.xexpose.count = 0;
    WelcomeExposeCallback(draw, nullptr, &call);
    XSync(gui->display, False);
    EXPECT_EQ(Differences(ReadBack(draw), expected), 0);
}

TEST_F(WelcomeWindowFixture, WindowManagerCloseLeavesTheLaterTimeoutHarmless) {
    Widget first = Show();
    ASSERT_NE(first, nullptr);
    SendDeleteWindow(first);
    EXPECT_EQ(GetWelcomeShell(), nullptr);
    EXPECT_TRUE(PopupsNamed(gui->topLevel, "Welcome").empty());
    // The closed splash's timeout went with it ...
    EXPECT_TRUE(FakeTimer::PendingCount() == 0);

    // ... so a splash shown later lives its own 2500 ms, and only its own timeout removes it.
    Widget second = Show();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(FakeTimer::PendingDelays(), std::vector<unsigned long>{2500});
    EXPECT_EQ(GetWelcomeShell(), second);
    EXPECT_TRUE(TimeoutRemoves());
}

TEST_F(WelcomeWindowFixture, ShowingItAgainWhileShownKeepsOneSplash) {
    Widget shell = Show();
    ASSERT_NE(shell, nullptr);
    ShowWelcome();
    EXPECT_EQ(GetWelcomeShell(), shell);
    EXPECT_EQ(PopupsNamed(gui->topLevel, "Welcome").size(), 1u);
    EXPECT_EQ(FakeTimer::PendingDelays(), std::vector<unsigned long>{2500});
    EXPECT_TRUE(TimeoutRemoves());
}

TEST_F(WelcomeWindowFixture, ScreenshotOverTheExample) {
    ASSERT_EQ(LoadFile(*gui->main, QUIRAN_SOURCE_DIR "/examples/pipeline.arc", nullptr), 0);
    gui->main->CenterView();
    Widget shell = Show();
    ASSERT_NE(shell, nullptr);
    ReadBack(XtNameToWidget(shell, "draw"));
    EXPECT_TRUE(KeepScreenshot("welcome", 720, 600));
    gui->main->ClearModified();
    gui->main->Clear();
}
