#include "editors/AJoinModifyWindow.h"

#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/LabelG.h>
#include <Xm/RowColumn.h>
#include <Xm/ToggleBG.h>

#include <cstdint>
#include <iostream>

#include "toolkit/OwnedXmString.h"

namespace {

void ToggleCallback(Widget toggle, XtPointer self, XtPointer call) {
    static_cast<AJoinModifyWindow*>(self)->ToggleChanged(
        toggle, static_cast<XmToggleButtonCallbackStruct*>(call)->set ? 1 : 0);
}

} // namespace

AJoinModifyWindow::AJoinModifyWindow(D_JoinElem* ruleData, AElement* owner,
                                     AElementModifyWindow** slot)
    : AElementModifyWindow(owner, slot), workingCopy(std::make_unique<D_JoinElem>(*ruleData)),
      radioBox(nullptr) {
    BuildWidgets();
}

AJoinModifyWindow::~AJoinModifyWindow() {
    workingCopy.reset();
}

void AJoinModifyWindow::Make(AElement& element, FileArgument* data, AElementModifyWindow** slot) {
    D_JoinElem* rule = dynamic_cast<D_JoinElem*>(data);
    if (rule == nullptr) {
        std::cerr << "AJoinModifyWindow::Make: no JOIN data" << std::endl;
        return;
    }
    new AJoinModifyWindow(rule, &element, slot);
}

void AJoinModifyWindow::BuildWidgets() {
    Widget form = XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNmarginHeight, 3,
                                   XmNmarginWidth, 3, nullptr);
    Widget frame = XtVaCreateManagedWidget("data_frame", xmFrameWidgetClass, form, nullptr);
    Widget dataForm = XtVaCreateWidget("data_form", xmFormWidgetClass, frame, nullptr);
    OwnedXmString labelText("Type:");
    Widget label =
        XtVaCreateManagedWidget("Type:", xmLabelGadgetClass, dataForm, XmNlabelString,
                                labelText.Get(), XmNtopAttachment, XmATTACH_FORM, XmNtopOffset, 5,
                                XmNleftAttachment, XmATTACH_FORM, XmNleftOffset, 5, nullptr);
    Widget radioFrame = XtVaCreateManagedWidget(
        "radio_frame", xmFrameWidgetClass, dataForm, XmNmarginWidth, 5, XmNtopAttachment,
        XmATTACH_WIDGET, XmNtopWidget, label, XmNleftAttachment, XmATTACH_FORM, XmNleftOffset, 5,
        XmNrightAttachment, XmATTACH_FORM, XmNrightOffset, 5, XmNbottomAttachment, XmATTACH_FORM,
        XmNbottomOffset, 5, nullptr);
    Arg args[3];
    XtSetArg(args[0], XmNnumColumns, 2);
    XtSetArg(args[1], XmNpacking, XmPACK_COLUMN);
    XtSetArg(args[2], XmNorientation, XmHORIZONTAL);
    radioBox = XmCreateRadioBox(radioFrame, const_cast<char*>("radio_box"), args, 3);
    const char* const names[kJoinRuleCount] = {"Or", "Nor", "Xor", "And", "Nand"}; // by rule
    for (int i = 0; i < kJoinRuleCount; i++) {
        OwnedXmString toggleText(names[i]);
        Widget toggle = XtVaCreateManagedWidget(
            names[i], xmToggleButtonGadgetClass, radioBox, XmNlabelString, toggleText.Get(),
            XmNuserData, reinterpret_cast<XtPointer>(static_cast<intptr_t>(i)), XmNset,
            workingCopy->GetRule() == i ? True : False, nullptr);
        XtAddCallback(toggle, XmNvalueChangedCallback, ToggleCallback, this);
    }
    XtManageChild(radioBox);
    XtManageChild(dataForm);

    Widget actionArea = CreateModifyActionArea(form);
    XtVaSetValues(frame, XmNleftAttachment, XmATTACH_FORM, XmNleftOffset, 2, XmNrightAttachment,
                  XmATTACH_FORM, XmNrightOffset, 2, XmNtopAttachment, XmATTACH_FORM, XmNtopOffset,
                  2, XmNbottomAttachment, XmATTACH_WIDGET, XmNbottomWidget, actionArea, nullptr);
    XtVaSetValues(actionArea, XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
                  XmNbottomAttachment, XmATTACH_FORM, nullptr);
    XtManageChild(form);
    Show();
    FixSize();
}

void AJoinModifyWindow::ToggleChanged(Widget toggle, int set) {
    if (!set) return;
    XtPointer data = nullptr;
    XtVaGetValues(toggle, XmNuserData, &data, nullptr);
    workingCopy->SetRule(static_cast<int32_t>(reinterpret_cast<intptr_t>(data)));
}

void AJoinModifyWindow::StoreCopy() {
    if (AJoinElem* join = dynamic_cast<AJoinElem*>(element)) join->GetData() = *workingCopy;
}
