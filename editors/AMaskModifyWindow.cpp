#include "editors/AMaskModifyWindow.h"

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

#include "editors/EditorHost.h"
#include "model/elements/ARuleElem.h"
#include "toolkit/Colors.h"
#include "toolkit/MatrixDraw.h"
#include "toolkit/OwnedXmString.h"
#include "toolkit/WidgetHelpers.h"

namespace {

const int kMinZoom = 12;
const int kMaxZoom = 150;
const int kDrawMargin = 21; // pixels around a drawn matrix
const EventMask kDrawEvents =
    ButtonPressMask | PointerMotionMask | Button1MotionMask | LeaveWindowMask;

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

void SetLabel(Widget label, const char* text) {
    OwnedXmString string(text);
    XtVaSetValues(label, XmNlabelString, string.Get(), nullptr);
}

Widget CreateButton(Widget parent, const char* text, XtCallbackProc callback, XtPointer self) {
    OwnedXmString label(text);
    Widget button =
        XtVaCreateManagedWidget("DialogButton", xmPushButtonWidgetClass, parent, XmNlabelString,
                                label.Get(), XmNalignment, XmALIGNMENT_CENTER, nullptr);
    XtAddCallback(button, XmNactivateCallback, callback, self);
    return button;
}

int ClampZoom(int zoom) {
    return zoom < kMinZoom ? kMinZoom : (zoom > kMaxZoom ? kMaxZoom : zoom);
}

} // namespace

GridPointerStep StepGridPointer(GridPointer& pointer, int eventType, int onCell, int x, int y,
                                unsigned int state) {
    GridPointerStep step = {false, false, false};
    const bool shown = pointer.labelShown != 0;
    switch (eventType) {
        case ButtonPress:
            if (onCell) {
                step.toggle = true;
                pointer.lastX = x;
                pointer.lastY = y;
            } else {
                step.clear = shown;
            }
            break;
        case MotionNotify:
            if (!onCell) {
                step.clear = shown;
            } else if (x == pointer.lastX && y == pointer.lastY) {
                step.show = !shown;
            } else {
                step.show = true;
                step.toggle = state != 0;
                pointer.lastX = x;
                pointer.lastY = y;
            }
            break;
        case LeaveNotify:
            step.clear = shown;
            break;
        default:
            break;
    }
    if (step.show) pointer.labelShown = 1;
    if (step.clear) pointer.labelShown = 0;
    return step;
}

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

void AMaskModifyWindow::Make(AElement& element, FileArgument* data, AElementModifyWindow** slot) {
    D_MaskElem* mask = dynamic_cast<D_MaskElem*>(data);
    if (mask == nullptr) {
        std::cerr << "AMaskModifyWindow::Make: no mask data" << std::endl;
        return;
    }
    new AMaskModifyWindow(mask, &element, slot);
}

