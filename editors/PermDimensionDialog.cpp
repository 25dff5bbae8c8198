#include "editors/PermDimensionDialog.h"

#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/LabelG.h>
#include <Xm/RowColumn.h>

#include <cstdint>
#include <iostream>

#include "editors/DialogShell.h"
#include "editors/EditorHost.h"
#include "model/elements/APermElem.h"
#include "model/elements/ElementUi.h"
#include "model/elements/MessageKind.h"
#include "toolkit/ActionArea.h"
#include "toolkit/FormAttachments.h"
#include "toolkit/OwnedXmString.h"
#include "toolkit/ReadInt.h"

namespace {

const int32_t kMinDimension = 1;
const int32_t kMaxDimension = 65536;
const int32_t kFieldCharacters = 4; // so typing reaches 9999; the arrows cannot pass it either

void OkCallback(Widget w, XtPointer self, XtPointer call) {
    if (ReadIntPressHitCorrection(w, call)) return;
    static_cast<PermDimensionDialog*>(self)->Ok();
}

void CancelCallback(Widget, XtPointer self, XtPointer) {
    static_cast<PermDimensionDialog*>(self)->Cancel();
}

Widget CreateLabel(Widget parent, const char* name, const char* text) {
    OwnedXmString string(text);
    return XtVaCreateManagedWidget(name, xmLabelGadgetClass, parent, XmNlabelString, string.Get(),
                                   nullptr);
}

Widget CreateRowColumn(Widget parent, const char* name, unsigned char orientation) {
    return XtVaCreateManagedWidget(name, xmRowColumnWidgetClass, parent, XmNorientation,
                                   orientation, XmNentryAlignment, XmALIGNMENT_BEGINNING, nullptr);
}

// A row " x: " or " y: " and its field.
Widget CreateDimensionRow(Widget parent, const char* name, const char* text, int32_t value,
                          XtPointer self) {
    Widget row = CreateRowColumn(parent, name, XmHORIZONTAL);
    CreateLabel(row, "dim_label", text);
    return CreateReadInt(row, ReadIntOptions()
                                  .Size(kFieldCharacters, kFieldCharacters)
                                  .Value(value)
                                  .Range(kMinDimension, kMaxDimension)
                                  .OnActivate(OkCallback, self));
}

} // namespace

ElementView* PermDimensionDialog::Make(AElement& element, const ViewRequest&) {
    EditorHost* host = GetEditorHost();
    APermElem* perm = dynamic_cast<APermElem*>(&element);
    if (perm == nullptr || host == nullptr || host->GetTopLevel() == nullptr) {
        std::cerr << "PermDimensionDialog::Make: no PERM element or top-level shell" << std::endl;
        return nullptr;
    }
    return new PermDimensionDialog(perm);
}

PermDimensionDialog::PermDimensionDialog(APermElem* owner)
    : shell(nullptr), inputX(nullptr), inputY(nullptr), outputX(nullptr), outputY(nullptr),
      element(owner), deletedFlag(nullptr) {
    EditorHost* host = GetEditorHost();
    Widget parent = host != nullptr ? host->GetTopLevel() : nullptr;
    if (parent == nullptr) {
        std::cerr << "PermDimensionDialog::PermDimensionDialog: no top-level shell" << std::endl;
        return;
    }
    BuildWidgets(parent);
}

PermDimensionDialog::~PermDimensionDialog() {
    if (deletedFlag != nullptr) *deletedFlag = true;
    if (shell != nullptr) {
        XtRemoveCallback(shell, XmNdestroyCallback, ShellDestroyedCallback, this);
        XtDestroyWidget(shell);
    }
    element->DetachView(this);
}

