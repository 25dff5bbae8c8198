#include "EditorsTestSupport.h"

#include <Xm/Form.h>
#include <Xm/Xm.h>

#include <cstdlib>
#include <string>

#include "model/data/ClockList.h"
#include "model/elements/ElementType.h"
#include "model/elements/IconGeometry.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"
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
    : AElement(nullptr, type, 0, 0, inputs, outputs), defaultInputs(inputs),
      defaultOutputs(outputs) {
    UpdateIcon();
    CreateData();
}

ATestElem::ATestElem(const ATestElem& other)
    : AElement(other), defaultInputs(other.defaultInputs), defaultOutputs(other.defaultOutputs) {
    UpdateIcon();
    data = new D_TestElem(*other.data);
}

ATestElem::~ATestElem() {
    // No window may outlive the data it shows.
    CloseWindows();
    delete data;
}

int ATestElem::GetIconWidth() {
    return StockIconWidth(GetType(), defaultInputs, defaultOutputs);
}

int ATestElem::GetIconHeight() {
    return StockIconHeight(GetType(), defaultInputs, defaultOutputs);
}

void ATestElem::CloseModifyWindow() {
    AElement::CloseModifyWindow();
}

void ATestElem::CreateData() {
    delete data;
    data = new D_TestElem;
}

void ATestElem::Simulate() {
    steps++;
    for (int i = 0; i < GetOutputCount(); i++)
        GetOutputPlane(i)->SetBit(steps - 1, 0, 1);
    AElement::Simulate();
    if (afterStep) afterStep();
}

int ATestElem::Read(std::istream& in, FileArgument* target) {
    ElementHeader header;
    if (ParseHeader(in, header) != kNoError) return GetParseError();
    D_TestElem read;
    char* cursor = EmptyCursor();
    int code = ExpectKeyword(in, cursor, "LOGICAL_DATA");
    if (code == kNoError) code = ExpectKeyword(in, cursor, "{");
    if (code == kNoError) code = ExpectKeyword(in, cursor, "VALUE:");
    if (code == kNoError) {
        code = ParseInt(cursor, read.value);
        if (code != kNoError) code = SetReadError(in, code, "VALUE:");
    }
    if (code == kNoError) code = ExpectKeyword(in, cursor, "}");
    if (code != kNoError) return code;
    // The data object is replaced, as every type's reader does: a window must not keep the old.
    CloseModifyWindow();
    ApplyHeader(header, target);
    if (target != nullptr) {
        *static_cast<D_TestElem*>(target) = read;
    } else {
        *data = read;
    }
    RedrawShowDataWindows();
    return kNoError;
}

int ATestElem::Write(std::ostream& out, int level, FileArgument* source) {
    if (WriteHeader(out, level) != 0) return SetWriteError(out, kIoError, nullptr);
    const D_TestElem* from = source != nullptr ? static_cast<D_TestElem*>(source) : data;
    Indent(out, level) << "LOGICAL_DATA {\n";
    Indent(out, level + 1) << "VALUE: " << from->value << '\n';
    Indent(out, level) << "}\n";
    return FinishWrite(out);
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

bool RealClick(Widget w) {
    Dimension width = 0;
    Dimension height = 0;
    XtVaGetValues(w, XmNwidth, &width, XmNheight, &height, nullptr);
    Position x = 0;
    Position y = 0;
    XtTranslateCoords(w, static_cast<Position>(width / 2), static_cast<Position>(height / 2), &x,
                      &y);
    const std::string command = "xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) +
                                " click 1 > /dev/null 2>&1";
    const bool clicked = std::system(command.c_str()) == 0;
    XSync(XtDisplay(w), False);
    testgui::Flush();
    return clicked;
}

bool RealTypeInto(Widget text, const char* typed) {
    if (!RealClick(text)) return false;
    const std::string command = std::string("xdotool key End key --repeat 12 BackSpace") +
                                (typed[0] != '\0' ? std::string(" type '") + typed + "'" : "") +
                                " > /dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return false;
    return testgui::RunUntil([&] { return testgui::TextOf(text) == typed; }, 5000);
}
