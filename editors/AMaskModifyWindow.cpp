#include "editors/AMaskModifyWindow.h"

#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/RowColumn.h>
#include <Xm/Scale.h>

#include <iostream>

#include "editors/EditorHost.h"
#include "model/elements/ARuleElem.h"
#include "toolkit/FormAttachments.h"
#include "toolkit/MatrixDraw.h"
#include "toolkit/WidgetHelpers.h"

namespace {

AMaskModifyWindow* Self(XtPointer self) {
    return static_cast<AMaskModifyWindow*>(self);
}

void SetAllCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->SetAll();
}

void UnsetAllCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->UnsetAll();
}

void SaveCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->SaveAsMatrix();
}

void LoadCallback(Widget, XtPointer self, XtPointer) {
    Self(self)->LoadAsMatrix();
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

} // namespace

AMaskModifyWindow::AMaskModifyWindow(D_MaskElem* mask, AElement* owner, AElementModifyWindow** slot)
    : AElementModifyWindow(owner, slot), maskData(mask),
      workingCopy(std::make_unique<D_MaskElem>(*mask)), draw_window(nullptr), draw(nullptr),
      pos_label(nullptr), zoomScale(nullptr) {
    if (ARuleElem* rule = dynamic_cast<ARuleElem*>(element)) {
        int storedWidth = 0;
        int storedHeight = 0;
        rule->GetMaskWindowSize(storedWidth, storedHeight);
        zoom = rule->GetMaskWindowZoom();
        width = static_cast<unsigned short>(storedWidth);
        height = static_cast<unsigned short>(storedHeight);
        if (width != 0) XtVaSetValues(shell, XmNwidth, static_cast<Dimension>(width), nullptr);
        if (height != 0) XtVaSetValues(shell, XmNheight, static_cast<Dimension>(height), nullptr);
    }
    BuildWidgets();
}

AMaskModifyWindow::~AMaskModifyWindow() {
    if (ARuleElem* rule = dynamic_cast<ARuleElem*>(element)) {
        Dimension shellWidth = width;
        Dimension shellHeight = height;
        if (shell != nullptr) {
            XtVaGetValues(shell, XmNwidth, &shellWidth, XmNheight, &shellHeight, nullptr);
        }
        rule->SetMaskWindowSize(shellWidth, shellHeight);
        rule->SetMaskWindowZoom(zoom);
    }
    // Its matrix going closes a file dialog still open on it (and so forgets this window as the
    // dialog's argument).
    workingCopy.reset();
}

ElementView* AMaskModifyWindow::Make(AElement& element, FileArgument* data) {
    D_MaskElem* mask = dynamic_cast<D_MaskElem*>(data);
    if (mask == nullptr) {
        std::cerr << "AMaskModifyWindow::Make: no mask data" << std::endl;
        return nullptr;
    }
    return new AMaskModifyWindow(mask, &element);
}

