#include "editors/ARuleModifyWindow.h"

#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Scale.h>
#include <Xm/Separator.h>

#include <iostream>

#include "editors/ModifyTwoValuesDialog.h"
#include "toolkit/FormAttachments.h"
#include "toolkit/MatrixDraw.h"
#include "toolkit/WidgetHelpers.h"

namespace {

ARuleModifyWindow* Self(XtPointer self) {
    return static_cast<ARuleModifyWindow*>(self);
}

void SetAllSearchCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->SetAllSearch();
}

void UnsetAllSearchCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->UnsetAllSearch();
}

void SetAllSubstitutionCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->SetAllSubstitution();
}

void UnsetAllSubstitutionCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->UnsetAllSubstitution();
}

void DimensionCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->AlterDimension();
}

void MaskCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->OpenMask();
}

void ZoomCallback(Widget, XtPointer self, XtPointer call) {
    Self(self)->ZoomChanged(static_cast<XmScaleCallbackStruct*>(call)->value);
}

void ExposeCallback(Widget area, XtPointer self, XtPointer call) {
    Self(self)->Exposed(area, static_cast<XmDrawingAreaCallbackStruct*>(call)->event);
}

void DrawEventHandler(Widget area, XtPointer self, XEvent* event, Boolean*) {
    Self(self)->PointerEvent(area, event);
}

void DimensionResultCallback(int cancelled, int x, int y, void* self) {
    static_cast<ARuleModifyWindow*>(self)->DimensionResult(cancelled, x, y);
}

void DialogDestroyedCallback(Widget, XtPointer self, XtPointer) {
    static_cast<ARuleModifyWindow*>(self)->DimensionDialogGone();
}

// Sizes a drawing area for the pattern's cells, or for two by two while it is missing.
void SizePatternArea(Widget area, int zoom, const Matrix* pattern) {
    SizeGridArea(area, zoom, pattern != nullptr ? pattern->GetDimX() : 2,
                 pattern != nullptr ? pattern->GetDimY() : 2);
}

// A new pattern of x by y cells holding the cells that it shares with the old one.
std::unique_ptr<Matrix> Resized(const Matrix* old, int x, int y) {
    auto pattern = std::make_unique<Matrix>(x, y);
    if (old != nullptr) pattern->CopyOverlap(*old);
    return pattern;
}

} // namespace

ARuleModifyWindow::ARuleModifyWindow(D_RuleElem* ruleData, AElement* owner)
    : AElementModifyWindow(owner), workingCopy(std::make_unique<D_RuleElem>(*ruleData)),
      draw_windowL(nullptr), draw_windowR(nullptr), drawL(nullptr), drawR(nullptr),
      pos_labelL(nullptr), pos_labelR(nullptr), zoomScale(nullptr), dimensionDialog(nullptr),
      maskWindow(nullptr) {
    BuildWidgets();
    if (!HasPatterns()) OpenDimensionDialog("Pattern-Dimension", 0, 0);
}

ARuleModifyWindow::~ARuleModifyWindow() {
    // The mask window edits a copy of the working copy's mask and writes into it.
    if (maskWindow != nullptr) delete maskWindow;
    maskWindow = nullptr;
    // A dialog still asking would answer a window that is gone.
    if (dimensionDialog != nullptr) {
        ModifyTwoValuesDialog* dialog = dimensionDialog;
        ForgetDimensionDialog();
        delete dialog;
    }
    workingCopy.reset();
}

ElementView* ARuleModifyWindow::Make(AElement& element, FileArgument* data) {
    D_RuleElem* rule = dynamic_cast<D_RuleElem*>(data);
    if (rule == nullptr) {
        std::cerr << "ARuleModifyWindow::Make: no rule data" << std::endl;
        return nullptr;
    }
    return new ARuleModifyWindow(rule, &element);
}

AMaskModifyWindow* ARuleModifyWindow::GetMaskWindow() const {
    return static_cast<AMaskModifyWindow*>(maskWindow);
}

bool ARuleModifyWindow::HasPatterns() const {
    return workingCopy->GetSearch() != nullptr && workingCopy->GetSubstitution() != nullptr;
}

void ARuleModifyWindow::CreateSide(Widget form, bool left) {
    Widget side =
        XtVaCreateManagedWidget(left ? "formL" : "formR", xmFormWidgetClass, form, nullptr);
    const PositionGrid grid = CreatePositionGrid(
        side, left ? "helplabelL" : "helplabelR", left ? "pos_labelL" : "pos_labelR",
        left ? "draw_windowL" : "draw_windowR", left ? "drawL" : "drawR", true, ExposeCallback,
        DrawEventHandler, this);
    Attach(grid.window).Bottom(ToForm());
    if (width != 0) XtVaSetValues(grid.window, XmNwidth, static_cast<Dimension>(width), nullptr);
    if (height != 0) {
        XtVaSetValues(grid.window, XmNheight, static_cast<Dimension>(height), nullptr);
    }
    if (left) {
        Attach(side).Left(ToForm()).Right(ToPosition(1)).Top(ToForm());
        draw_windowL = grid.window;
        drawL = grid.draw;
        pos_labelL = grid.posLabel;
    } else {
        Attach(side).Left(ToPosition(1)).Right(ToForm()).Top(ToForm());
        draw_windowR = grid.window;
        drawR = grid.draw;
        pos_labelR = grid.posLabel;
    }
}

