#include "editors/ExternalDataWindow.h"

#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/LabelG.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/Scale.h>
#include <Xm/ScrolledW.h>

#include <cstdio>
#include <iostream>

#include "editors/DialogShell.h"
#include "editors/EditorHost.h"
#include "editors/ModifyValueDialog.h"
#include "model/elements/ALogicElem.h"
#include "toolkit/ActionArea.h"
#include "toolkit/FormAttachments.h"
#include "toolkit/MatrixDraw.h"
#include "toolkit/OwnedXmString.h"
#include "toolkit/WidgetHelpers.h"

namespace {

ExternalDataWindow* Self(XtPointer self) {
    return static_cast<ExternalDataWindow*>(self);
}

void OkCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->Ok();
}

void ApplyCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->Apply();
}

void CancelCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->Cancel();
}

void CyclesCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->AskCycles();
}

void CyclesResultCallback(int cancelled, int value, void* self) {
    Self(self)->CyclesResult(cancelled, value);
}

void ZoomCallback(Widget, XtPointer self, XtPointer call) {
    Self(self)->ZoomChanged(static_cast<XmScaleCallbackStruct*>(call)->value);
}

void ExposeCallback(Widget, XtPointer self, XtPointer call) {
    Self(self)->Exposed(static_cast<XmDrawingAreaCallbackStruct*>(call)->event);
}

void DrawEventHandler(Widget, XtPointer self, XEvent* event, Boolean*) {
    Self(self)->PointerEvent(event);
}

Widget CreateLabel(const char* name, Widget parent, const char* text) {
    OwnedXmString string(text);
    return XtVaCreateManagedWidget(name, xmLabelGadgetClass, parent, XmNlabelString, string.Get(),
                                   XmNalignment, XmALIGNMENT_BEGINNING, nullptr);
}

} // namespace

ElementView* ExternalDataWindow::Make(AElement& element, const ViewRequest&) {
    ALogicElem* logic = dynamic_cast<ALogicElem*>(&element);
    if (logic == nullptr) {
        std::cerr << "ExternalDataWindow::Make: no LOGIC element" << std::endl;
        return nullptr;
    }
    Matrix* externalData = logic->GetData().GetExternalData();
    return externalData != nullptr ? new ExternalDataWindow(externalData, logic) : nullptr;
}

ExternalDataWindow::ExternalDataWindow(Matrix* data, ALogicElem* owner)
    : externalData(data), copy(*data), shell(nullptr), draw_window(nullptr), draw(nullptr),
      cycle_label(nullptr), name_label(nullptr), zoomScale(nullptr), zoom(100), element(owner),
      cyclesDialog(nullptr) {
    zoom = element->GetExternalDataWindowZoom();
    BuildWidgets();
}

ExternalDataWindow::~ExternalDataWindow() {
    // A dialog still asking would answer a window that is gone.
    if (cyclesDialog != nullptr) {
        ModifyValueDialog* dialog = cyclesDialog;
        ForgetCyclesDialog();
        delete dialog;
    }
    if (shell != nullptr) {
        Dimension viewWidth = 0;
        Dimension viewHeight = 0;
        XtVaGetValues(draw_window, XmNwidth, &viewWidth, XmNheight, &viewHeight, nullptr);
        element->SetExternalDataWindowSize(viewWidth, viewHeight);
    }
    element->SetExternalDataWindowZoom(zoom);
    element->DetachView(this);
    if (shell != nullptr) {
        XtRemoveCallback(shell, XmNdestroyCallback, ShellDestroyedCallback, this);
        XtDestroyWidget(shell);
    }
}

