#include "toolkit/ActionArea.h"

#include "toolkit/DialogKeys.h"
#include "toolkit/OwnedXmString.h"

#include <Xm/Form.h>
#include <Xm/PushB.h>

#include <iostream>
#include <string>

namespace {

constexpr int kMarginHeight = 5; // pixels above and below the buttons

// "Cancel" or "Close", blanks around the word allowed.
bool IsCancelLabel(const char* label) {
    std::string word(label != nullptr ? label : "");
    const size_t first = word.find_first_not_of(' ');
    const size_t last = word.find_last_not_of(' ');
    if (first == std::string::npos) return false;
    word = word.substr(first, last - first + 1);
    return word == "Cancel" || word == "Close";
}

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
    // Escape presses "Cancel" or "Close", or the only button; Return the first.
    Widget cancel = nullptr;
    WidgetList buttons = nullptr;
    Cardinal made = 0;
    XtVaGetValues(form, XmNchildren, &buttons, XmNnumChildren, &made, nullptr);
    for (int i = 0; i < count && i < static_cast<int>(made); ++i) {
        if (IsCancelLabel(rows[i].label) || count == 1) cancel = buttons[i];
    }
    SetDialogKeys(form, made > 0 ? buttons[0] : nullptr, cancel);
    XtManageChild(form);
    return form;
}