void ARuleModifyWindow::BuildWidgets() {
    Widget form = XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNfractionBase, 2,
                                   XmNmarginHeight, 3, XmNmarginWidth, 3, nullptr);
    CreateSide(form, true);
    CreateSide(form, false);

    Widget zoomFrame = CreateZoomFrame(form, "zoom-label", zoom, ZoomCallback, this, &zoomScale);

    Widget buttonFrame = XtVaCreateManagedWidget("button_frame", xmFrameWidgetClass, form, nullptr);
    Widget buttonForm =
        XtVaCreateManagedWidget("button_form", xmFormWidgetClass, buttonFrame, nullptr);
    Widget setSearch = CreateDialogButton(buttonForm, "Set All", SetAllSearchCallback, this);
    Widget unsetSearch = CreateDialogButton(buttonForm, "Unset All", UnsetAllSearchCallback, this);
    Widget setSubstitution =
        CreateDialogButton(buttonForm, "Set All", SetAllSubstitutionCallback, this);
    Widget unsetSubstitution =
        CreateDialogButton(buttonForm, "Unset All", UnsetAllSubstitutionCallback, this);
    Widget separator = XtVaCreateManagedWidget(
        "Separator", xmSeparatorWidgetClass, buttonForm, XmNseparatorType, XmSHADOW_ETCHED_IN,
        XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM, XmNtopAttachment,
        XmATTACH_WIDGET, XmNtopWidget, setSearch, nullptr);
    Widget mask = CreateDialogButton(buttonForm, "Mask", MaskCallback, this);
    Widget dimension = CreateDialogButton(buttonForm, " Dimension ", DimensionCallback, this);
    Attach(setSearch).Left(ToForm()).Top(ToForm());
    Attach(unsetSearch).Left(ToWidget(setSearch)).Top(ToForm());
    Attach(unsetSubstitution).Right(ToForm()).Top(ToForm());
    Attach(setSubstitution).Right(ToWidget(unsetSubstitution)).Top(ToForm());
    Attach(mask).Right(ToForm()).Top(ToWidget(separator)).Bottom(ToForm());
    Attach(dimension).Right(ToWidget(mask)).Top(ToWidget(separator)).Bottom(ToForm());
    EqualizeWidths({setSearch, unsetSearch, setSubstitution, unsetSubstitution, dimension, mask});

    Widget actionArea = CreateModifyActionArea(form);

    // Bottom up: the action area, the buttons, the zoom; the two sides take the rest.
    Attach(actionArea).Left(ToForm()).Right(ToForm()).Bottom(ToForm());
    Attach(buttonFrame).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(actionArea));
    Attach(zoomFrame).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(buttonFrame));
    for (Widget side : {XtParent(draw_windowL), XtParent(draw_windowR)}) {
        Attach(side).Bottom(ToWidget(zoomFrame));
    }
    ResizeDrawAreas();
    XtManageChild(form);
    Show();
}

void ARuleModifyWindow::StoreCopy() {
    // Reached through the element: a load may have replaced its data.
    if (ARuleElem* rule = dynamic_cast<ARuleElem*>(element)) rule->GetData() = *workingCopy;
}

void ARuleModifyWindow::RefreshModifyWindow() {
    if (HasPatterns()) {
        ResizeDrawAreas();
        DrawSearch(1);
        DrawSubstitution(1);
    } else {
        OpenDimensionDialog("Pattern-Dimension", 0, 0);
    }
}

void ARuleModifyWindow::OpenDimensionDialog(const char* title, int x, int y) {
    // One question at a time: the open one comes to the front instead.
    if (dimensionDialog != nullptr) {
        Widget dialogShell = dimensionDialog->GetShell();
        if (dialogShell != nullptr && XtIsRealized(dialogShell)) {
            XRaiseWindow(XtDisplay(dialogShell), XtWindow(dialogShell));
        }
        return;
    }
    dimensionDialog = new ModifyTwoValuesDialog(
        shell, title, "X-Dimension:", x, 1, workingCopy->GetMaxWidth(), "Y-Dimension:", y, 1,
        workingCopy->GetMaxHeight(), DimensionResultCallback, this, 0);
    // The dialog also goes unanswered when its shell is destroyed from outside (with the shell
    // this window sits on, before this window learns of it).
    XtAddCallback(dimensionDialog->GetShell(), XmNdestroyCallback, DialogDestroyedCallback, this);
}

void ARuleModifyWindow::ForgetDimensionDialog() {
    if (dimensionDialog == nullptr) return;
    Widget dialogShell = dimensionDialog->GetShell();
    if (dialogShell != nullptr) {
        XtRemoveCallback(dialogShell, XmNdestroyCallback, DialogDestroyedCallback, this);
    }
    dimensionDialog = nullptr;
}

