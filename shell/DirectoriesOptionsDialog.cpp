#include "shell/DirectoriesOptionsDialog.h"

#include <Xm/LabelG.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>
#include <Xm/Xm.h>

#include <cstdint>

#include "model/format/LoadSaveObject.h"
#include "shell/MainWindow.h"
#include "shell/OptionDialogs.h"
#include "shell/Settings.h"
#include "shell/WindowMessage.h"
#include "toolkit/OwnedXtString.h"

namespace {

// The open dialog's rows in the kinds' list order (kFileKindListOrder), with their text fields.
struct DirectoryRow {
    const char* label;
    Widget directory;
    Widget filter;
    FileKind kind;
};

DirectoryRow gRows[kFileKindCount] = {};

void OkCallback(Widget, XtPointer self, XtPointer) {
    static_cast<DirectoriesOptionsDialog*>(self)->Ok();
}

void CancelCallback(Widget, XtPointer self, XtPointer) {
    static_cast<DirectoriesOptionsDialog*>(self)->Cancel();
}

Dimension WidthOf(Widget widget) {
    Dimension width = 0;
    XtVaGetValues(widget, XmNwidth, &width, nullptr);
    return width;
}

} // namespace

DirectoriesOptionsDialog::DirectoriesOptionsDialog(MainWindow* mainWindow)
    : shell(nullptr), mainWindow(mainWindow) {
    mainWindow->SetDirectoriesDialog(this);
    const OptionDialogFrame dialog = CreateOptionDialogFrame(
        mainWindow->GetShell(), "Directories/Filter - Options", CancelCallback, this);
    shell = dialog.shell;

    Widget column = XtVaCreateManagedWidget("rowcolumn", xmRowColumnWidgetClass, dialog.frame,
                                            XmNorientation, XmVERTICAL, nullptr);
    Widget header = XtVaCreateManagedWidget("rc_help", xmRowColumnWidgetClass, column,
                                            XmNorientation, XmHORIZONTAL, nullptr);
    Widget headers[3];
    const char* const headerNames[3] = {" ", "Directories:", "Filter:"};
    for (int i = 0; i < 3; i++) {
        headers[i] =
            XtVaCreateManagedWidget(headerNames[i], xmLabelGadgetClass, header, XmNrecomputeSize,
                                    False, XmNalignment, XmALIGNMENT_BEGINNING, nullptr);
    }
    Widget labels[kFileKindCount];
    for (int row = 0; row < kFileKindCount; row++) {
        DirectoryRow& entry = gRows[row];
        entry.kind = kFileKindListOrder[row];
        entry.label = FileKindLabel(entry.kind);
        Widget line = XtVaCreateManagedWidget("rc_help", xmRowColumnWidgetClass, column,
                                              XmNorientation, XmHORIZONTAL, nullptr);
        labels[row] =
            XtVaCreateManagedWidget(entry.label, xmLabelGadgetClass, line, XmNrecomputeSize, False,
                                    XmNalignment, XmALIGNMENT_BEGINNING, nullptr);
        entry.directory = XtVaCreateManagedWidget(
            "Text", xmTextFieldWidgetClass, line, XmNcolumns, 40, XmNuserData,
            reinterpret_cast<XtPointer>(static_cast<intptr_t>(entry.kind)), nullptr);
        SetFieldText(entry.directory, GetDirectory(entry.kind));
        entry.filter =
            XtVaCreateManagedWidget("Text", xmTextFieldWidgetClass, line, XmNcolumns, 7, nullptr);
        SetFieldText(entry.filter, GetFilterPattern(entry.kind));
    }
    // Every row label is as wide as the first; the headers stand over their columns.
    const Dimension labelWidth = WidthOf(labels[0]);
    for (Widget label : labels)
        XtVaSetValues(label, XmNwidth, labelWidth, nullptr);
    XtVaSetValues(headers[0], XmNwidth, labelWidth, nullptr);
    XtVaSetValues(headers[1], XmNwidth, WidthOf(gRows[0].directory), nullptr);
    XtVaSetValues(headers[2], XmNwidth, WidthOf(gRows[0].filter), nullptr);

    const ActionAreaRow rows[] = {
        {"OK", OkCallback, this},
        {"Cancel", CancelCallback, this},
    };
    ShowOptionDialog(dialog, rows, XtNumber(rows));
}

DirectoriesOptionsDialog::~DirectoriesOptionsDialog() {
    if (mainWindow->GetDirectoriesDialog() == this) mainWindow->SetDirectoriesDialog(nullptr);
    XtDestroyWidget(shell);
    for (DirectoryRow& entry : gRows) {
        entry.directory = nullptr;
        entry.filter = nullptr;
    }
}

Widget DirectoriesOptionsDialog::GetDirectoryField(int row) {
    return row >= 0 && row < kFileKindCount ? gRows[row].directory : nullptr;
}

Widget DirectoriesOptionsDialog::GetFilterField(int row) {
    return row >= 0 && row < kFileKindCount ? gRows[row].filter : nullptr;
}

void DirectoriesOptionsDialog::Ok() {
    for (const DirectoryRow& entry : gRows) {
        OwnedXtString directory(XmTextFieldGetString(entry.directory));
        OwnedXtString filter(XmTextFieldGetString(entry.filter));
        // Texts the settings file could not give back as typed are refused, as a missing
        // directory is.
        Widget field = entry.directory;
        const char* refusal = SettingsTextRefusal(directory.Get(), kPathText);
        if (refusal == nullptr && directory.Get()[0] != '\0' &&
            !IsReadableDirectory(directory.Get())) {
            refusal = "Directory does not exist!";
        }
        if (refusal == nullptr) {
            field = entry.filter;
            refusal = SettingsTextRefusal(filter.Get(), kFilterText);
        }
        if (refusal != nullptr) {
            XmProcessTraversal(field, XmTRAVERSE_CURRENT);
            WindowMessage(shell, kMessageWarning, "Error", refusal);
            return;
        }
        SetDirectory(directory.Get(), entry.kind);
        SetFilterPattern(filter.Get(), entry.kind);
    }
    delete this;
}

void DirectoriesOptionsDialog::Cancel() {
    delete this;
}
