#include "toolkit/MessageDialog.h"

#include "toolkit/OwnedXmString.h"
#include "toolkit/WindowManagerHints.h"

#include <Xm/MessageB.h>
#include <Xm/Protocols.h>
#include <Xm/VirtKeys.h>
#include <Xm/Xm.h>

#include <cstdio>

namespace {

// The four button labels, made once before main runs and kept for the whole run.
const OwnedXmString okLabel(" Ok ");
const OwnedXmString cancelLabel(" Cancel ");
const OwnedXmString yesLabel(" Yes ");
const OwnedXmString noLabel(" No ");

// One waiting call: its kind and its answer, given to the callbacks as client data. Kept on the
// stack of MessageDialog so that nested dialogs do not share an answer.
struct PendingMessage {
    MessageKind kind;
    MessageResult result;
};

// The box reports Escape as a press of its Cancel button, the one labelled " No " on the
// three-button question; the key itself tells them apart.
bool IsCancelKey(const XEvent* event) {
    if (event == nullptr || event->type != KeyPress) {
        return false;
    }
    Modifiers unused = 0;
    KeySym key = NoSymbol;
    XmTranslateKey(event->xkey.display, static_cast<KeyCode>(event->xkey.keycode),
                   event->xkey.state, &unused, &key);
    return key == osfXK_Cancel;
}

void MessageDialogCallback(Widget, XtPointer client, XtPointer call) {
    PendingMessage* pending = static_cast<PendingMessage*>(client);
    const XmAnyCallbackStruct* cbs = static_cast<XmAnyCallbackStruct*>(call);
    const MessageResult result = cbs->reason == XmCR_CANCEL && IsCancelKey(cbs->event)
                                     ? MessageEscapeResult(pending->kind)
                                     : MessageButtonResult(pending->kind, cbs->reason);
    if (result != kResultNone) {
        pending->result = result;
    }
}

void MessageCloseCallback(Widget, XtPointer client, XtPointer) {
    PendingMessage* pending = static_cast<PendingMessage*>(client);
    pending->result = MessageCloseResult(pending->kind);
}

Widget CreateBox(Widget parent, MessageKind kind, Arg* args, Cardinal count) {
    switch (kind) {
        case kMessageInfo:
            return XmCreateInformationDialog(parent, const_cast<char*>("Dialog"), args, count);
        case kMessageWarning:
            return XmCreateWarningDialog(parent, const_cast<char*>("Dialog"), args, count);
        default:
            return XmCreateQuestionDialog(parent, const_cast<char*>("Dialog"), args, count);
    }
}

} // namespace

MessageResult MessageButtonResult(MessageKind kind, int reason) {
    switch (reason) {
        case XmCR_OK:
            return kind == kMessageYesNo || kind == kMessageYesNoCancel ? kResultYes : kResultOk;
        case XmCR_CANCEL:
            // The one-button kinds have no Cancel button to press; Escape still reaches them.
            if (kind == kMessageInfo || kind == kMessageWarning) {
                return kResultOk;
            }
            return kind == kMessageYesNo || kind == kMessageYesNoCancel ? kResultNo : kResultCancel;
        case XmCR_HELP:
            return kind == kMessageYesNoCancel ? kResultCancel : kResultNone;
        default:
            return kResultNone;
    }
}

MessageResult MessageEscapeResult(MessageKind kind) {
    return kind == kMessageYesNoCancel ? kResultCancel : MessageButtonResult(kind, XmCR_CANCEL);
}

MessageResult MessageCloseResult(MessageKind kind) {
    switch (kind) {
        case kMessageOkCancel:
        case kMessageYesNoCancel:
            return kResultCancel;
        case kMessageYesNo:
            return kResultNo;
        default:
            return kResultOk;
    }
}

