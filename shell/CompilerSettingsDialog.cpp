#include "shell/CompilerSettingsDialog.h"

#include <Xm/LabelG.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>
#include <Xm/Xm.h>

#include "shell/MainWindow.h"
#include "shell/OptionDialogs.h"
#include "shell/WindowMessage.h"
#include "toolkit/OwnedXtString.h"
#include "toolkit/WidgetHelpers.h"

namespace {

void OkCallback(Widget, XtPointer self, XtPointer) {
    static_cast<CompilerSettingsDialog*>(self)->Ok();
}

void ApplyCallback(Widget, XtPointer self, XtPointer) {
    static_cast<CompilerSettingsDialog*>(self)->Apply();
}

void CancelCallback(Widget, XtPointer self, XtPointer) {
    static_cast<CompilerSettingsDialog*>(self)->Cancel();
}

} // namespace

CompilerSettingsDialog::CompilerSettingsDialog(MainWindow* mainWindow)
    : shell(nullptr), mainWindow(mainWindow), texts{} {
    mainWindow->SetCompilerSettingsDialog(this);
    const OptionDialogFrame dialog =
        CreateOptionDialogFrame(mainWindow->GetShell(), "Compiler Settings", CancelCallback, this);
    shell = dialog.shell;

    Widget column =
        XtVaCreateManagedWidget("rowcolumn", xmRowColumnWidgetClass, dialog.frame, XmNorientation,
                                XmVERTICAL, XmNentryAlignment, XmALIGNMENT_BEGINNING, nullptr);
    Widget labels[kCompilerSettingCount];
    for (int i = 0; i < kCompilerSettingCount; i++) {
        const char* name = GetCompilerSettingLabel(i);
        Widget row = XtVaCreateManagedWidget(name, xmRowColumnWidgetClass, column, XmNorientation,
                                             XmHORIZONTAL, nullptr);
        labels[i] = XtVaCreateManagedWidget(name, xmLabelGadgetClass, row, XmNrecomputeSize, False,
                                            nullptr);
        texts[i] =
            XtVaCreateManagedWidget("Text", xmTextFieldWidgetClass, row, XmNcolumns, 30, nullptr);
        SetFieldText(texts[i], GetCompilerSetting(i));
    }
    EqualizeWidths({labels[0], labels[1], labels[2]});

    const ActionAreaRow rows[] = {
        {"OK", OkCallback, this},
        {"Apply", ApplyCallback, this},
        {"Cancel", CancelCallback, this},
    };
    ShowOptionDialog(dialog, rows, XtNumber(rows));
}

CompilerSettingsDialog::~CompilerSettingsDialog() {
    if (mainWindow->GetCompilerSettingsDialog() == this) {
        mainWindow->SetCompilerSettingsDialog(nullptr);
    }
    XtDestroyWidget(shell);
}

Widget CompilerSettingsDialog::GetText(int index) const {
    return index >= 0 && index < kCompilerSettingCount ? texts[index] : nullptr;
}

bool CompilerSettingsDialog::Apply() {
    // A text the settings file could not give back as typed is refused before any is taken.
    for (int i = 0; i < kCompilerSettingCount; i++) {
        OwnedXtString text(XmTextFieldGetString(texts[i]));
        if (const char* refusal = SettingsTextRefusal(text.Get(), kCompilerText)) {
            XmProcessTraversal(texts[i], XmTRAVERSE_CURRENT);
            WindowMessage(shell, kMessageWarning, "Error", refusal);
            return false;
        }
    }
    for (int i = 0; i < kCompilerSettingCount; i++) {
        OwnedXtString text(XmTextFieldGetString(texts[i]));
        SetCompilerSetting(i, text.Get());
    }
    return true;
}

void CompilerSettingsDialog::Ok() {
    if (Apply()) delete this;
}

void CompilerSettingsDialog::Cancel() {
    delete this;
}