void ExternalDataWindow::BuildWidgets() {
    Widget parent = nullptr;
    if (EditorHost* host = GetEditorHost()) parent = host->GetTopLevel();
    if (parent == nullptr) parent = GetElementParentShell(*element);
    shell =
        XtVaCreatePopupShell("Modify - External Data", transientShellWidgetClass, parent, XmNtitle,
                             "Modify - External Data", XmNdeleteResponse, XmDO_NOTHING, nullptr);
    AddWindowCloseCallback(shell, CancelCallback, this);
    // The top-level shell going takes this window with it.
    XtAddCallback(shell, XmNdestroyCallback, ShellDestroyedCallback, this);

    Widget form = XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNfractionBase, 100,
                                   XmNmarginHeight, 3, XmNmarginWidth, 3, nullptr);
    Widget cycleTitle = CreateLabel("Cycle: ", form, "Cycle: ");
    XtVaSetValues(cycleTitle, XmNmarginLeft, 5, nullptr);
    Attach(cycleTitle).Left(ToForm()).Top(ToForm());
    Widget nameTitle = CreateLabel("Name: ", form, "Name: ");
    Attach(nameTitle).Left(ToPosition(35)).Top(ToForm());
    cycle_label = CreateLabel("cycle_label", form, " ");
    Attach(cycle_label).Left(ToWidget(cycleTitle)).Right(ToWidget(nameTitle)).Top(ToForm());
    name_label = CreateLabel("name_label", form, " ");
    Attach(name_label).Left(ToWidget(nameTitle)).Right(ToForm()).Top(ToForm());

    int storedWidth = 0;
    int storedHeight = 0;
    element->GetExternalDataWindowSize(storedWidth, storedHeight);
    draw_window = XtVaCreateManagedWidget("draw_window", xmScrolledWindowWidgetClass, form,
                                          XmNscrollingPolicy, XmAUTOMATIC,
                                          XmNscrollBarDisplayPolicy, XmSTATIC, nullptr);
    if (storedWidth > 0) {
        XtVaSetValues(draw_window, XmNwidth, static_cast<Dimension>(storedWidth), nullptr);
    }
    if (storedHeight > 0) {
        XtVaSetValues(draw_window, XmNheight, static_cast<Dimension>(storedHeight), nullptr);
    }
    draw = CreateGridArea(draw_window, "draw", ExposeCallback, DrawEventHandler, this);

    Widget zoomFrame = CreateZoomFrame(form, "Zoom: ", zoom, ZoomCallback, this, &zoomScale);

    Widget buttonFrame = XtVaCreateManagedWidget("button_frame", xmFrameWidgetClass, form, nullptr);
    Widget rowColumn = XtVaCreateManagedWidget("rowcolumn", xmRowColumnWidgetClass, buttonFrame,
                                               XmNorientation, XmHORIZONTAL, nullptr);
    OwnedXmString cyclesText(" Cycles ");
    Widget cycles = XtVaCreateManagedWidget("DialogButton", xmPushButtonWidgetClass, rowColumn,
                                            XmNlabelString, cyclesText.Get(), nullptr);
    XtAddCallback(cycles, XmNactivateCallback, CyclesCallback, this);

    const ActionAreaRow rows[] = {
        {"OK", OkCallback, this},
        {"Apply", ApplyCallback, this},
        {"Cancel", CancelCallback, this},
    };
    Widget actionArea = CreateActionArea(form, rows, XtNumber(rows));

    // Bottom up: the action area, the button, the zoom; the grid takes the rest.
    Attach(actionArea).Left(ToForm()).Right(ToForm()).Bottom(ToForm());
    Attach(buttonFrame).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(actionArea));
    Attach(zoomFrame).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(buttonFrame));
    Attach(draw_window)
        .Left(ToForm())
        .Right(ToForm())
        .Top(ToWidget(cycleTitle))
        .Bottom(ToWidget(zoomFrame));
    XtManageChild(form);
    XtRealizeWidget(shell);
    XtPopup(shell, XtGrabNone);

    // The stored zoom only starts the scale: the matrix is fitted to the view.
    zoom = FitZoom(draw, copy, zoomScale);
    ResizeDrawArea();
    // Cycle 1 is the bottom row.
    ScrollToEnd(draw_window);
}

void ExternalDataWindow::SetData(Matrix* newData, const std::vector<int>& columns) {
    if (newData == nullptr) return;
    externalData = newData;
    // The edits not yet applied stay with their names, over the copy's own cycles.
    copy = TakeColumns(&copy, newData->GetDimX(), columns);
    pointer = GridPointer();
    ResizeDrawArea();
    DrawCopy(1);
}