void ARuleModifyWindow::DimensionDialogGone() {
    // The dialog deletes itself with its shell.
    dimensionDialog = nullptr;
}

void ARuleModifyWindow::DimensionResult(int cancelled, int x, int y) {
    // The dialog deletes itself after this answer.
    ForgetDimensionDialog();
    if (cancelled) {
        if (!HasPatterns()) delete this;
        return;
    }
    workingCopy->SetSearch(Resized(workingCopy->GetSearch(), x, y));
    workingCopy->SetSubstitution(Resized(workingCopy->GetSubstitution(), x, y));
    zoom = FitZoom(drawL, *workingCopy->GetSearch(), zoomScale);
    ResizeDrawAreas();
    DrawSearch(1);
    DrawSubstitution(1);
}

void ARuleModifyWindow::DrawSearch(int clear) {
    const Matrix* pattern = workingCopy->GetSearch();
    if (pattern != nullptr && drawL != nullptr) Draw(*pattern, drawL, zoom, clear);
}

void ARuleModifyWindow::DrawSubstitution(int clear) {
    const Matrix* pattern = workingCopy->GetSubstitution();
    if (pattern != nullptr && drawR != nullptr) Draw(*pattern, drawR, zoom, clear);
}

void ARuleModifyWindow::ToggleSearchCell(int x, int y) {
    Matrix* pattern = workingCopy->GetSearch();
    // A cell outside the pattern is never written.
    if (pattern == nullptr || x < 0 || y < 0 || x >= pattern->GetDimX() || y >= pattern->GetDimY())
        return;
    ToggleAndDraw(*pattern, drawL, zoom, x, y);
}

void ARuleModifyWindow::ToggleSubstitutionCell(int x, int y) {
    Matrix* pattern = workingCopy->GetSubstitution();
    if (pattern == nullptr || x < 0 || y < 0 || x >= pattern->GetDimX() || y >= pattern->GetDimY())
        return;
    ToggleAndDraw(*pattern, drawR, zoom, x, y);
}

void ARuleModifyWindow::ResizeDrawAreas() {
    SizePatternArea(drawL, zoom, workingCopy->GetSearch());
    SizePatternArea(drawR, zoom, workingCopy->GetSubstitution());
}

void ARuleModifyWindow::SetAllSearch() {
    if (workingCopy->GetSearch() == nullptr) return;
    workingCopy->GetSearch()->SetAll();
    DrawSearch(0);
}

void ARuleModifyWindow::UnsetAllSearch() {
    if (workingCopy->GetSearch() == nullptr) return;
    workingCopy->GetSearch()->UnsetAll();
    DrawSearch(1);
}

void ARuleModifyWindow::SetAllSubstitution() {
    if (workingCopy->GetSubstitution() == nullptr) return;
    workingCopy->GetSubstitution()->SetAll();
    DrawSubstitution(0);
}

void ARuleModifyWindow::UnsetAllSubstitution() {
    if (workingCopy->GetSubstitution() == nullptr) return;
    workingCopy->GetSubstitution()->UnsetAll();
    DrawSubstitution(1);
}

void ARuleModifyWindow::AlterDimension() {
    const Matrix* search = workingCopy->GetSearch();
    OpenDimensionDialog("Alter Pattern-Dimension", search != nullptr ? search->GetDimX() : 0,
                        search != nullptr ? search->GetDimY() : 0);
}

void ARuleModifyWindow::OpenMask() {
    if (maskWindow != nullptr) {
        maskWindow->Popup();
        return;
    }
    D_MaskElem* mask = workingCopy->GetMask();
    if (mask == nullptr) {
        std::cerr << "ARuleModifyWindow::OpenMask: no mask" << std::endl;
        return;
    }
    new AMaskModifyWindow(mask, element, &maskWindow);
}

void ARuleModifyWindow::ZoomChanged(int value) {
    zoom = value;
    ResizeDrawAreas();
    DrawSearch(1);
    DrawSubstitution(1);
}

void ARuleModifyWindow::Exposed(Widget area, XEvent* event) {
    if (!IsLastExpose(event)) return;
    if (area == drawL) {
        DrawSearch(0);
    } else if (area == drawR) {
        DrawSubstitution(0);
    }
}

void ARuleModifyWindow::PointerEvent(Widget area, XEvent* event) {
    const bool left = area == drawL;
    if (!left && area != drawR) return;
    const Matrix* pattern = left ? workingCopy->GetSearch() : workingCopy->GetSubstitution();
    int x = -1;
    int y = -1;
    GridPointerStep step = {};
    if (!StepGridEvent(left ? pointerL : pointerR, event, pattern, zoom, &x, &y, &step)) return;
    if (step.toggle) {
        if (left) {
            ToggleSearchCell(x, y);
        } else {
            ToggleSubstitutionCell(x, y);
        }
    }
    ShowGridCell(left ? pos_labelL : pos_labelR, step, x, y);
}