void PermDimensionDialog::BuildWidgets(Widget parent) {
    shell =
        CreateDialogShell(parent, "Change Dimension - Perm", nullptr, false, CancelCallback, this);
    XtAddCallback(shell, XmNdestroyCallback, ShellDestroyedCallback, this);
    Widget form = XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNmarginHeight, 3,
                                   XmNmarginWidth, 3, nullptr);
    Widget frame = XtVaCreateManagedWidget("frame", xmFrameWidgetClass, form, nullptr);
    Widget valueForm = XtVaCreateManagedWidget("value_form", xmFormWidgetClass, frame,
                                               XmNfractionBase, 2, nullptr);
    Widget inFrame = XtVaCreateManagedWidget(
        "in_frame", xmFrameWidgetClass, valueForm, XmNleftAttachment, XmATTACH_FORM,
        XmNrightAttachment, XmATTACH_POSITION, XmNrightPosition, 1, XmNtopAttachment, XmATTACH_FORM,
        XmNbottomAttachment, XmATTACH_FORM, nullptr);
    Widget outFrame = XtVaCreateManagedWidget(
        "out_frame", xmFrameWidgetClass, valueForm, XmNleftAttachment, XmATTACH_POSITION,
        XmNleftPosition, 1, XmNrightAttachment, XmATTACH_FORM, XmNtopAttachment, XmATTACH_FORM,
        XmNbottomAttachment, XmATTACH_FORM, nullptr);

    Widget inRows = CreateRowColumn(inFrame, "in_rc", XmVERTICAL);
    CreateLabel(inRows, "in_label", "Input:");
    inputX = CreateDimensionRow(inRows, "xi_dim_rc", " x: ", element->GetInputPlaneWidth(0), this);
    inputY = CreateDimensionRow(inRows, "yi_dim_rc", " y: ", element->GetInputPlaneHeight(0), this);
    Widget outRows = CreateRowColumn(outFrame, "out_rc", XmVERTICAL);
    CreateLabel(outRows, "out_label", "Output:");
    outputX =
        CreateDimensionRow(outRows, "xo_dim_rc", " x: ", element->GetOutputPlaneWidth(0), this);
    outputY =
        CreateDimensionRow(outRows, "yo_dim_rc", " y: ", element->GetOutputPlaneHeight(0), this);

    const ActionAreaRow rows[] = {
        {"OK", OkCallback, this},
        {"Cancel", CancelCallback, this},
    };
    Widget actionArea = CreateActionArea(form, rows, XtNumber(rows));
    Attach(frame).Left(ToForm()).Right(ToForm()).Top(ToForm()).Bottom(ToWidget(actionArea));
    Attach(actionArea).Left(ToForm()).Right(ToForm()).Bottom(ToForm());
    XtManageChild(form);
    XtPopup(shell, XtGrabNone);
    XtRealizeWidget(shell);
    FixShellSize(shell);
}

void PermDimensionDialog::Ok() {
    // A second OK while the question waits is the same request.
    if (deletedFlag != nullptr || shell == nullptr) return;
    int32_t xi = 0, yi = 0, xo = 0, yo = 0;
    if (!ReadIntGetValue(inputX, &xi) || !ReadIntGetValue(inputY, &yi) ||
        !ReadIntGetValue(outputX, &xo) || !ReadIntGetValue(outputY, &yo)) {
        return;
    }
    bool deleted = false;
    deletedFlag = &deleted;
    const int answer = GetElementUi().Ask(kMessageYesNo, "Warning",
                                          "All data of the element will be lost!\nContinue?");
    // The element, and with it this dialog, may have gone while the question waited.
    if (deleted) return;
    deletedFlag = nullptr;
    if (answer == kResultYes) {
        for (int i = 0; i < element->GetInputCount(); i++)
            element->SetInputPlaneSize(i, xi, yi);
        for (int i = 0; i < element->GetOutputCount(); i++)
            element->SetOutputPlaneSize(i, xo, yo);
        element->DeleteConnections();
        element->DimensionChanged();
        element->RefreshShowDataWindows();
    }
    delete this;
}

void PermDimensionDialog::Cancel() {
    // While the question waits, its answer ends the dialog.
    if (deletedFlag != nullptr) return;
    delete this;
}

void PermDimensionDialog::ShellDestroyedCallback(Widget, XtPointer self, XtPointer) {
    PermDimensionDialog* dialog = static_cast<PermDimensionDialog*>(self);
    dialog->shell = nullptr;
    delete dialog;
}
