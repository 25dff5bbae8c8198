#include "shell/AboutWindow.h"

#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Protocols.h>
#include <Xm/Xm.h>

#include "shell/Startup.h"
#include "shell/WelcomeBitmaps.h"
#include "shell/WelcomeWindow.h"
#include "toolkit/ActionArea.h"
#include "toolkit/Colors.h"
#include "toolkit/FormAttachments.h"
#include "toolkit/WidgetHelpers.h"
#include "toolkit/WindowManagerHints.h"

namespace {

Widget aboutShell = nullptr;

// However the window goes (OK, the window manager's close, its parent), the pointer goes too.
void AboutDestroyedCallback(Widget widget, XtPointer, XtPointer) {
    if (aboutShell == widget) aboutShell = nullptr;
}

} // namespace

Widget GetAboutShell() {
    return aboutShell;
}

void ShowAbout() {
    Widget topLevel = GetTopLevelShell();
    if (aboutShell != nullptr || topLevel == nullptr) return;
    aboutShell = XtVaCreatePopupShell("About", transientShellWidgetClass, topLevel,
                                      XmNmwmDecorations, kAboutDecorations, XmNmwmFunctions,
                                      kDialogFunctions, XmNdeleteResponse, XmDO_NOTHING, nullptr);
    XtAddCallback(aboutShell, XmNdestroyCallback, AboutDestroyedCallback, nullptr);
    const Atom deleteWindow =
        XmInternAtom(XtDisplay(aboutShell), const_cast<char*>("WM_DELETE_WINDOW"), False);
    XmAddWMProtocolCallback(aboutShell, deleteWindow, DestroyAndClearCallback,
                            static_cast<XtPointer>(&aboutShell));

    Widget form = XtVaCreateWidget("form", xmFormWidgetClass, aboutShell, XmNmarginHeight, 3,
                                   XmNmarginWidth, 3, nullptr);
    Widget frame = XtVaCreateManagedWidget("frame", xmFrameWidgetClass, form, nullptr);
    Widget draw = XtVaCreateManagedWidget("draw", xmDrawingAreaWidgetClass, frame, XmNbackground,
                                          GetGray90b(), XmNwidth, 400, XmNheight, 470, nullptr);
    XtAddCallback(draw, XmNexposeCallback, AboutExposeCallback, nullptr);
    const ActionAreaRow rows[] = {
        {"OK", DestroyAndClearCallback, static_cast<XtPointer>(&aboutShell)},
    };
    Widget actionArea = CreateActionArea(form, rows, XtNumber(rows));
    Attach(frame).Top(ToForm()).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(actionArea));
    Attach(actionArea).Left(ToForm()).Right(ToForm()).Bottom(ToForm());

    XtManageChild(form);
    // Managed and realized but not yet shown: it is mapped once, where it is centred.
    XtSetMappedWhenManaged(aboutShell, False);
    XtManageChild(aboutShell);
    XtRealizeWidget(aboutShell);
    // The window cannot be resized.
    Dimension width = 0;
    Dimension height = 0;
    XtVaGetValues(aboutShell, XmNwidth, &width, XmNheight, &height, nullptr);
    XtVaSetValues(aboutShell, XmNminWidth, width, XmNmaxWidth, width, XmNminHeight, height,
                  XmNmaxHeight, height, nullptr);
    CentreOverParent(aboutShell);
    XtSetMappedWhenManaged(aboutShell, True);
    XmUpdateDisplay(aboutShell);
}

void AboutExposeCallback(Widget widget, XtPointer, XtPointer callData) {
    DrawPlacedBitmaps(widget, callData, kAboutBitmaps, kAboutBitmapCount);
}
