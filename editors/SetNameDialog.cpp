#include "editors/SetNameDialog.h"

#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/LabelG.h>
#include <Xm/TextF.h>

#include "editors/DialogShell.h"
#include "editors/EditorHost.h"
#include "model/elements/AElement.h"
#include "model/elements/ElementType.h"
#include "toolkit/ActionArea.h"
#include "toolkit/Bell.h"
#include "toolkit/DialogKeys.h"
#include "toolkit/FormAttachments.h"
#include "toolkit/OwnedXtString.h"

namespace {

const int kNameLength = 10;
const int kCommentLength = 100;
const int kCommentColumns = 60;

void OkCallback(Widget, XtPointer self, XtPointer) {
    static_cast<SetNameDialog*>(self)->Ok();
}

void ApplyCallback(Widget, XtPointer self, XtPointer) {
    static_cast<SetNameDialog*>(self)->Apply();
}

void CancelCallback(Widget, XtPointer self, XtPointer) {
    static_cast<SetNameDialog*>(self)->Cancel();
}

void LosingFocusCallback(Widget field, XtPointer self, XtPointer) {
    static_cast<SetNameDialog*>(self)->LosingFocus(field);
}

std::string FieldText(Widget field) {
    OwnedXtString text(XmTextFieldGetString(field));
    return text.Get() != nullptr ? text.Get() : "";
}

void SetFieldText(Widget field, const std::string& text) {
    XmTextFieldSetString(field, const_cast<char*>(text.c_str()));
}

Widget CreateField(Widget parent, Widget above, const char* labelName, int maxLength,
                   const std::string& text) {
    Widget label = XtVaCreateManagedWidget(labelName, xmLabelGadgetClass, parent, XmNleftAttachment,
                                           XmATTACH_FORM, XmNleftOffset, 5, XmNtopAttachment,
                                           above != nullptr ? XmATTACH_WIDGET : XmATTACH_FORM,
                                           XmNtopWidget, above, XmNtopOffset, 5, nullptr);
    return XtVaCreateManagedWidget(
        "Text", xmTextFieldWidgetClass, parent, XmNmaxLength, maxLength, XmNvalue, text.c_str(),
        XmNleftAttachment, XmATTACH_FORM, XmNleftOffset, 5, XmNrightAttachment, XmATTACH_FORM,
        XmNrightOffset, 5, XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, label, nullptr);
}

} // namespace

std::string WithoutLeadingBlanks(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

NameCheck CheckNameAndComment(const std::string& name, const std::string& comment,
                              const char* typeName) {
    NameCheck check = {name, comment, true};
    const std::string trimmedName = WithoutLeadingBlanks(name);
    if (trimmedName.empty()) {
        check.name = typeName;
        check.accepted = false;
    } else if (trimmedName != name) {
        check.name = trimmedName;
        check.accepted = false;
    }
    // A comment of blanks only is kept as it is.
    const std::string trimmedComment = WithoutLeadingBlanks(comment);
    if (!trimmedComment.empty() && trimmedComment != comment) {
        check.comment = trimmedComment;
        check.accepted = false;
    }
    return check;
}

SetNameDialog::SetNameDialog(AElement* edited)
    : shell(nullptr), nameField(nullptr), commentField(nullptr), element(edited) {
    const std::string title = std::string("Set Name - ") + GetTypeName(element->GetType());
    shell = CreateDialogShell(GetElementParentShell(*element), title.c_str(), nullptr, false,
                              CancelCallback, this);
    XtAddCallback(shell, XmNdestroyCallback, ShellDestroyedCallback, this);

    Widget form = XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNmarginHeight, 3,
                                   XmNmarginWidth, 3, nullptr);
    Widget frame = XtVaCreateManagedWidget("data_frame", xmFrameWidgetClass, form, nullptr);
    Widget dataForm = XtVaCreateWidget("data_form", xmFormWidgetClass, frame, nullptr);
    nameField = CreateField(dataForm, nullptr, "Name:", kNameLength, element->GetName());
    commentField =
        CreateField(dataForm, nameField, "Comment:", kCommentLength, element->GetComment());
    XtVaSetValues(commentField, XmNcolumns, kCommentColumns, nullptr);
    Attach(commentField).Bottom(ToForm(5));
    XtManageChild(dataForm);

    const ActionAreaRow rows[] = {
        {"OK", OkCallback, this},
        {"Apply", ApplyCallback, this},
        {"Cancel", CancelCallback, this},
    };
    Widget actionArea = CreateActionArea(form, rows, XtNumber(rows));
    Attach(frame).Left(ToForm(2)).Right(ToForm(2)).Top(ToForm(2)).Bottom(ToWidget(actionArea));
    Attach(actionArea).Left(ToForm()).Right(ToForm()).Bottom(ToForm());
    XtManageChild(form);

    for (Widget field : {nameField, commentField}) {
        XtAddCallback(field, XmNlosingFocusCallback, LosingFocusCallback, this);
        // The text field activates on Return and KP_Enter; OK is the default button as well,
        // which must not be pressed a second time.
        XtAddCallback(field, XmNactivateCallback, OkCallback, this);
        KeepReturnInField(field);
    }

    XtManageChild(shell);
    XtRealizeWidget(shell);
    XtPopup(shell, XtGrabNone);
    FixShellSize(shell);
}