void AMaskModifyWindow::BuildWidgets() {
    Widget form = XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNmarginHeight, 3,
                                   XmNmarginWidth, 3, nullptr);
    OwnedXmString helpText("Position: ");
    Widget helpLabel = XtVaCreateManagedWidget(
        "helplabel", xmLabelGadgetClass, form, XmNlabelString, helpText.Get(), XmNmarginLeft, 5,
        XmNleftAttachment, XmATTACH_FORM, XmNtopAttachment, XmATTACH_FORM, nullptr);
    OwnedXmString blank(" ");
    pos_label = XtVaCreateManagedWidget(
        "pos_label", xmLabelGadgetClass, form, XmNlabelString, blank.Get(), XmNalignment,
        XmALIGNMENT_BEGINNING, XmNleftAttachment, XmATTACH_WIDGET, XmNleftWidget, helpLabel,
        XmNrightAttachment, XmATTACH_FORM, XmNtopAttachment, XmATTACH_FORM, nullptr);

    draw_window = XtVaCreateManagedWidget(
        "draw_window", xmScrolledWindowWidgetClass, form, XmNscrollingPolicy, XmAUTOMATIC,
        XmNscrollBarDisplayPolicy, XmSTATIC, XmNtraversalOn, False, nullptr);
    Widget clip = nullptr;
    XtVaGetValues(draw_window, XmNclipWindow, &clip, nullptr);
    if (clip != nullptr) XtVaSetValues(clip, XmNbackground, GetGray90(), nullptr);
    draw = XtVaCreateManagedWidget("draw", xmDrawingAreaWidgetClass, draw_window, XmNwidth, 1,
                                   XmNheight, 1, XmNbackground, GetGray90(), nullptr);
    XtAddCallback(draw, XmNexposeCallback, ExposeCallback, this);
    XtAddEventHandler(draw, kDrawEvents, False, DrawEventHandler, this);

    Widget zoomFrame =
        XtVaCreateManagedWidget("zoom-frame", xmFrameWidgetClass, form, XmNmarginWidth, 5, nullptr);
    Widget zoomForm = XtVaCreateManagedWidget("zoom-form", xmFormWidgetClass, zoomFrame, nullptr);
    OwnedXmString zoomText("Zoom: ");
    Widget zoomLabel = XtVaCreateManagedWidget(
        "zoom-label", xmLabelGadgetClass, zoomForm, XmNlabelString, zoomText.Get(),
        XmNleftAttachment, XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM, nullptr);
    zoomScale = XtVaCreateManagedWidget(
        "zoom-scale", xmScaleWidgetClass, zoomForm, XmNshowValue, True, XmNorientation,
        XmHORIZONTAL, XmNprocessingDirection, XmMAX_ON_RIGHT, XmNminimum, kMinZoom, XmNmaximum,
        kMaxZoom, XmNvalue, ClampZoom(zoom), XmNleftAttachment, XmATTACH_WIDGET, XmNleftWidget,
        zoomLabel, XmNrightAttachment, XmATTACH_FORM, XmNtopAttachment, XmATTACH_FORM,
        XmNbottomAttachment, XmATTACH_FORM, nullptr);
    XtAddCallback(zoomScale, XmNvalueChangedCallback, ZoomCallback, this);
    XtAddCallback(zoomScale, XmNdragCallback, ZoomCallback, this);

    Widget buttonFrame = XtVaCreateManagedWidget("button_frame", xmFrameWidgetClass, form, nullptr);
    Widget rowColumn =
        XtVaCreateManagedWidget("rowcolumn1", xmRowColumnWidgetClass, buttonFrame, XmNadjustLast,
                                False, XmNnumColumns, 2, XmNorientation, XmHORIZONTAL, XmNpacking,
                                XmPACK_COLUMN, XmNentryAlignment, XmALIGNMENT_CENTER, nullptr);
    CreateButton(rowColumn, " Set All ", SetAllCallback, this);
    CreateButton(rowColumn, " Unset All ", UnsetAllCallback, this);
    CreateButton(rowColumn, " Save As Matrix ", SaveCallback, this);
    CreateButton(rowColumn, " Load As Matrix ", LoadCallback, this);

    Widget actionArea = CreateModifyActionArea(form);

    // Bottom up: the action area, the buttons, the zoom; the grid takes the rest.
    XtVaSetValues(actionArea, XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
                  XmNbottomAttachment, XmATTACH_FORM, nullptr);
    XtVaSetValues(buttonFrame, XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
                  XmNbottomAttachment, XmATTACH_WIDGET, XmNbottomWidget, actionArea, nullptr);
    XtVaSetValues(zoomFrame, XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
                  XmNbottomAttachment, XmATTACH_WIDGET, XmNbottomWidget, buttonFrame, nullptr);
    XtVaSetValues(draw_window, XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
                  XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, helpLabel, XmNbottomAttachment,
                  XmATTACH_WIDGET, XmNbottomWidget, zoomFrame, nullptr);
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
    const int pitch = zoom / 4;
    XtVaSetValues(draw, XmNwidth, static_cast<Dimension>(pitch * mask.GetDimX() + kDrawMargin),
                  XmNheight, static_cast<Dimension>(pitch * mask.GetDimY() + kDrawMargin), nullptr);
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
    if (event != nullptr && event->type == Expose && event->xexpose.count != 0) return;
    DrawMask(0);
}

void AMaskModifyWindow::PointerEvent(XEvent* event) {
    int px = 0;
    int py = 0;
    unsigned int state = 0;
    switch (event->type) {
        case ButtonPress:
            px = event->xbutton.x;
            py = event->xbutton.y;
            state = event->xbutton.state;
            break;
        case MotionNotify:
            px = event->xmotion.x;
            py = event->xmotion.y;
            state = event->xmotion.state;
            break;
        case LeaveNotify:
            break;
        default:
            return;
    }
    int cellX = -1;
    int cellY = -1;
    const int onCell = event->type != LeaveNotify &&
                       workingCopy->GetMask().PixelToCell(cellX, cellY, px, py, zoom);
    const GridPointerStep step = StepGridPointer(pointer, event->type, onCell, cellX, cellY, state);
    if (step.toggle) ToggleCell(cellX, cellY);
    if (step.show) {
        char text[32];
        std::snprintf(text, sizeof text, "%d,%d", cellX, cellY);
        SetLabel(pos_label, text);
    } else if (step.clear) {
        SetLabel(pos_label, " ");
    }
}
