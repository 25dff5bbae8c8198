#include "editors/MatrixGridView.h"

#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/LabelG.h>
#include <Xm/PushB.h>
#include <Xm/Scale.h>
#include <Xm/ScrolledW.h>

#include <algorithm>
#include <cstdio>

#include "model/data/Matrix.h"
#include "toolkit/Colors.h"
#include "toolkit/MatrixViewport.h"
#include "toolkit/OwnedXmString.h"

int ClampGridZoom(int zoom) {
    return std::clamp(zoom, kMinGridZoom, kMaxGridZoom);
}

void SizeGridArea(Widget draw, int zoom, int cellsX, int cellsY) {
    SizeMatrixArea(draw, zoom, cellsX, cellsY);
}

bool IsLastExpose(const XEvent* event) {
    return event == nullptr || event->type != Expose || event->xexpose.count == 0;
}

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

bool GridPointerOf(const XEvent* event, int* px, int* py, unsigned int* state) {
    switch (event->type) {
        case ButtonPress:
            *px = event->xbutton.x;
            *py = event->xbutton.y;
            *state = event->xbutton.state;
            return true;
        case MotionNotify:
            *px = event->xmotion.x;
            *py = event->xmotion.y;
            *state = event->xmotion.state;
            return true;
        case LeaveNotify:
            *px = -1;
            *py = -1;
            *state = 0;
            return true;
        default:
            return false;
    }
}

bool StepGridEvent(GridPointer& pointer, const XEvent* event, const Matrix* matrix, int zoom,
                   int* x, int* y, GridPointerStep* step) {
    int px = 0;
    int py = 0;
    unsigned int state = 0;
    if (!GridPointerOf(event, &px, &py, &state)) return false;
    *x = -1;
    *y = -1;
    // The area's own pixels: a viewport shows a part of its drawing that moves as it is scrolled.
    Widget area = XtWindowToWidget(event->xany.display, event->xany.window);
    const int onCell = event->type != LeaveNotify && matrix != nullptr && area != nullptr &&
                       AreaPixelToCell(*matrix, area, px, py, zoom, *x, *y);
    *step = StepGridPointer(pointer, event->type, onCell, *x, *y, state);
    return true;
}

void SetLabelText(Widget label, const char* text) {
    OwnedXmString string(text);
    XtVaSetValues(label, XmNlabelString, string.Get(), nullptr);
}

void ShowGridCell(Widget label, const GridPointerStep& step, int x, int y) {
    if (step.show) {
        char text[32];
        std::snprintf(text, sizeof text, "%d,%d", x, y);
        SetLabelText(label, text);
    } else if (step.clear) {
        SetLabelText(label, " ");
    }
}

Widget CreateDialogButton(Widget parent, const char* text, XtCallbackProc callback,
                          XtPointer client) {
    OwnedXmString label(text);
    Widget button =
        XtVaCreateManagedWidget("DialogButton", xmPushButtonWidgetClass, parent, XmNlabelString,
                                label.Get(), XmNalignment, XmALIGNMENT_CENTER, nullptr);
    XtAddCallback(button, XmNactivateCallback, callback, client);
    return button;
}

Widget CreateZoomFrame(Widget form, const char* labelName, int zoom, XtCallbackProc changed,
                       XtPointer client, Widget* scale) {
    Widget zoomFrame =
        XtVaCreateManagedWidget("zoom-frame", xmFrameWidgetClass, form, XmNmarginWidth, 5, nullptr);
    Widget zoomForm = XtVaCreateManagedWidget("zoom-form", xmFormWidgetClass, zoomFrame, nullptr);
    OwnedXmString zoomText("Zoom: ");
    Widget zoomLabel = XtVaCreateManagedWidget(
        labelName, xmLabelGadgetClass, zoomForm, XmNlabelString, zoomText.Get(), XmNleftAttachment,
        XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM, nullptr);
    *scale = XtVaCreateManagedWidget(
        "zoom-scale", xmScaleWidgetClass, zoomForm, XmNshowValue, True, XmNorientation,
        XmHORIZONTAL, XmNprocessingDirection, XmMAX_ON_RIGHT, XmNminimum, kMinGridZoom, XmNmaximum,
        kMaxGridZoom, XmNvalue, ClampGridZoom(zoom), XmNleftAttachment, XmATTACH_WIDGET,
        XmNleftWidget, zoomLabel, XmNrightAttachment, XmATTACH_FORM, XmNtopAttachment,
        XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM, nullptr);
    XtAddCallback(*scale, XmNvalueChangedCallback, changed, client);
    XtAddCallback(*scale, XmNdragCallback, changed, client);
    return zoomFrame;
}

Widget CreateGridArea(Widget scrolled, const char* drawName, XtCallbackProc expose,
                      XtEventHandler pointer, XtPointer client) {
    Widget clip = nullptr;
    XtVaGetValues(scrolled, XmNclipWindow, &clip, nullptr);
    if (clip != nullptr) XtVaSetValues(clip, XmNbackground, GetGray90(), nullptr);
    Widget draw = XtVaCreateManagedWidget(drawName, xmDrawingAreaWidgetClass, scrolled, XmNwidth, 1,
                                          XmNheight, 1, XmNbackground, GetGray90(), nullptr);
    XtAddCallback(draw, XmNexposeCallback, expose, client);
    if (pointer != nullptr) XtAddEventHandler(draw, kGridEvents, False, pointer, client);
    return draw;
}

PositionGrid CreatePositionGrid(Widget parent, const char* helpName, const char* labelName,
                                const char* windowName, const char* drawName, bool staticBars,
                                XtCallbackProc expose, XtEventHandler pointer, XtPointer client) {
    PositionGrid grid = {nullptr, nullptr, nullptr};
    OwnedXmString helpText("Position: ");
    Widget helpLabel = XtVaCreateManagedWidget(
        helpName, xmLabelGadgetClass, parent, XmNlabelString, helpText.Get(), XmNmarginLeft, 5,
        XmNleftAttachment, XmATTACH_FORM, XmNtopAttachment, XmATTACH_FORM, nullptr);
    OwnedXmString blank(" ");
    grid.posLabel = XtVaCreateManagedWidget(
        labelName, xmLabelGadgetClass, parent, XmNlabelString, blank.Get(), XmNalignment,
        XmALIGNMENT_BEGINNING, XmNleftAttachment, XmATTACH_WIDGET, XmNleftWidget, helpLabel,
        XmNrightAttachment, XmATTACH_FORM, XmNtopAttachment, XmATTACH_FORM, nullptr);
    const int bars = staticBars ? static_cast<int>(XmSTATIC) : static_cast<int>(XmAS_NEEDED);
    grid.window = XtVaCreateManagedWidget(
        windowName, xmScrolledWindowWidgetClass, parent, XmNscrollingPolicy, XmAUTOMATIC,
        XmNscrollBarDisplayPolicy, bars, XmNtraversalOn, False, XmNleftAttachment, XmATTACH_FORM,
        XmNrightAttachment, XmATTACH_FORM, XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget,
        helpLabel, nullptr);
    grid.draw = CreateGridArea(grid.window, drawName, expose, pointer, client);
    return grid;
}
