#include "editors/LogicShowDataWindow.h"

#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/LabelG.h>
#include <Xm/ScrolledW.h>

#include <iostream>
#include <string>

#include "model/elements/ALogicElem.h"
#include "toolkit/Colors.h"
#include "toolkit/FormAttachments.h"
#include "toolkit/MatrixDraw.h"
#include "toolkit/MatrixViewport.h"
#include "toolkit/OwnedXmString.h"
#include "toolkit/WidgetHelpers.h"

namespace {

const int kInternalViewHeight = 77; // pixels
const int kInternalAreaHeight = 45;
const EventMask kInternalEvents = PointerMotionMask | ButtonMotionMask | LeaveWindowMask;
const char* const kNotDefined = "not def.  ";
const char* const kTenBlanks = "          ";

LogicShowDataWindow* Self(XtPointer self) {
    return static_cast<LogicShowDataWindow*>(self);
}

void InternalExposeCallback(Widget area, XtPointer self, XtPointer call) {
    Self(self)->Exposed(area, static_cast<XmDrawingAreaCallbackStruct*>(call)->event);
}

void InternalEventHandler(Widget, XtPointer self, XEvent* event, Boolean*) {
    Self(self)->InternalPointerEvent(event);
}

} // namespace

ElementView* LogicShowDataWindow::Make(AElement& element, const ViewRequest&) {
    ALogicElem* logic = dynamic_cast<ALogicElem*>(&element);
    if (logic == nullptr) {
        std::cerr << "LogicShowDataWindow::Make: no LOGIC element" << std::endl;
        return nullptr;
    }
    auto* window = new LogicShowDataWindow(logic, element.GetShowDataGeometry());
    window->CreateWidgets();
    return window;
}

LogicShowDataWindow::LogicShowDataWindow(ALogicElem* element, ShowDataGeometry& geometry)
    : ShowDataWindow(element, 0, geometry), int_label(nullptr), int_drawarea(nullptr), peWidth(0),
      peHeight(0), defined(0), currentPE(-1), originX(-1), originY(-1), internalCell(-1),
      logicElement(element) {
    ReadPEDimension();
    currentPE = defined ? 0 : -1;
}

void LogicShowDataWindow::ReadPEDimension() {
    int x = 0;
    int y = 0;
    defined = logicElement->GetPEDimension(x, y);
    peWidth = defined ? x : 0;
    peHeight = defined ? y : 0;
    if (peWidth <= 0 || peHeight <= 0) defined = 0;
}

const Matrix* LogicShowDataWindow::GetInternalData() const {
    if (currentPE < 0) return nullptr;
    return logicElement->GetData().GetInternalMatrix(currentPE);
}

void LogicShowDataWindow::CreateExtraWidgets() {
    SetLabel(outputTitle, " PE: ");
    SetLabel(outLabel, defined ? kTenBlanks : kNotDefined);
    XtVaSetValues(outLabel, XmNalignment, XmALIGNMENT_BEGINNING, nullptr);

    OwnedXmString titleText(" Internal Data of PE: ");
    Widget title = XtVaCreateManagedWidget(" Internal Data of PE: ", xmLabelGadgetClass, lowerForm,
                                           XmNlabelString, titleText.Get(), XmNleftAttachment,
                                           XmATTACH_FORM, XmNtopAttachment, XmATTACH_FORM, nullptr);
    OwnedXmString blanks(kTenBlanks);
    int_label = XtVaCreateManagedWidget(
        "int_label", xmLabelGadgetClass, lowerForm, XmNlabelString, blanks.Get(), XmNalignment,
        XmALIGNMENT_BEGINNING, XmNleftAttachment, XmATTACH_WIDGET, XmNleftWidget, title,
        XmNrightAttachment, XmATTACH_FORM, XmNtopAttachment, XmATTACH_FORM, nullptr);
    Widget scrolled = XtVaCreateManagedWidget(
        "int_scrollw", xmScrolledWindowWidgetClass, lowerForm, XmNscrollingPolicy, XmAUTOMATIC,
        XmNtraversalOn, False, XmNheight, kInternalViewHeight, XmNleftAttachment, XmATTACH_FORM,
        XmNrightAttachment, XmATTACH_FORM, XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, title,
        XmNbottomAttachment, XmATTACH_FORM, nullptr);
    Widget vertical = nullptr;
    Widget clip = nullptr;
    XtVaGetValues(scrolled, XmNverticalScrollBar, &vertical, XmNclipWindow, &clip, nullptr);
    // One row of bits never needs to scroll up and down.
    if (vertical != nullptr) XtUnmanageChild(vertical);
    if (clip != nullptr) XtVaSetValues(clip, XmNbackground, GetGray90(), nullptr);
    int_drawarea = XtVaCreateManagedWidget("int_drawarea", xmDrawingAreaWidgetClass, scrolled,
                                           XmNbackground, GetGray90(), XmNuserData,
                                           reinterpret_cast<XtPointer>(static_cast<intptr_t>(1)),
                                           XmNheight, kInternalAreaHeight, nullptr);
    XtAddCallback(int_drawarea, XmNexposeCallback, InternalExposeCallback, this);
    XtAddEventHandler(int_drawarea, kInternalEvents, False, InternalEventHandler, this);
}