SetNameDialog::~SetNameDialog() {
    // No focus change of the fields may reach the dialog once it is gone.
    for (Widget field : {nameField, commentField}) {
        XtRemoveCallback(field, XmNlosingFocusCallback, LosingFocusCallback, this);
        XtRemoveCallback(field, XmNactivateCallback, OkCallback, this);
    }
    if (shell != nullptr) {
        XtRemoveCallback(shell, XmNdestroyCallback, ShellDestroyedCallback, this);
        XtDestroyWidget(shell);
    }
    element->DetachView(this);
}

void SetNameDialog::Ok() {
    const NameCheck check = CheckNameAndComment(FieldText(nameField), FieldText(commentField),
                                                GetTypeName(element->GetType()));
    if (!check.accepted) {
        SetFieldText(nameField, check.name);
        SetFieldText(commentField, check.comment);
        RingBell(XtDisplay(shell));
        return;
    }
    // A comment of blanks only passes, but the file keeps no leading blanks: the element gets
    // what a reload gives back.
    GiveTexts(check.name, WithoutLeadingBlanks(check.comment));
    delete this;
}

void SetNameDialog::Apply() {
    const std::string name = WithoutLeadingBlanks(FieldText(nameField));
    const std::string comment = WithoutLeadingBlanks(FieldText(commentField));
    SetFieldText(nameField, name);
    SetFieldText(commentField, comment);
    GiveTexts(name, comment);
}

void SetNameDialog::Cancel() {
    delete this;
}

void SetNameDialog::LosingFocus(Widget field) {
    const std::string text = FieldText(field);
    const std::string trimmed = WithoutLeadingBlanks(text);
    if (trimmed.empty() && field == nameField) {
        SetFieldText(field, GetTypeName(element->GetType()));
        RingBell(XtDisplay(field));
    } else if (trimmed != text) {
        SetFieldText(field, trimmed);
        RingBell(XtDisplay(field));
    }
}

void SetNameDialog::GiveTexts(const std::string& name, const std::string& comment) {
    if (name != element->GetName() || comment != element->GetComment()) element->SetModified();
    element->SetName(name.c_str());
    element->SetComment(comment.c_str());
    element->UpdateIcon();
    element->Draw();
}

void SetNameDialog::ShellDestroyedCallback(Widget, XtPointer self, XtPointer) {
    static_cast<SetNameDialog*>(self)->ShellDestroyed();
}

void SetNameDialog::ShellDestroyed() {
    shell = nullptr;
    delete this;
}
