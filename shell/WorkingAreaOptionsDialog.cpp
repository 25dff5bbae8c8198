#include "shell/WorkingAreaOptionsDialog.h"

#include <Xm/Form.h>
#include <Xm/LabelG.h>
#include <Xm/RowColumn.h>
#include <Xm/ToggleB.h>
#include <Xm/Xm.h>

#include <cstdint>

#include "shell/ArchitectureWindow.h"
#include "shell/OptionDialogs.h"
#include "shell/Settings.h"
#include "toolkit/FormAttachments.h"
#include "toolkit/ReadInt.h"

namespace {

void OkCallback(Widget w, XtPointer self, XtPointer call) {
    if (ReadIntPressHitCorrection(w, call)) return;
    static_cast<WorkingAreaOptionsDialog*>(self)->Ok();
}

void ApplyCallback(Widget w, XtPointer self, XtPointer call) {
    if (ReadIntPressHitCorrection(w, call)) return;
    static_cast<WorkingAreaOptionsDialog*>(self)->Apply();
}

void CancelCallback(Widget, XtPointer self, XtPointer) {
    static_cast<WorkingAreaOptionsDialog*>(self)->Cancel();
}

void GridToggledCallback(Widget, XtPointer self, XtPointer) {
    static_cast<WorkingAreaOptionsDialog*>(self)->GridToggled();
}

// A labelled grid-step field in a horizontal row; Return in it acts as OK.
Widget CreateStepRow(Widget parent, const char* rowName, const char* labelName, int value,
                     XtPointer self, Widget* label, Widget* field) {
    Widget row = XtVaCreateManagedWidget(rowName, xmRowColumnWidgetClass, parent, XmNorientation,
                                         XmHORIZONTAL, nullptr);
    *label = XtVaCreateManagedWidget(labelName, xmLabelGadgetClass, row, nullptr);
    *field = CreateReadInt(row, ReadIntOptions()
                                    .Size(3, 3)
                                    .Value(value)
                                    .Range(kMinGridStep, kMaxGridStep)
                                    .OnActivate(OkCallback, self));
    return row;
}

} // namespace

WorkingAreaOptionsDialog::WorkingAreaOptionsDialog(ArchitectureWindow* owner)
    : gridVisible(owner->GetGridVisible()), gridX(owner->GetGridX()), gridY(owner->GetGridY()),
      rasterize(owner->GetRasterize()), shell(nullptr), gridToggle(nullptr), xLabel(nullptr),
      yLabel(nullptr), xField(nullptr), yField(nullptr), rasterizeToggle(nullptr), owner(owner) {
    owner->SetWorkingAreaOptionsDialog(this);
    const OptionDialogFrame dialog =
        CreateOptionDialogFrame(owner->GetShell(), "Working Area - Options", CancelCallback, this);
    shell = dialog.shell;

    Widget form = XtVaCreateManagedWidget("form", xmFormWidgetClass, dialog.frame, nullptr);
    gridToggle =
        XtVaCreateManagedWidget("Grid", xmToggleButtonWidgetClass, form, XmNindicatorType,
                                XmN_OF_MANY, XmNset, gridVisible ? True : False, XmNtopAttachment,
                                XmATTACH_FORM, XmNleftAttachment, XmATTACH_FORM, nullptr);
    XtAddCallback(gridToggle, XmNvalueChangedCallback, GridToggledCallback, this);
    Widget gridForm = XtVaCreateManagedWidget(
        "grid_form", xmFormWidgetClass, form, XmNtopAttachment, XmATTACH_FORM, XmNleftAttachment,
        XmATTACH_WIDGET, XmNleftWidget, gridToggle, XmNleftOffset, 20, nullptr);
    Widget xRow = CreateStepRow(gridForm, "x_dim_rc", "x: ", gridX, this, &xLabel, &xField);
    Widget yRow = CreateStepRow(gridForm, "y_dim_rc", "y: ", gridY, this, &yLabel, &yField);
    Attach(xRow).Top(ToForm()).Left(ToForm());
    Attach(yRow).Top(ToWidget(xRow)).Left(ToForm()).Bottom(ToForm());
    rasterizeToggle = XtVaCreateManagedWidget(
        "Rasterize", xmToggleButtonWidgetClass, form, XmNindicatorType, XmN_OF_MANY, XmNset,
        rasterize ? True : False, XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, gridForm,
        XmNleftAttachment, XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM, nullptr);
    GridToggled();

    const ActionAreaRow rows[] = {
        {"OK", OkCallback, this},
        {"Apply", ApplyCallback, this},
        {"Cancel", CancelCallback, this},
    };
    ShowOptionDialog(dialog, rows, XtNumber(rows));
}

WorkingAreaOptionsDialog::~WorkingAreaOptionsDialog() {
    if (owner->GetWorkingAreaOptionsDialog() == this) owner->SetWorkingAreaOptionsDialog(nullptr);
    XtDestroyWidget(shell);
}

void WorkingAreaOptionsDialog::GridToggled() {
    const Boolean on = XmToggleButtonGetState(gridToggle);
    XtSetSensitive(xLabel, on);
    XtSetSensitive(yLabel, on);
    ReadIntSetSensitive(xField, on);
    ReadIntSetSensitive(yField, on);
}

int WorkingAreaOptionsDialog::Apply() {
    gridVisible = XmToggleButtonGetState(gridToggle) ? 1 : 0;
    rasterize = XmToggleButtonGetState(rasterizeToggle) ? 1 : 0;
    int32_t x = 0;
    int32_t y = 0;
    if (!ReadIntGetValue(xField, &x) || !ReadIntGetValue(yField, &y)) return 0;
    gridX = x;
    gridY = y;
    owner->SetGridOptions(gridVisible, gridX, gridY, rasterize);
    owner->Redraw(1, 0, 0, kAreaWidth, kAreaHeight);
    return 1;
}

void WorkingAreaOptionsDialog::Ok() {
    if (Apply()) delete this;
}

void WorkingAreaOptionsDialog::Cancel() {
    delete this;
}