void LogicShowDataWindow::LayoutExtra() {
    // Both at once: the title alone would be attached to a label the form does not lay out. And
    // before the position label is attached to the title, for the same reason.
    Widget peWidgets[] = {outputTitle, outLabel};
    XtManageChildren(peWidgets, XtNumber(peWidgets));
    Attach(posLabel).Left(ToWidget(positionTitle)).Right(ToWidget(outputTitle));
}

void LogicShowDataWindow::ResizeDrawAreas() {
    ShowDataWindow::ResizeDrawAreas();
    const Matrix* internal = GetInternalData();
    if (internal == nullptr || int_drawarea == nullptr) return;
    SizeMatrixArea(int_drawarea, geometry.zoom, internal->GetDimX(), internal->GetDimY());
}

void LogicShowDataWindow::Redraw(int index, int clear) {
    if (index == -1 || index == 0) {
        ShowDataWindow::Redraw(0, clear);
        // Drawing the plane again covers the outline of the PE under the pointer.
        const Matrix* plane = ShownPlane(0);
        if (defined && originX >= 0 && plane != nullptr && GetDrawArea(0) != nullptr) {
            DrawHighlight(*plane, GetDrawArea(0), geometry.zoom, originX, originY, peWidth,
                          peHeight);
        }
    }
    if (index == -1 || index == 1) {
        if (int_drawarea == nullptr) return;
        const Matrix* internal = GetInternalData();
        if (internal != nullptr) {
            ResizeDrawAreas();
            Draw(*internal, int_drawarea, geometry.zoom, clear);
        } else if (XtIsRealized(int_drawarea)) {
            XClearWindow(XtDisplay(int_drawarea), XtWindow(int_drawarea));
        }
    }
}

void LogicShowDataWindow::Rebuild() {
    ReadPEDimension();
    originX = -1;
    originY = -1;
    internalCell = -1;
    if (defined) {
        SetLabel(outLabel, " ");
        currentPE = 0;
        ResizeDrawAreas();
    } else {
        // The state of the old data is gone with it.
        SetLabel(outLabel, kNotDefined);
        currentPE = -1;
    }
    Redraw(-1, 1);
    FitLabels();
}

void LogicShowDataWindow::EraseOutline() {
    const Matrix* plane = ShownPlane(0);
    if (originX >= 0 && defined && plane != nullptr && GetDrawArea(0) != nullptr) {
        EraseHighlight(*plane, GetDrawArea(0), geometry.zoom, originX, originY, peWidth, peHeight);
    }
    originX = -1;
    originY = -1;
}

void LogicShowDataWindow::PointerMoved(Widget area, int x, int y, int inside) {
    if (area != GetDrawArea(0)) return;
    // A load may have given the element another PE dimension.
    const int oldWidth = peWidth;
    const int oldHeight = peHeight;
    ReadPEDimension();
    if (peWidth != oldWidth || peHeight != oldHeight) originX = originY = -1;
    if (!defined) {
        SetLabel(outLabel, "not def.");
        return;
    }
    const Matrix* plane = ShownPlane(0);
    if (!inside || plane == nullptr) {
        EraseOutline();
        SetLabel(outLabel, " ");
        return;
    }
    EraseOutline();
    originX = x - x % peWidth;
    originY = y - y % peHeight;
    DrawHighlight(*plane, area, geometry.zoom, originX, originY, peWidth, peHeight);
    const char* name =
        logicElement->GetData().GetPEDataName((x % peWidth) * peHeight + y % peHeight);
    SetLabel(posLabel,
             (std::to_string(x) + "," + std::to_string(y) + " " + (name != nullptr ? name : ""))
                 .c_str());
    SetLabel(
        outLabel,
        (std::to_string(originX / peWidth) + "," + std::to_string(originY / peHeight)).c_str());
    currentPE = (originY / peHeight) * (plane->GetDimX() / peWidth) + originX / peWidth;
    Redraw(1, 1);
}

void LogicShowDataWindow::FitLabels() {
    ShowDataWindow::FitLabels();
    if (int_label == nullptr || shell == nullptr || !XtIsRealized(shell)) return;
    // Stretched to the window's right edge: it grows with the window.
    Widen(LabelShortfall(int_label));
}

void LogicShowDataWindow::InternalPointerEvent(XEvent* event) {
    const Matrix* internal = GetInternalData();
    if (internal == nullptr) return;
    int cellX = 0;
    int cellY = 0;
    if (event->type == MotionNotify &&
        AreaPixelToCell(*internal, int_drawarea, event->xmotion.x, event->xmotion.y, geometry.zoom,
                        cellX, cellY)) {
        if (cellX == internalCell) return;
        const char* name = logicElement->GetData().GetInternalName(cellX);
        SetLabel(int_label, name != nullptr ? name : " ");
        internalCell = cellX;
        FitLabels();
        return;
    }
    if (event->type == MotionNotify || event->type == LeaveNotify) {
        SetLabel(int_label, " ");
        internalCell = -1;
    }
}
