#include "editors/ASSeedModifyWindow.h"

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
    static_cast<ASSeedModifyWindow*>(self)->ToggleChanged(
        toggle, static_cast<XmToggleButtonCallbackStruct*>(call)->set ? 1 : 0);
}

} // namespace

ASSeedModifyWindow::ASSeedModifyWindow(D_SSeedElem* seedData, AElement* owner,
                                       AElementModifyWindow** slot)
    : AElementModifyWindow(owner, slot), workingCopy(std::make_unique<D_SSeedElem>(*seedData)),
      radioBox(nullptr) {
    BuildWidgets();
}

ASSeedModifyWindow::~ASSeedModifyWindow() {
    workingCopy.reset();
}

void ASSeedModifyWindow::Make(AElement& element, FileArgument* data, AElementModifyWindow** slot) {
    D_SSeedElem* seed = dynamic_cast<D_SSeedElem*>(data);
    if (seed == nullptr) {
        std::cerr << "ASSeedModifyWindow::Make: no S-SEED data" << std::endl;
        return;
    }
    new ASSeedModifyWindow(seed, &element, slot);
}

void ASSeedModifyWindow::BuildWidgets() {
    Widget form = XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNmarginHeight, 3,
                                   XmNmarginWidth, 3, nullptr);
    Widget frame = XtVaCreateManagedWidget("frame", xmFrameWidgetClass, form, nullptr);
    Widget valueForm = XtVaCreateWidget("value_form", xmFormWidgetClass, frame, nullptr);
    OwnedXmString labelText("Orientation: ");
    Widget label =
        XtVaCreateManagedWidget("Orientation: ", xmLabelGadgetClass, valueForm, XmNlabelString,
                                labelText.Get(), XmNtopAttachment, XmATTACH_FORM, XmNtopOffset, 5,
                                XmNleftAttachment, XmATTACH_FORM, XmNleftOffset, 5, nullptr);
    Widget radioFrame = XtVaCreateManagedWidget(
        "radio_frame", xmFrameWidgetClass, valueForm, XmNmarginWidth, 5, XmNleftAttachment,
        XmATTACH_WIDGET, XmNleftWidget, label, XmNtopAttachment, XmATTACH_FORM, XmNtopOffset, 5,
        XmNrightAttachment, XmATTACH_FORM, XmNrightOffset, 5, XmNbottomAttachment, XmATTACH_FORM,
        XmNbottomOffset, 5, nullptr);
    Arg args[2];
    XtSetArg(args[0], XmNnumColumns, 1);
    XtSetArg(args[1], XmNpacking, XmPACK_COLUMN);
    radioBox = XmCreateRadioBox(radioFrame, const_cast<char*>("radio_box"), args, 2);
    const char* const names[] = {"Vertical", "Horizontal"}; // by orientation
    for (int i = 0; i < 2; i++) {
        OwnedXmString toggleText(names[i]);
        Widget toggle = XtVaCreateManagedWidget(
            names[i], xmToggleButtonGadgetClass, radioBox, XmNlabelString, toggleText.Get(),
            XmNuserData, reinterpret_cast<XtPointer>(static_cast<intptr_t>(i)), XmNset,
            workingCopy->GetOrientation() == i ? True : False, nullptr);
        XtAddCallback(toggle, XmNvalueChangedCallback, ToggleCallback, this);
    }
    XtManageChild(radioBox);
    XtManageChild(valueForm);

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

void ASSeedModifyWindow::ToggleChanged(Widget toggle, int set) {
    if (!set) return;
    XtPointer data = nullptr;
    XtVaGetValues(toggle, XmNuserData, &data, nullptr);
    workingCopy->SetOrientation(static_cast<int32_t>(reinterpret_cast<intptr_t>(data)));
}

void ASSeedModifyWindow::StoreCopy() {
    if (ASSeedElem* seed = dynamic_cast<ASSeedElem*>(element)) seed->GetData() = *workingCopy;
}
