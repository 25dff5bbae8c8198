#include "shell/StartupOptionsDialog.h"

#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/Xm.h>

#include <cstdint>

#include "model/format/LoadSaveObject.h"
#include "shell/MainWindow.h"
#include "shell/OptionDialogs.h"
#include "shell/Settings.h"
#include "shell/WindowMessage.h"
#include "toolkit/OwnedXtString.h"
#include "toolkit/ReadInt.h"

namespace {

void OkCallback(Widget w, XtPointer self, XtPointer call) {
    if (ReadIntPressHitCorrection(w, call)) return;
    static_cast<StartupOptionsDialog*>(self)->Ok();
}

void CancelCallback(Widget, XtPointer self, XtPointer) {
    static_cast<StartupOptionsDialog*>(self)->Cancel();
}

Widget CreateToggle(Widget parent, const char* name, int set) {
    return XtVaCreateManagedWidget(name, xmToggleButtonWidgetClass, parent, XmNindicatorType,
                                   XmN_OF_MANY, XmNset, set ? True : False, nullptr);
}

// A labelled size field in a horizontal row; Return in it acts as OK.
Widget CreateSizeRow(Widget parent, const char* rowName, const char* labelName, int value,
                     XtPointer self) {
    Widget row = XtVaCreateManagedWidget(rowName, xmRowColumnWidgetClass, parent, XmNorientation,
                                         XmHORIZONTAL, nullptr);
    XtVaCreateManagedWidget(labelName, xmLabelWidgetClass, row, nullptr);
    return CreateReadInt(row, ReadIntOptions()
                                  .Size(4, 4)
                                  .Value(value)
                                  .Range(kMinStartupDimension, kMaxStartupDimension)
                                  .OnActivate(OkCallback, self));
}

} // namespace

StartupOptionsDialog::StartupOptionsDialog(MainWindow* mainWindow)
    : shell(nullptr), widthField(nullptr), heightField(nullptr), elementListToggle(nullptr),
      overviewToggle(nullptr), simulationBoxToggle(nullptr), libraryField(nullptr),
      mainWindow(mainWindow) {
    mainWindow->SetStartupDialog(this);
    const OptionDialogFrame dialog =
        CreateOptionDialogFrame(mainWindow->GetShell(), "Startup - Options", CancelCallback, this);
    shell = dialog.shell;

    int width = 0;
    int height = 0;
    GetStartupDimension(width, height);
    Widget valueForm =
        XtVaCreateManagedWidget("value_form", xmFormWidgetClass, dialog.frame, nullptr);

    Widget sizeFrame =
        XtVaCreateManagedWidget("dim_frame", xmFrameWidgetClass, valueForm, XmNtopAttachment,
                                XmATTACH_FORM, XmNleftAttachment, XmATTACH_FORM, nullptr);
    Widget sizeColumn = XtVaCreateManagedWidget("dim_rc", xmRowColumnWidgetClass, sizeFrame,
                                                XmNorientation, XmVERTICAL, nullptr);
    XtVaCreateManagedWidget("Main Dimension:", xmLabelWidgetClass, sizeColumn, nullptr);
    widthField = CreateSizeRow(sizeColumn, "x_dim_rc", " x: ", width, this);
    heightField = CreateSizeRow(sizeColumn, "y_dim_rc", " y: ", height, this);

    Widget windowFrame =
        XtVaCreateManagedWidget("dim_frame", xmFrameWidgetClass, valueForm, XmNtopAttachment,
                                XmATTACH_FORM, XmNleftAttachment, XmATTACH_WIDGET, XmNleftWidget,
                                sizeFrame, XmNrightAttachment, XmATTACH_FORM, XmNbottomAttachment,
                                XmATTACH_OPPOSITE_WIDGET, XmNbottomWidget, sizeFrame, nullptr);
    Widget windowColumn = XtVaCreateManagedWidget("win_rc", xmRowColumnWidgetClass, windowFrame,
                                                  XmNorientation, XmVERTICAL, nullptr);
    elementListToggle = CreateToggle(windowColumn, "Element Window", GetStartupElementWindow());
    overviewToggle = CreateToggle(windowColumn, "Overview Window", GetStartupOverviewWindow());
    simulationBoxToggle = CreateToggle(windowColumn, "Simulation Box", GetStartupSimulationBox());

    Widget libraryFrame = XtVaCreateManagedWidget(
        "dim_frame", xmFrameWidgetClass, valueForm, XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget,
        sizeFrame, XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
        XmNbottomAttachment, XmATTACH_FORM, nullptr);
    Widget libraryRow = XtVaCreateManagedWidget("lib_rc", xmRowColumnWidgetClass, libraryFrame,
                                                XmNorientation, XmHORIZONTAL, nullptr);
    XtVaCreateManagedWidget("Library: ", xmLabelWidgetClass, libraryRow, nullptr);
    libraryField = XtVaCreateManagedWidget("Text", xmTextFieldWidgetClass, libraryRow, XmNcolumns,
                                           30, nullptr);
    const char* library = GetStartupLibrary();
    SetFieldText(libraryField, library != nullptr ? library : "");

    const ActionAreaRow rows[] = {
        {"OK", OkCallback, this},
        {"Cancel", CancelCallback, this},
    };
    ShowOptionDialog(dialog, rows, XtNumber(rows));
}

StartupOptionsDialog::~StartupOptionsDialog() {
    if (mainWindow->GetStartupDialog() == this) mainWindow->SetStartupDialog(nullptr);
    XtDestroyWidget(shell);
}

void StartupOptionsDialog::Ok() {
    const int elementList = XmToggleButtonGetState(elementListToggle) ? 1 : 0;
    const int overview = XmToggleButtonGetState(overviewToggle) ? 1 : 0;
    const int simulationBox = XmToggleButtonGetState(simulationBoxToggle) ? 1 : 0;
    int32_t width = 0;
    int32_t height = 0;
    if (!ReadIntGetValue(widthField, &width) || !ReadIntGetValue(heightField, &height)) return;
    // The path as typed, blanks included; one the settings file could not give back is refused.
    OwnedXtString library(XmTextFieldGetString(libraryField));
    const char* refusal = SettingsTextRefusal(library.Get(), kPathText);
    if (refusal == nullptr && library.Get()[0] != '\0' && !IsReadableFile(library.Get())) {
        refusal = "Directory does not exist!";
    }
    if (refusal != nullptr) {
        XmProcessTraversal(libraryField, XmTRAVERSE_CURRENT);
        WindowMessage(shell, kMessageWarning, "Error", refusal);
        return;
    }
    SetStartupOptions(elementList, overview, simulationBox, width, height, library.Get());
    delete this;
}

void StartupOptionsDialog::Cancel() {
    delete this;
}