void AMaskModifyWindow::BuildWidgets() {
    Widget form = XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNmarginHeight, 3,
                                   XmNmarginWidth, 3, nullptr);
    const PositionGrid grid =
        CreatePositionGrid(form, "helplabel", "pos_label", "draw_window", "draw", true,
                           ExposeCallback, DrawEventHandler, this);
    pos_label = grid.posLabel;
    draw_window = grid.window;
    draw = grid.draw;
    Widget zoomFrame = CreateZoomFrame(form, "zoom-label", zoom, ZoomCallback, this, &zoomScale);

    Widget buttonFrame = XtVaCreateManagedWidget("button_frame", xmFrameWidgetClass, form, nullptr);
    Widget rowColumn =
        XtVaCreateManagedWidget("rowcolumn1", xmRowColumnWidgetClass, buttonFrame, XmNadjustLast,
                                False, XmNnumColumns, 2, XmNorientation, XmHORIZONTAL, XmNpacking,
                                XmPACK_COLUMN, XmNentryAlignment, XmALIGNMENT_CENTER, nullptr);
    CreateDialogButton(rowColumn, " Set All ", SetAllCallback, this);
    CreateDialogButton(rowColumn, " Unset All ", UnsetAllCallback, this);
    CreateDialogButton(rowColumn, " Save As Matrix ", SaveCallback, this);
    CreateDialogButton(rowColumn, " Load As Matrix ", LoadCallback, this);

    Widget actionArea = CreateModifyActionArea(form);

    // Bottom up: the action area, the buttons, the zoom; the grid takes the rest.
    Attach(actionArea).Left(ToForm()).Right(ToForm()).Bottom(ToForm());
    Attach(buttonFrame).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(actionArea));
    Attach(zoomFrame).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(buttonFrame));
    Attach(draw_window).Bottom(ToWidget(zoomFrame));
    XtManageChild(form);
    Show();

    // The zoom the window was made with only starts the scale: the plane is fitted to the view.
    const Matrix* plane = element->GetOutputPlane(0);
    zoom = FitZoom(draw, plane != nullptr ? *plane : workingCopy->GetMask(), zoomScale);
    ResizeDrawArea();
}

void AMaskModifyWindow::StoreCopy() {
    // A MASK element's data is reached through the element: a load may have replaced it.
    if (AMaskElem* mask = dynamic_cast<AMaskElem*>(element)) {
        mask->GetData() = *workingCopy;
    } else if (maskData != nullptr) {
        *maskData = *workingCopy;
    }
}

bool AMaskModifyWindow::CopyDiffersFromTarget() const {
    return maskData == nullptr || !(maskData->GetMask() == workingCopy->GetMask());
}

void AMaskModifyWindow::RefreshModifyWindow() {
    ResizeDrawArea();
    DrawMask(1);
}

void AMaskModifyWindow::RefreshAfterRead() {
    RefreshModifyWindow();
}

void AMaskModifyWindow::DrawMask(int clear) {
    if (draw != nullptr) Draw(workingCopy->GetMask(), draw, zoom, clear);
}

void AMaskModifyWindow::ToggleCell(int x, int y) {
    Matrix& mask = workingCopy->GetMask();
    // A cell outside the mask is never written.
    if (x < 0 || y < 0 || x >= mask.GetDimX() || y >= mask.GetDimY()) return;
    ToggleAndDraw(mask, draw, zoom, x, y);
}

void AMaskModifyWindow::ResizeDrawArea() {
    if (draw == nullptr) return;
    const Matrix& mask = workingCopy->GetMask();
    SizeGridArea(draw, zoom, mask.GetDimX(), mask.GetDimY());
}

void AMaskModifyWindow::SetAll() {
    workingCopy->GetMask().SetAll();
    DrawMask(0);
}

void AMaskModifyWindow::UnsetAll() {
    workingCopy->GetMask().UnsetAll();
    DrawMask(1);
}

void AMaskModifyWindow::SaveAsMatrix() {
    EditorHost* host = GetEditorHost();
    if (host != nullptr) host->SaveFileAs(workingCopy->GetMask(), kMatrixFile, this);
}

void AMaskModifyWindow::LoadAsMatrix() {
    EditorHost* host = GetEditorHost();
    if (host != nullptr) host->OpenFile(workingCopy->GetMask(), kMatrixFile, this);
}

void AMaskModifyWindow::ZoomChanged(int value) {
    zoom = value;
    ResizeDrawArea();
    DrawMask(1);
}

void AMaskModifyWindow::Exposed(XEvent* event) {
    if (IsLastExpose(event)) DrawMask(0);
}

void AMaskModifyWindow::PointerEvent(XEvent* event) {
    int x = -1;
    int y = -1;
    GridPointerStep step = {};
    if (!StepGridEvent(pointer, event, &workingCopy->GetMask(), zoom, &x, &y, &step)) return;
    if (step.toggle) ToggleCell(x, y);
    ShowGridCell(pos_label, step, x, y);
}
