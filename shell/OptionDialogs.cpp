#include "shell/OptionDialogs.h"

#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Protocols.h>
#include <Xm/TextF.h>
#include <Xm/Xm.h>

#include <cstring>

#include "toolkit/WidgetHelpers.h"
#include "toolkit/WindowManagerHints.h"

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
    dialog.frame = XtVaCreateManagedWidget("frame", xmFrameWidgetClass, dialog.form, XmNmarginWidth,
                                           5, XmNmarginHeight, 5, nullptr);
    return dialog;
}

void ShowOptionDialog(const OptionDialogFrame& dialog, const ActionAreaRow* rows, int count) {
    Widget actionArea = CreateActionArea(dialog.form, rows, count);
    XtVaSetValues(dialog.frame, XmNtopAttachment, XmATTACH_FORM, XmNleftAttachment, XmATTACH_FORM,
                  XmNrightAttachment, XmATTACH_FORM, XmNbottomAttachment, XmATTACH_WIDGET,
                  XmNbottomWidget, actionArea, nullptr);
    XtVaSetValues(actionArea, XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
                  XmNbottomAttachment, XmATTACH_FORM, nullptr);
    XtManageChild(dialog.form);
    CentreOverParent(dialog.shell);
    XtPopup(dialog.shell, XtGrabNonexclusive);
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