MessageResult MessageDialog(Widget parent, MessageKind kind, const char* title, const char* text) {
    if (kind < kMessageInfo || kind > kMessageYesNoCancel) {
        std::fprintf(stderr, "MessageDialog: unknown kind %d\n", static_cast<int>(kind));
        kind = kMessageInfo;
    }
    const bool question = kind == kMessageYesNo || kind == kMessageYesNoCancel;
    PendingMessage pending = {kind, kResultNone};
    Widget box = nullptr;
    {
        OwnedXmString message(
            XmStringCreateLtoR(const_cast<char*>(text), const_cast<char*>(XmFONTLIST_DEFAULT_TAG)));
        Arg args[6];
        Cardinal n = 0;
        XtSetArg(args[n], XmNdialogStyle, XmDIALOG_FULL_APPLICATION_MODAL);
        ++n;
        XtSetArg(args[n], XmNmessageString, message.Get());
        ++n;
        XtSetArg(args[n], XmNokLabelString, (question ? yesLabel : okLabel).Get());
        ++n;
        XtSetArg(args[n], XmNcancelLabelString, (question ? noLabel : cancelLabel).Get());
        ++n;
        XtSetArg(args[n], XmNhelpLabelString, cancelLabel.Get());
        ++n;
        box = CreateBox(parent, kind, args, n);
        if (kind == kMessageInfo || kind == kMessageWarning) {
            XtUnmanageChild(XmMessageBoxGetChild(box, XmDIALOG_CANCEL_BUTTON));
        }
        if (kind != kMessageYesNoCancel) {
            XtUnmanageChild(XmMessageBoxGetChild(box, XmDIALOG_HELP_BUTTON));
        }
        XtAddCallback(box, XmNokCallback, MessageDialogCallback, &pending);
        XtAddCallback(box, XmNcancelCallback, MessageDialogCallback, &pending);
        XtAddCallback(box, XmNhelpCallback, MessageDialogCallback, &pending);

        Widget shell = XtParent(box);
        XtVaSetValues(shell, XmNtitle, title, XmNmwmDecorations, kDialogDecorations,
                      XmNmwmFunctions, kMessageFunctions, XmNdeleteResponse, XmDO_NOTHING, nullptr);
        // mwm offers no close, but another window manager may: its close answers no.
        const Atom deleteWindow =
            XmInternAtom(XtDisplay(shell), const_cast<char*>("WM_DELETE_WINDOW"), False);
        XmAddWMProtocolCallback(shell, deleteWindow, MessageCloseCallback, &pending);

        XtManageChild(box);
        XtPopup(shell, XtGrabNone);
    }

    XtAppContext app = XtWidgetToApplicationContext(parent);
    while (pending.result == kResultNone) {
        XtAppProcessEvent(app, XtIMAll);
    }

    // Unmapped at once: inside a callback the destruction itself waits for the outer dispatch.
    // Until then a click already queued could still reach the box, so its callbacks, which
    // point at this call's answer, go first.
    Widget shell = XtParent(box);
    XtRemoveCallback(box, XmNokCallback, MessageDialogCallback, &pending);
    XtRemoveCallback(box, XmNcancelCallback, MessageDialogCallback, &pending);
    XtRemoveCallback(box, XmNhelpCallback, MessageDialogCallback, &pending);
    XmRemoveWMProtocolCallback(
        shell, XmInternAtom(XtDisplay(shell), const_cast<char*>("WM_DELETE_WINDOW"), False),
        MessageCloseCallback, &pending);
    XtPopdown(shell);
    XtDestroyWidget(shell);
    XmUpdateDisplay(parent);
    return pending.result;
}

MessageResult InfoMessage(Widget parent, const char* title, const char* text) {
    return MessageDialog(parent, kMessageInfo, title, text);
}

MessageResult WarningMessage(Widget parent, const char* title, const char* text) {
    return MessageDialog(parent, kMessageWarning, title, text);
}

MessageResult AskOkCancel(Widget parent, const char* title, const char* text) {
    return MessageDialog(parent, kMessageOkCancel, title, text);
}

MessageResult AskYesNo(Widget parent, const char* title, const char* text) {
    return MessageDialog(parent, kMessageYesNo, title, text);
}

MessageResult AskYesNoCancel(Widget parent, const char* title, const char* text) {
    return MessageDialog(parent, kMessageYesNoCancel, title, text);
}
