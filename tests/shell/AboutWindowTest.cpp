// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "shell/AboutWindow.h"

#include <Xm/MwmUtil.h>
#include <Xm/PushB.h>
#include <Xm/Xm.h>

#include <string>

#include "WelcomeAboutOverviewGui.h"
#include "shell/MenuCommand.h"
#include "toolkit/OwnedXmString.h"
#include "toolkit/OwnedXtString.h"

namespace {

std::string LabelOf(Widget widget) {
    XmString label = nullptr;
    XtVaGetValues(widget, XmNlabelString, &label, nullptr);
    OwnedXmString owned(label);
    char* text = nullptr;
    XmStringGetLtoR(owned.Get(), const_cast<char*>(XmFONTLIST_DEFAULT_TAG), &text);
    OwnedXtString ownedText(text);
    return ownedText.Get() != nullptr ? ownedText.Get() : "";
}

void Activate(Widget button) {
    XmPushButtonCallbackStruct call = {};
    call.reason = XmCR_ACTIVATE;
    XtCallCallbacks(button, XmNactivateCallback, &call);
}

class AboutWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        gui = &TheWindowsGui();
        if (gui->main == nullptr) GTEST_SKIP() << "no X display";
    }
    void TearDown() override {
        if (gui->main == nullptr) return;
        if (GetAboutShell() != nullptr) XtDestroyWidget(GetAboutShell());
        FlushEvents();
    }
    // Help > About of the main window's menu bar.
    Widget ChooseAbout() {
        Widget menuBar = XtNameToWidget(gui->main->GetForm(), "MenuBar");
        Widget entry = menuBar != nullptr ? XtNameToWidget(menuBar, "*About") : nullptr;
        EXPECT_NE(entry, nullptr);
        if (entry == nullptr) return nullptr;
        Activate(entry);
        ProcessFor(gui->app, 300);
        return GetAboutShell();
    }

    WindowsGui* gui = nullptr;
};

} // namespace

TEST_F(AboutWindowFixture, HelpAboutOpensOneWindowThatOkCloses) {
    Widget shell = ChooseAbout();
    ASSERT_NE(shell, nullptr);
    EXPECT_STREQ(XtName(shell), "About");
    EXPECT_TRUE(XtIsSubclass(shell, transientShellWidgetClass));
    EXPECT_TRUE(IsShown(shell));
    int decorations = 0, functions = 0;
    unsigned char deleteResponse = 0;
    XtVaGetValues(shell, XmNmwmDecorations, &decorations, XmNmwmFunctions, &functions,
                  XmNdeleteResponse, &deleteResponse, nullptr);
    EXPECT_EQ(decorations,
              MWM_DECOR_BORDER | MWM_DECOR_TITLE | MWM_DECOR_MENU | MWM_DECOR_MINIMIZE);
    EXPECT_EQ(functions, MWM_FUNC_MOVE | MWM_FUNC_CLOSE);
    EXPECT_EQ(deleteResponse, XmDO_NOTHING);

    Widget draw = XtNameToWidget(shell, "form.frame.draw");
    ASSERT_NE(draw, nullptr);
    Dimension width = 0, height = 0;
    Pixel background = 0;
    XtVaGetValues(draw, XmNwidth, &width, XmNheight, &height, XmNbackground, &background, nullptr);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 470);
    EXPECT_EQ(background, GetGray90b());
    Widget ok = XtNameToWidget(shell, "form.action_area.ActionButton");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(LabelOf(ok), "OK");

    // Fixed in size.
    Dimension shellWidth = 0, shellHeight = 0;
    int minWidth = 0, maxWidth = 0, minHeight = 0, maxHeight = 0;
    XtVaGetValues(shell, XmNwidth, &shellWidth, XmNheight, &shellHeight, XmNminWidth, &minWidth,
                  XmNmaxWidth, &maxWidth, XmNminHeight, &minHeight, XmNmaxHeight, &maxHeight,
                  nullptr);
    EXPECT_EQ(minWidth, shellWidth);
    EXPECT_EQ(maxWidth, shellWidth);
    EXPECT_EQ(minHeight, shellHeight);
    EXPECT_EQ(maxHeight, shellHeight);

    // Choosing About again shows the same one window.
    EXPECT_EQ(ChooseAbout(), shell);
    EXPECT_EQ(PopupsNamed(gui->topLevel, "About").size(), 1u);

    Activate(ok);
    FlushEvents();
    EXPECT_EQ(GetAboutShell(), nullptr);
    EXPECT_TRUE(PopupsNamed(gui->topLevel, "About").empty());

    // And it opens again afterwards.
    Widget again = ChooseAbout();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(IsShown(again));
}

TEST_F(AboutWindowFixture, WindowManagerCloseDestroysIt) {
    Widget shell = ChooseAbout();
    ASSERT_NE(shell, nullptr);
    SendDeleteWindow(shell);
    EXPECT_EQ(GetAboutShell(), nullptr);
    EXPECT_TRUE(PopupsNamed(gui->topLevel, "About").empty());
}

TEST_F(AboutWindowFixture, IsFirstShownCentredOverTheMainWindow) {
    // A second connection sees the server place and map the window, in order.
    Display* watcher = XOpenDisplay(DisplayString(gui->display));
    ASSERT_NE(watcher, nullptr);
    XSelectInput(watcher, DefaultRootWindow(watcher), SubstructureNotifyMask);
    XSync(watcher, False);
    Widget shell = ChooseAbout();
    ASSERT_NE(shell, nullptr);
    XSync(gui->display, False);
    XSync(watcher, False);
    int x = 0, y = 0, mappedX = -1, mappedY = -1;
    while (XPending(watcher) > 0) {
        XEvent event;
        XNextEvent(watcher, &event);
        if (event.type == CreateNotify && event.xcreatewindow.window == XtWindow(shell)) {
            x = event.xcreatewindow.x;
            y = event.xcreatewindow.y;
        } else if (event.type == ConfigureNotify && event.xconfigure.window == XtWindow(shell)) {
            x = event.xconfigure.x;
            y = event.xconfigure.y;
        } else if (event.type == MapNotify && event.xmap.window == XtWindow(shell) && mappedX < 0) {
            mappedX = x;
            mappedY = y;
        }
    }
    XCloseDisplay(watcher);
    Position parentX = 0, parentY = 0;
    Dimension width = 0, height = 0, parentWidth = 0, parentHeight = 0;
    XtVaGetValues(shell, XmNwidth, &width, XmNheight, &height, nullptr);
    XtVaGetValues(gui->topLevel, XmNx, &parentX, XmNy, &parentY, XmNwidth, &parentWidth, XmNheight,
                  &parentHeight, nullptr);
    EXPECT_EQ(mappedX, (parentWidth - width) / 2 + parentX);
    EXPECT_EQ(mappedY, (parentHeight - height) / 2 + parentY);
}

TEST_F(AboutWindowFixture, DrawsItsBitmapsInTheirPlacesAndColours) {
    Widget shell = ChooseAbout();
    ASSERT_NE(shell, nullptr);
    const Picture expected =
        ExpectedPicture(400, 470, kAboutBitmaps, kAboutBitmapCount, GetGray90b());
    EXPECT_EQ(Differences(ReadBack(XtNameToWidget(shell, "form.frame.draw")), expected), 0);
}
