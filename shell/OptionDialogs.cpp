#include "shell/OptionDialogs.h"

#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Protocols.h>
#include <Xm/TextF.h>
#include <Xm/Xm.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "toolkit/FormAttachments.h"
#include "toolkit/ScrolledBody.h"
#include "toolkit/WidgetHelpers.h"
#include "toolkit/WindowManagerHints.h"

namespace {

// The option dialogs that are open; while there is one, input for any other window is dropped.
std::vector<Widget> openDialogs;

// The kinds of event that are input, and the dispatchers they had before ours.
const int kInputEvents[] = {KeyPress,     KeyRelease,  ButtonPress, ButtonRelease,
                            MotionNotify, EnterNotify, LeaveNotify};
XtEventDispatchProc previousDispatchers[LASTEvent] = {};
Display* blockingDisplay = nullptr;

bool InOpenDialog(Widget widget) {
    for (Widget w = widget; w != nullptr; w = XtParent(w)) {
        if (std::find(openDialogs.begin(), openDialogs.end(), w) != openDialogs.end()) return true;
    }
    return false;
}

// The grab the dialog is popped up with keeps out what the toolkit dispatches by the widget, but
// not what a menu bar or popup menu takes through its own button grab: the input is dropped here
// before it reaches any widget outside the open dialogs (and their message boxes).
Boolean BlockingDispatcher(XEvent* event) {
    if (!openDialogs.empty()) {
        Widget target = XtWindowToWidget(event->xany.display, event->xany.window);
        if (target == nullptr || !InOpenDialog(target)) return False;
    }
    XtEventDispatchProc previous = previousDispatchers[event->type];
    return previous != nullptr ? previous(event) : False;
}

void DialogDestroyedCallback(Widget shell, XtPointer, XtPointer) {
    openDialogs.erase(std::remove(openDialogs.begin(), openDialogs.end(), shell),
                      openDialogs.end());
}

void BlockOtherInput(Widget shell) {
    Display* display = XtDisplay(shell);
    if (blockingDisplay != display) {
        blockingDisplay = display;
        for (int type : kInputEvents)
            previousDispatchers[type] = XtSetEventDispatcher(display, type, BlockingDispatcher);
    }
    openDialogs.push_back(shell);
    XtAddCallback(shell, XmNdestroyCallback, DialogDestroyedCallback, nullptr);
}

} // namespace

OptionDialogFrame CreateOptionDialogFrame(Widget parent, const char* title, XtCallbackProc cancel,
                                          XtPointer client) {
    OptionDialogFrame dialog;
    dialog.shell = XtVaCreatePopupShell(title, transientShellWidgetClass, parent, XmNtitle, title,
                                        XmNmwmDecorations, kDialogDecorations, XmNmwmFunctions,
                                        kDialogFunctions, XmNdeleteResponse, XmDO_NOTHING, nullptr);
    Atom deleteWindow =
        XmInternAtom(XtDisplay(dialog.shell), const_cast<char*>("WM_DELETE_WINDOW"), False);
    XmAddWMProtocolCallback(dialog.shell, deleteWindow, cancel, client);
    dialog.form = XtVaCreateWidget("form", xmFormWidgetClass, dialog.shell, XmNmarginHeight, 3,
                                   XmNmarginWidth, 3, nullptr);
    dialog.body = CreateScrolledBody(dialog.form);
    dialog.frame = XtVaCreateManagedWidget("frame", xmFrameWidgetClass, dialog.body, XmNmarginWidth,
                                           5, XmNmarginHeight, 5, nullptr);
    return dialog;
}

void ShowOptionDialog(const OptionDialogFrame& dialog, const ActionAreaRow* rows, int count) {
    Widget actionArea = CreateActionArea(dialog.form, rows, count);
    Attach(dialog.body).Top(ToForm()).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(actionArea));
    Attach(actionArea).Left(ToForm()).Right(ToForm()).Bottom(ToForm());
    XtManageChild(dialog.form);
    FitScrolledBody(dialog.body, dialog.frame);
    CentreOverParent(dialog.shell);
    XtPopup(dialog.shell, XtGrabNonexclusive);
    BlockOtherInput(dialog.shell);
    XtRealizeWidget(dialog.shell);
    Dimension width = 0;
    Dimension height = 0;
    XtVaGetValues(dialog.shell, XmNwidth, &width, XmNheight, &height, nullptr);
    XtVaSetValues(dialog.shell, XmNminWidth, width, XmNmaxWidth, width, XmNminHeight, height,
                  XmNmaxHeight, height, nullptr);
}

void SetFieldText(Widget field, const char* text) {
    XmTextFieldSetString(field, const_cast<char*>(text));
    XmTextFieldSetInsertionPosition(field, static_cast<XmTextPosition>(std::strlen(text)));
}
