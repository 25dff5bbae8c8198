#include "shell/DefaultTimesDialog.h"

#include <Xm/LabelG.h>
#include <Xm/RowColumn.h>
#include <Xm/Xm.h>

#include <cstdint>
#include <limits>
#include <string>

#include "model/elements/ElementType.h"
#include "shell/LibraryWindow.h"
#include "shell/MainWindow.h"
#include "shell/OptionDialogs.h"
#include "toolkit/ReadInt.h"

namespace {

void OkCallback(Widget w, XtPointer self, XtPointer call) {
    if (ReadIntPressHitCorrection(w, call)) return;
    static_cast<DefaultTimesDialog*>(self)->Ok();
}

void ApplyCallback(Widget w, XtPointer self, XtPointer call) {
    if (ReadIntPressHitCorrection(w, call)) return;
    static_cast<DefaultTimesDialog*>(self)->Apply();
}

void CancelCallback(Widget, XtPointer self, XtPointer) {
    static_cast<DefaultTimesDialog*>(self)->Cancel();
}

} // namespace

DefaultTimesDialog::DefaultTimesDialog(MainWindow* mainWindow)
    : shell(nullptr), fields{}, mainWindow(mainWindow) {
    mainWindow->SetDefaultTimesDialog(this);
    const OptionDialogFrame dialog =
        CreateOptionDialogFrame(mainWindow->GetShell(), "Default Times", CancelCallback, this);
    shell = dialog.shell;

    // Labels fill the left column, fields the right one.
    Widget column =
        XtVaCreateManagedWidget("rowcol", xmRowColumnWidgetClass, dialog.frame, XmNorientation,
                                XmVERTICAL, XmNpacking, XmPACK_COLUMN, XmNnumColumns, 2, nullptr);
    for (const ElementRow& row : ElementRows()) {
        if (row.timesLine < 0) continue;
        const std::string name = std::string("  ") + row.name + ":";
        XtVaCreateManagedWidget(name.c_str(), xmLabelGadgetClass, column, nullptr);
    }
    for (const ElementRow& row : ElementRows()) {
        if (row.timesLine < 0) continue;
        const uint32_t type = row.type;
        fields[type] = CreateReadInt(column, ReadIntOptions()
                                                 .Size(9, 10)
                                                 .Value(static_cast<int32_t>(GetDefaultTime(type)))
                                                 .Range(0, std::numeric_limits<int32_t>::max())
                                                 .OnActivate(OkCallback, this));
    }

    const ActionAreaRow rows[] = {
        {"OK", OkCallback, this},
        {"Apply", ApplyCallback, this},
        {"Cancel", CancelCallback, this},
    };
    ShowOptionDialog(dialog, rows, XtNumber(rows));
}

DefaultTimesDialog::~DefaultTimesDialog() {
    if (mainWindow->GetDefaultTimesDialog() == this) mainWindow->SetDefaultTimesDialog(nullptr);
    XtDestroyWidget(shell);
}

Widget DefaultTimesDialog::GetField(int type) const {
    return type >= 0 && type < kElementTypeCount ? fields[type] : nullptr;
}

int DefaultTimesDialog::Apply() {
    // Every field is read before any time changes, so that an invalid one cannot leave a type
    // with another type's value.
    int32_t times[kElementTypeCount];
    for (int type = 0; type < kElementTypeCount; type++) {
        if (fields[type] != nullptr && !ReadIntGetValue(fields[type], &times[type])) return 0;
    }
    for (int type = 0; type < kElementTypeCount; type++) {
        if (fields[type] != nullptr) SetDefaultTime(type, static_cast<uint32_t>(times[type]));
    }
    LibraryWindow* library = mainWindow->GetLibraryWindow();
    if (library != nullptr) library->ApplyDefaultTimes();
    return 1;
}

void DefaultTimesDialog::Ok() {
    if (Apply()) delete this;
}

void DefaultTimesDialog::Cancel() {
    delete this;
}
