#include "editors/AElementWindow.h"

#include <Xm/Xm.h>

#include "editors/DialogShell.h"
#include "editors/EditorHost.h"
#include "model/elements/AElement.h"
#include "toolkit/WindowManagerHints.h"

AElementWindow::AElementWindow(AElement* owned) : element(owned), shell(nullptr) {
    shell = XtVaCreatePopupShell("AElementWindow", transientShellWidgetClass,
                                 GetElementParentShell(*element), XmNmwmDecorations,
                                 kWindowDecorations, XmNmwmFunctions, kWindowFunctions,
                                 XmNdeleteResponse, XmDO_NOTHING, nullptr);
    AddWindowCloseCallback(shell, CloseCallback, this);
    XtAddEventHandler(shell, EnterWindowMask | LeaveWindowMask, False, CrossingHandler, element);
    XtAddCallback(shell, XmNdestroyCallback, ShellDestroyedCallback, this);
}

AElementWindow::~AElementWindow() {
    if (shell != nullptr) {
        XtRemoveCallback(shell, XmNdestroyCallback, ShellDestroyedCallback, this);
        XtRemoveEventHandler(shell, EnterWindowMask | LeaveWindowMask, False, CrossingHandler,
                             element);
        XtDestroyWidget(shell);
    }
    element->HideFrame();
    element->DetachView(this);
}

void AElementWindow::Show() {
    XtRealizeWidget(shell);
    XtPopup(shell, XtGrabNone);
}

void AElementWindow::Popup() {
    if (shell == nullptr) return;
    XtPopup(shell, XtGrabNonexclusive);
    // Also brings an iconified window back.
    if (XtIsRealized(shell)) XMapRaised(XtDisplay(shell), XtWindow(shell));
}

void AElementWindow::CloseCallback(Widget, XtPointer self, XtPointer) {
    AElementWindow* window = static_cast<AElementWindow*>(self);
    if (window->CanClose()) delete window;
}

void AElementWindow::CrossingHandler(Widget, XtPointer owner, XEvent* event, Boolean*) {
    AElement* framed = static_cast<AElement*>(owner);
    if (event->type == EnterNotify) {
        framed->ShowFrame();
    } else if (event->type == LeaveNotify && event->xcrossing.detail != NotifyInferior) {
        // Into a child window the pointer is still inside.
        framed->HideFrame();
    }
}

void AElementWindow::ShellDestroyedCallback(Widget, XtPointer self, XtPointer) {
    AElementWindow* window = static_cast<AElementWindow*>(self);
    window->shell = nullptr;
    delete window;
}
