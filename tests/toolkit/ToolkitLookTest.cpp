// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "ToolkitDisplay.h"
#include "tests/support/program/PrivateServer.h"
#include "tests/support/screenshot/Screenshot.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/ReadInt.h"

#include <X11/Shell.h>
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/MessageB.h>

#include <memory>
#include <string>

namespace {

struct Snapshot {
    Widget top;
    bool saved;
};

// Runs inside the dialog's loop: once everything is drawn, takes the picture and answers.
void TakeSnapshot(XtPointer client, XtIntervalId*) {
    Snapshot* s = static_cast<Snapshot*>(client);
    Widget box = XtNameToWidget(s->top, "Dialog_popup.Dialog");
    XmUpdateDisplay(s->top);
    XSync(XtDisplay(s->top), False);
    s->saved = testshot::SaveScreen(XtDisplay(s->top), "toolkit");
    ClickMessageButton(box, XmDIALOG_OK_BUTTON);
}

} // namespace

TEST(ToolkitLook, ScreenshotShowsMessageDialogAndIntegerField) {
    ASSERT_NE(Toolkit().display, nullptr) << "no X display";
    Watchdog(60);
    // In the tests' application context, so that the fallback look applies here too. Two servers
    // started at once may both take the same free number and the loser dies after saying it: a
    // server that cannot be reached is started again.
    char name[] = "test_toolkit";
    std::unique_ptr<e2e::PrivateServer> started;
    Display* display = nullptr;
    for (int attempt = 0; attempt < 3 && display == nullptr; ++attempt) {
        started = std::make_unique<e2e::PrivateServer>("520x340x24");
        if (started->Name().empty()) {
            GTEST_SKIP() << "Xvfb could not be started";
        }
        int argc = 1;
        char* argv[] = {name, nullptr};
        display = XtOpenDisplay(Toolkit().app, started->Name().c_str(), name, "QUIRAN", nullptr, 0,
                                &argc, argv);
    }
    ASSERT_NE(display, nullptr);
    Widget top = XtVaAppCreateShell(name, "QUIRAN", applicationShellWidgetClass, display, XmNx, 10,
                                    XmNy, 10, XmNwidth, 500, XmNheight, 320, nullptr);
    Widget form = XtVaCreateManagedWidget("form", xmFormWidgetClass, top, nullptr);
    Widget label = XtVaCreateManagedWidget("Periods:", xmLabelWidgetClass, form, XmNtopAttachment,
                                           XmATTACH_FORM, XmNtopOffset, 16, XmNleftAttachment,
                                           XmATTACH_FORM, XmNleftOffset, 10, nullptr);
    Widget field = CreateReadInt(form, ReadIntOptions().Size(6, 5).Value(42).Range(1, 99999));
    XtVaSetValues(field, XmNtopAttachment, XmATTACH_FORM, XmNtopOffset, 10, XmNleftAttachment,
                  XmATTACH_WIDGET, XmNleftWidget, label, XmNleftOffset, 6, nullptr);
    XtRealizeWidget(top);

    Snapshot snapshot{top, false};
    XtAppAddTimeOut(Toolkit().app, 500, TakeSnapshot, &snapshot);
    const MessageResult result =
        AskYesNoCancel(top, "QUIRAN", "Architecture has been modified!\nDo you want to save it ?");
    EXPECT_EQ(result, kResultYes);
    EXPECT_TRUE(snapshot.saved);

    XtDestroyWidget(top);
    XtCloseDisplay(display);
}
