#include "editors/AChoiceModifyWindow.h"

#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/LabelG.h>
#include <Xm/RowColumn.h>
#include <Xm/ToggleBG.h>

#include <cstdint>

#include "toolkit/FormAttachments.h"
#include "toolkit/OwnedXmString.h"

namespace {

void ToggleCallback(Widget toggle, XtPointer self, XtPointer call) {
    static_cast<AChoiceModifyWindow*>(self)->ToggleChanged(
        toggle, static_cast<XmToggleButtonCallbackStruct*>(call)->set ? 1 : 0);
}

} // namespace

AChoiceModifyWindow::AChoiceModifyWindow(AElement* owner)
    : AElementModifyWindow(owner), radioBox(nullptr) {}

void AChoiceModifyWindow::BuildChoiceWidgets(const ChoiceLayout& layout, int chosen) {
    Widget form = XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNmarginHeight, 3,
                                   XmNmarginWidth, 3, nullptr);
    Widget frame = XtVaCreateManagedWidget(layout.frameName, xmFrameWidgetClass, form, nullptr);
    Widget choiceForm = XtVaCreateWidget(layout.formName, xmFormWidgetClass, frame, nullptr);
    OwnedXmString labelText(layout.labelText);
    Widget label =
        XtVaCreateManagedWidget(layout.labelText, xmLabelGadgetClass, choiceForm, XmNlabelString,
                                labelText.Get(), XmNtopAttachment, XmATTACH_FORM, XmNtopOffset, 5,
                                XmNleftAttachment, XmATTACH_FORM, XmNleftOffset, 5, nullptr);
    // Below the label it keeps the label's left edge; beside it, the label's top.
    Arg frameArgs[10];
    Cardinal n = 0;
    auto add = [&](String name, XtArgVal value) {
        XtSetArg(frameArgs[n], name, value);
        n++;
    };
    add(XmNmarginWidth, 5);
    if (layout.labelAbove) {
        add(XmNtopAttachment, XmATTACH_WIDGET);
        add(XmNtopWidget, reinterpret_cast<XtArgVal>(label));
        add(XmNleftAttachment, XmATTACH_FORM);
        add(XmNleftOffset, 5);
    } else {
        add(XmNleftAttachment, XmATTACH_WIDGET);
        add(XmNleftWidget, reinterpret_cast<XtArgVal>(label));
        add(XmNtopAttachment, XmATTACH_FORM);
        add(XmNtopOffset, 5);
    }
    add(XmNrightAttachment, XmATTACH_FORM);
    add(XmNrightOffset, 5);
    add(XmNbottomAttachment, XmATTACH_FORM);
    add(XmNbottomOffset, 5);
    Widget radioFrame =
        XtCreateManagedWidget("radio_frame", xmFrameWidgetClass, choiceForm, frameArgs, n);
    Arg boxArgs[3];
    XtSetArg(boxArgs[0], XmNnumColumns, layout.columns);
    XtSetArg(boxArgs[1], XmNpacking, XmPACK_COLUMN);
    XtSetArg(boxArgs[2], XmNorientation, layout.orientation);
    radioBox = XmCreateRadioBox(radioFrame, const_cast<char*>("radio_box"), boxArgs, 3);
    for (int i = 0; i < layout.count; i++) {
        OwnedXmString toggleText(layout.names[i]);
        Widget toggle = XtVaCreateManagedWidget(
            layout.names[i], xmToggleButtonGadgetClass, radioBox, XmNlabelString, toggleText.Get(),
            XmNuserData, reinterpret_cast<XtPointer>(static_cast<intptr_t>(i)), XmNset,
            chosen == i ? True : False, nullptr);
        XtAddCallback(toggle, XmNvalueChangedCallback, ToggleCallback, this);
    }
    XtManageChild(radioBox);
    XtManageChild(choiceForm);

    Widget actionArea = CreateModifyActionArea(form);
    Attach(frame).Left(ToForm(2)).Right(ToForm(2)).Top(ToForm(2)).Bottom(ToWidget(actionArea));
    Attach(actionArea).Left(ToForm()).Right(ToForm()).Bottom(ToForm());
    XtManageChild(form);
    Show();
    FixSize();
}

void AChoiceModifyWindow::ToggleChanged(Widget toggle, int set) {
    if (!set) return;
    XtPointer data = nullptr;
    XtVaGetValues(toggle, XmNuserData, &data, nullptr);
    Choose(static_cast<int32_t>(reinterpret_cast<intptr_t>(data)));
}
