#include "editors/DialogShell.h"

#include <Xm/MwmUtil.h>
#include <Xm/Protocols.h>
#include <Xm/Xm.h>

Widget CreateDialogShell(Widget parent, const char* name, const char* title, bool modal,
                         XtCallbackProc close, XtPointer client) {
    Widget shell = XtVaCreatePopupShell(
        name, transientShellWidgetClass, parent, XmNtitle, title != nullptr ? title : name,
        XmNmwmDecorations, kDialogDecorations, XmNmwmFunctions, kDialogFunctions, XmNdeleteResponse,
        XmDO_NOTHING, XmNsaveUnder, modal ? True : False, XmNmwmInputMode,
        modal ? MWM_INPUT_PRIMARY_APPLICATION_MODAL : MWM_INPUT_MODELESS, nullptr);
    AddWindowCloseCallback(shell, close, client);
    return shell;
}

void AddWindowCloseCallback(Widget shell, XtCallbackProc callback, XtPointer client) {
    Atom deleteWindow =
        XmInternAtom(XtDisplay(shell), const_cast<char*>("WM_DELETE_WINDOW"), False);
    XmAddWMProtocolCallback(shell, deleteWindow, callback, client);
}

void FixShellSize(Widget shell) {
    Dimension width = 0;
    Dimension height = 0;
    XtVaGetValues(shell, XmNwidth, &width, XmNheight, &height, nullptr);
    XtVaSetValues(shell, XmNminWidth, width, XmNmaxWidth, width, XmNminHeight, height, XmNmaxHeight,
                  height, nullptr);
}