void ExternalDataWindow::Ok() {
    Apply();
    delete this;
}

void ExternalDataWindow::Apply() {
    // The element tells the window of every new matrix; one it did not tell of is not written.
    Matrix* target = element->GetData().GetExternalData();
    if (target == nullptr || target != externalData) {
        std::cerr << "ExternalDataWindow::Apply: the element's matrix is not the window's"
                  << std::endl;
        return;
    }
    if (!(*target == copy)) {
        *target = copy;
        element->SetModified();
    }
}

void ExternalDataWindow::Cancel() {
    delete this;
}

void ExternalDataWindow::AskCycles() {
    // One question at a time.
    if (cyclesDialog != nullptr) return;
    cyclesDialog = new ModifyValueDialog(shell, "External-Cycles", "Number:", copy.GetDimY(), 1,
                                         kMaxExternalCycles, CyclesResultCallback, this);
    if (cyclesDialog->GetShell() != nullptr) {
        XtAddCallback(cyclesDialog->GetShell(), XmNdestroyCallback, DialogDestroyedCallback, this);
    }
}

void ExternalDataWindow::ForgetCyclesDialog() {
    if (cyclesDialog != nullptr && cyclesDialog->GetShell() != nullptr) {
        XtRemoveCallback(cyclesDialog->GetShell(), XmNdestroyCallback, DialogDestroyedCallback,
                         this);
    }
    cyclesDialog = nullptr;
}

void ExternalDataWindow::DialogDestroyedCallback(Widget, XtPointer self, XtPointer) {
    // The dialog went with its shell; it deletes itself.
    Self(self)->cyclesDialog = nullptr;
}

void ExternalDataWindow::CyclesResult(int cancelled, int cycles) {
    // The dialog deletes itself after this answer.
    ForgetCyclesDialog();
    if (cancelled || cycles < 1 || cycles > kMaxExternalCycles) return;
    // The lowest cycles stay.
    Matrix resized(copy.GetDimX(), cycles);
    resized.CopyOverlap(copy);
    copy = resized;
    pointer = GridPointer();
    ResizeDrawArea();
    DrawCopy(1);
    ScrollToEnd(draw_window);
}

void ExternalDataWindow::ZoomChanged(int value) {
    zoom = value;
    ResizeDrawArea();
    DrawCopy(1);
}

void ExternalDataWindow::Exposed(XEvent* event) {
    if (IsLastExpose(event)) DrawCopy(0);
}

void ExternalDataWindow::PointerEvent(XEvent* event) {
    int x = -1;
    int y = -1;
    GridPointerStep step = {};
    if (!StepGridEvent(pointer, event, &copy, zoom, &x, &y, &step)) return;
    if (step.show) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", y + 1);
        SetLabelText(cycle_label, text);
        const std::vector<std::string>& names = element->GetData().GetExternalNames();
        SetLabelText(name_label, x < static_cast<int>(names.size())
                                     ? names[static_cast<size_t>(x)].c_str()
                                     : " ");
    }
    if (step.clear) {
        SetLabelText(cycle_label, " ");
        SetLabelText(name_label, " ");
    }
    // A cell outside the copy is never written.
    if (step.toggle && x < copy.GetDimX() && y < copy.GetDimY()) {
        ToggleAndDraw(copy, draw, zoom, x, y);
    }
}

void ExternalDataWindow::ResizeDrawArea() {
    if (draw == nullptr) return;
    SizeGridArea(draw, zoom, copy.GetDimX(), copy.GetDimY());
}

void ExternalDataWindow::DrawCopy(int clear) {
    if (draw != nullptr) Draw(copy, draw, zoom, clear);
}

void ExternalDataWindow::ShellDestroyedCallback(Widget, XtPointer self, XtPointer) {
    ExternalDataWindow* window = Self(self);
    window->shell = nullptr;
    // Its children went with it.
    window->draw_window = nullptr;
    window->draw = nullptr;
    delete window;
}
