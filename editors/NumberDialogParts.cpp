#include "editors/NumberDialogParts.h"

#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/LabelG.h>
#include <Xm/RowColumn.h>
#include <Xm/Separator.h>
#include <Xm/TextF.h>

#include "editors/DialogShell.h"
#include "toolkit/ActionArea.h"
#include "toolkit/Bell.h"
#include "toolkit/FormAttachments.h"
#include "toolkit/OwnedXmString.h"
#include "toolkit/OwnedXtString.h"
#include "toolkit/ReadInt.h"
#include "toolkit/ReadIntRule.h"
#include "toolkit/WidgetHelpers.h"

int16_t FieldCharacters(int32_t max) {
    int16_t digits = 1;
    for (int32_t rest = max; rest >= 10; rest /= 10)
        digits++;
    return digits;
}

Widget CreateNumberDialogForm(Widget shell, int values, XtCallbackProc ok, XtCallbackProc cancel,
                              XtPointer client) {
    Widget form = XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNmarginHeight, 3,
                                   XmNmarginWidth, 3, nullptr);
    Widget frame =
        XtVaCreateManagedWidget("frame", xmFrameWidgetClass, form, XmNmarginWidth, 5, nullptr);
    // Horizontal column packing fills one row per value: labels left, fields right.
    Widget rowColumn = XtVaCreateManagedWidget(
        "rowcolumn1", xmRowColumnWidgetClass, frame, XmNorientation, XmHORIZONTAL, XmNpacking,
        XmPACK_COLUMN, XmNnumColumns, values, XmNisAligned, True, XmNentryAlignment,
        XmALIGNMENT_CENTER, XmNadjustLast, False, nullptr);
    Widget separator = XtVaCreateManagedWidget("Helpseparator", xmSeparatorWidgetClass, form,
                                               XmNheight, 5, XmNseparatorType, XmNO_LINE, nullptr);
    const ActionAreaRow rows[] = {
        {"OK", ok, client},
        {"Cancel", cancel, client},
    };
    Widget actionArea = CreateActionArea(form, rows, XtNumber(rows));
    Attach(frame).Left(ToForm()).Right(ToForm()).Top(ToForm()).Bottom(ToWidget(separator));
    Attach(separator).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(actionArea));
    Attach(actionArea).Left(ToForm()).Right(ToForm()).Bottom(ToForm());
    XtManageChild(form);
    return rowColumn;
}

Widget CreateNumberRow(Widget rowColumn, const char* labelName, const char* text, bool multiline,
                       Widget* label, int16_t characters, int32_t value, int32_t min, int32_t max,
                       int32_t divisor, XtCallbackProc ok, XtPointer client) {
    OwnedXmString string(multiline ? XmStringCreateLtoR(const_cast<char*>(text),
                                                        const_cast<char*>(XmFONTLIST_DEFAULT_TAG))
                                   : XmStringCreateLocalized(const_cast<char*>(text)));
    *label = XtVaCreateManagedWidget(labelName, xmLabelGadgetClass, rowColumn, XmNlabelString,
                                     string.Get(), nullptr);
    return CreateReadInt(rowColumn, ReadIntOptions()
                                        .Size(characters, characters)
                                        .Value(value)
                                        .Range(min, max)
                                        .DividingMax(divisor != 0)
                                        .OnActivate(ok, client));
}

void ShowNumberDialog(Widget shell) {
    // Realized first, so that centring can map the window even under an unrealized parent.
    XtRealizeWidget(shell);
    CentreOverParent(shell);
    XtPopup(shell, XtGrabExclusive);
    FixShellSize(shell);
}

int ReadNumberField(Widget field, int32_t shown, int32_t min, int32_t max, int32_t divisor,
                    int32_t* value) {
    int32_t v = 0;
    if (!ReadIntGetValue(field, &v)) return 0;
    if (divisor && !DividesMax(v, max)) {
        OwnedXtString current(XmTextFieldGetString(ReadIntGetText(field)));
        const ReadIntLimits limits = {min, max, divisor, FieldCharacters(max)};
        const ReadIntOutcome outcome = ReadIntCheck(current.Get(), limits, shown);
        ReadIntSetValue(field, outcome.value);
        for (int i = 0; i < outcome.bells; i++)
            RingBell(XtDisplay(field));
        return 0;
    }
    *value = v;
    return 1;
}
