#include "toolkit/ActionArea.h"

#include "toolkit/OwnedXmString.h"

#include <Xm/Form.h>
#include <Xm/PushB.h>

#include <iostream>

namespace {

constexpr int kMarginHeight = 5; // pixels above and below the buttons

} // namespace

Widget CreateActionArea(Widget parent, const ActionAreaRow* rows, int count) {
    if (count < 1) {
        std::cerr << "CreateActionArea: no rows\n";
        count = 0;
    }
    // Each button takes 19 of 20 units, the last unit of the base is dropped.
    Widget form = XtVaCreateWidget("action_area", xmFormWidgetClass, parent, XmNfractionBase,
                                   count > 0 ? 20 * count - 1 : 1, XmNleftOffset, 10,
                                   XmNrightOffset, 10, XmNmarginHeight, kMarginHeight, nullptr);
    for (int i = 0; i < count; ++i) {
        OwnedXmString label(rows[i].label);
        const bool last = i == count - 1;
        Widget button = XtVaCreateManagedWidget(
            "ActionButton", xmPushButtonWidgetClass, form, XmNlabelString, label.Get(),
            XmNtopAttachment, XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM, XmNleftAttachment,
            i == 0 ? XmATTACH_FORM : XmATTACH_POSITION, XmNleftPosition, 20 * i, XmNrightAttachment,
            last ? XmATTACH_FORM : XmATTACH_POSITION, XmNrightPosition, 20 * i + 19,
            XmNshowAsDefault, i == 0 ? 1 : 0, XmNdefaultButtonShadowThickness, 1, nullptr);
        if (rows[i].callback != nullptr) {
            XtAddCallback(button, XmNactivateCallback, rows[i].callback, rows[i].clientData);
        }
        if (i == 0) {
            Dimension height = 0;
            XtVaGetValues(button, XmNheight, &height, nullptr);
            const int paneHeight = height + 2 * kMarginHeight;
            XtVaSetValues(form, XmNdefaultButton, button, XmNpaneMaximum, paneHeight,
                          XmNpaneMinimum, paneHeight, nullptr);
        }
    }
    XtManageChild(form);
    return form;
}
