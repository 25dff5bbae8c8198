// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/AElementWindow.h"

#include <Xm/Form.h>

#include "EditorsTestSupport.h"
#include "editors/ModifyValueDialog.h"

namespace {

// The bare base with an empty form, shown by managing and realizing its shell as a type's window
// may do.
class BareWindow : public AElementWindow {
public:
    explicit BareWindow(AElement* element) : AElementWindow(element) {
        XtVaCreateManagedWidget("form", xmFormWidgetClass, shell, XmNwidth, 120, XmNheight, 80,
                                nullptr);
        XtManageChild(shell);
        XtRealizeWidget(shell);
        live++;
    }
    ~BareWindow() override { live--; }
    inline static int live = 0;
};

class AElementWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
        window = Open();
        Flush();
    }
    void TearDown() override {
        element.CloseShowDataWindow(0);
        Flush();
    }

    // The window as the element's all-outputs show-data window, the slot it is held in.
    BareWindow* Open() {
        Ui().makeView = [](const ViewRequest& request) -> ElementView* {
            return request.kind == kShowDataView ? new BareWindow(request.element) : nullptr;
        };
        element.OpenShowDataWindow(0);
        Ui().makeView = nullptr;
        return static_cast<BareWindow*>(element.GetShowDataWindow(0));
    }
    ElementView* Slot() const { return element.GetShowDataWindow(0); }

    ATestElem element;
    BareWindow* window = nullptr;
};

int topLevelPresses = 0;

void CountPress(Widget, XtPointer, XEvent*, Boolean*) {
    topLevelPresses++;
}

} // namespace

TEST_F(AElementWindowTest, StoresItselfInItsSlotAndClearsIt) {
    EXPECT_EQ(Slot(), window);
    EXPECT_STREQ(XtName(window->GetShell()), "AElementWindow");
    int decorations = 0, functions = 0;
    unsigned char deleteResponse = 0;
    XtVaGetValues(window->GetShell(), XmNmwmDecorations, &decorations, XmNmwmFunctions, &functions,
                  XmNdeleteResponse, &deleteResponse, nullptr);
    EXPECT_EQ(decorations, 30);
    EXPECT_EQ(functions, 38);
    EXPECT_EQ(deleteResponse, XmDO_NOTHING);
    delete window;
    EXPECT_EQ(Slot(), nullptr);
}

TEST_F(AElementWindowTest, FramesTheElementWhileThePointerIsInside) {
    Widget shell = window->GetShell();
    SendCrossing(shell, EnterNotify, 5, 5, NotifyVirtual);
    EXPECT_TRUE(element.IsFrameShown());
    // Into a child window the pointer is still inside.
    SendCrossing(shell, LeaveNotify, 5, 5, NotifyInferior);
    EXPECT_TRUE(element.IsFrameShown());
    SendCrossing(shell, LeaveNotify, -1, -1, NotifyAncestor);
    EXPECT_FALSE(element.IsFrameShown());
    SendCrossing(shell, EnterNotify, 5, 5, NotifyAncestor);
    delete window;
    EXPECT_FALSE(element.IsFrameShown());
}

TEST_F(AElementWindowTest, WindowManagerCloseDeletesIt) {
    SendClose(window->GetShell());
    EXPECT_EQ(Slot(), nullptr);
    EXPECT_EQ(BareWindow::live, 0);
}

TEST_F(AElementWindowTest, PopupRaisesWithoutShuttingOtherWindowsOff) {
    Widget top = Editors().topLevel;
    XtAddEventHandler(top, ButtonPressMask, False, CountPress, nullptr);
    window->Popup();
    window->Popup();
    topLevelPresses = 0;
    XEvent event{};
    event.xbutton.type = ButtonPress;
    event.xbutton.display = XtDisplay(top);
    event.xbutton.window = XtWindow(top);
    event.xbutton.button = Button1;
    event.xbutton.same_screen = True;
    XtDispatchEvent(&event);
    XtRemoveEventHandler(top, ButtonPressMask, False, CountPress, nullptr);
    EXPECT_EQ(topLevelPresses, 1);
    EXPECT_EQ(BareWindow::live, 1);
}

TEST_F(AElementWindowTest, ItsOwnDialogGoesWithItSilently) {
    int calls = 0;
    new ModifyValueDialog(
        window->GetShell(), "Add XY-Plane", "Number:", 1, 1, 99,
        [](int, int, void* client) { ++*static_cast<int*>(client); }, &calls);
    Flush();
    // The close arrives while the dialog holds its grab.
    SendClose(window->GetShell());
    RunFor(20);
    EXPECT_EQ(Slot(), nullptr);
    EXPECT_EQ(calls, 0);
}

TEST_F(AElementWindowTest, GoesWithTheShellOfItsOwnerWindow) {
    delete window;
    Widget owner = XtVaCreatePopupShell("owner", topLevelShellWidgetClass, Editors().topLevel,
                                        XmNwidth, 100, XmNheight, 100, nullptr);
    XtRealizeWidget(owner);
    Host().ownerShell = owner;
    window = Open();
    Host().ownerShell = nullptr;
    XtDestroyWidget(owner);
    Flush();
    EXPECT_EQ(Slot(), nullptr);
    EXPECT_EQ(BareWindow::live, 0);
}
