#include "EditorsTestSupport.h"

#include <Xm/Form.h>
#include <Xm/Scale.h>
#include <Xm/ScrollBar.h>
#include <Xm/ScrolledW.h>
#include <Xm/Xm.h>

#include <cstdlib>
#include <string>

#include "model/data/ClockList.h"
#include "model/elements/ElementType.h"
#include "model/elements/IconGeometry.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"
#include "tests/support/gui/ScrollToFarEnd.h"
#include "toolkit/MatrixGeometry.h"
#include "toolkit/MatrixViewport.h"
#include "toolkit/WidgetHelpers.h"

namespace {

TestEditorHost host;
TestElementUi ui;
std::vector<std::string> recordedWarnings;

void RecordWarning(String message) {
    recordedWarnings.push_back(message != nullptr ? message : "");
}

EditorsDisplay Open() {
    EditorsDisplay t = testgui::OpenToolkitDisplay("test_editors");
    if (t.display == nullptr) return t;
    SetEditorHost(&host);
    SetElementUi(&ui);
    ResetClocks();
    return t;
}

} // namespace

EditorsDisplay& Editors() {
    static EditorsDisplay editors = Open();
    return editors;
}

TestEditorHost& Host() {
    return host;
}

TestElementUi& Ui() {
    return ui;
}

ElementView* TestElementUi::CreateView(const ViewRequest& request) {
    if (makeView) {
        if (ElementView* view = makeView(request)) return view;
    }
    if (request.kind == kModifyView && dynamic_cast<ATestElem*>(request.element) != nullptr) {
        return new ATestModifyWindow(request.element);
    }
    return EditorElementUi::CreateView(request);
}

Widget TestEditorHost::GetElementShell(const AElement&) {
    return ownerShell != nullptr ? ownerShell : Editors().topLevel;
}

ATestElem::ATestElem(uint32_t type, int inputs, int outputs)
    : TestElementBase(nullptr, type, 0, 0, inputs, outputs) {
    UpdateIcon();
    CreateData();
}

ATestElem::ATestElem(const ATestElem& other) : TestElementBase(other) {
    UpdateIcon();
}

void ATestElem::Simulate() {
    steps++;
    for (int i = 0; i < GetOutputCount(); i++)
        GetOutputPlane(i)->SetBit(steps - 1, 0, 1);
    AElement::Simulate();
    if (afterStep) afterStep();
}

void ATestElem::TakeRead(const ElementHeader& header, FileArgument* target,
                         const D_TestElem& read) {
    // The data object is replaced, as every type's reader does: a window must not keep the old.
    CloseModifyWindow();
    TestElementBase::TakeRead(header, target, read);
    RedrawShowDataWindows();
}

ATestModifyWindow::ATestModifyWindow(AElement* owner, AElementModifyWindow** slot)
    : AElementModifyWindow(owner, slot), copy(*static_cast<ATestElem*>(owner)->data) {
    live++;
    form = XtVaCreateManagedWidget("form", xmFormWidgetClass, shell, nullptr);
    Widget action = CreateModifyActionArea(form);
    XtVaSetValues(action, XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
                  XmNbottomAttachment, XmATTACH_FORM, nullptr);
    Show();
}

void ATestModifyWindow::RefreshModifyWindow() {
    refreshes++;
    copy = *static_cast<ATestElem*>(element)->data;
}

void ATestModifyWindow::StoreCopy() {
    *static_cast<ATestElem*>(element)->data = copy;
}

void SendCrossing(Widget w, int type, int x, int y, int detail) {
    XEvent event = testgui::CrossingEvent(w, type, x, y, detail);
    XtDispatchEvent(&event);
}

void SendMotion(Widget w, int x, int y) {
    XEvent event = testgui::MotionEvent(w, x, y);
    XtDispatchEvent(&event);
}

int BlackPixels(Widget w, int x, int y, int width, int height) {
    Display* display = XtDisplay(w);
    XSync(display, False);
    XImage* image = XGetImage(display, XtWindow(w), x, y, width, height, AllPlanes, ZPixmap);
    if (image == nullptr) return -1;
    const unsigned long black = BlackPixelOfScreen(XtScreen(w));
    int count = 0;
    for (int j = 0; j < height; j++) {
        for (int i = 0; i < width; i++) {
            if (XGetPixel(image, i, j) == black) count++;
        }
    }
    XDestroyImage(image);
    return count;
}

void SetScaleZoom(Widget scale, int zoom) {
    XmScaleSetValue(scale, zoom);
    XmScaleCallbackStruct call{};
    call.reason = XmCR_VALUE_CHANGED;
    call.value = zoom;
    XtCallCallbacks(scale, XmNvalueChangedCallback, &call);
    Flush();
}

void ScrollToTopRight(Widget draw) {
    testgui::ScrollToFarEnd(draw);
    Flush();
    Flush();
}

ShownCell CellOnScreen(Widget draw, int dimY, int zoom, int x, int y) {
    const PixelRect cell = MatrixCellRect(dimY, zoom, x, y);
    const ViewOffset offset = MatrixAreaOffset(draw);
    ShownCell shown{static_cast<int>(cell.x - offset.x), static_cast<int>(cell.y - offset.y),
                    cell.width, cell.height, false};
    Position areaX = 0, areaY = 0;
    XtVaGetValues(draw, XmNx, &areaX, XmNy, &areaY, nullptr);
    Dimension clipWidth = 0, clipHeight = 0;
    XtVaGetValues(XtParent(draw), XmNwidth, &clipWidth, XmNheight, &clipHeight, nullptr);
    shown.seen = shown.x + areaX >= 0 && shown.y + areaY >= 0 &&
                 shown.x + areaX + shown.width <= clipWidth &&
                 shown.y + areaY + shown.height <= clipHeight;
    return shown;
}

WarningRecorder::WarningRecorder() {
    recordedWarnings.clear();
    previous = XtAppSetWarningHandler(Editors().app, RecordWarning);
}

WarningRecorder::~WarningRecorder() {
    XtAppSetWarningHandler(Editors().app, previous);
}

const std::vector<std::string>& WarningRecorder::Warnings() const {
    return recordedWarnings;
}

bool ShowsWholeText(Widget label) {
    return LabelShortfall(label) <= 0;
}
