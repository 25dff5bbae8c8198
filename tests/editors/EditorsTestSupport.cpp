#include "EditorsTestSupport.h"

#include <X11/IntrinsicP.h>
#include <X11/Shell.h>
#include <X11/keysym.h>
#include <Xm/Form.h>
#include <Xm/PushB.h>
#include <Xm/PushBG.h>
#include <Xm/TextF.h>
#include <Xm/Xm.h>

#include <chrono>
#include <unistd.h>

#include "model/data/ClockList.h"
#include "model/elements/ElementType.h"
#include "model/elements/IconGeometry.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"
#include "toolkit/Bell.h"
#include "toolkit/Colors.h"
#include "toolkit/MatrixDraw.h"
#include "toolkit/OwnedXmString.h"
#include "toolkit/OwnedXtString.h"
#include "toolkit/ReadInt.h"

namespace {

const char* kFallback[] = {
    "*fontList:-adobe-helvetica-medium-r-normal-*-12-*-*-*-*-*-*-*",
    "*Background: #c3c3c3",
    nullptr,
};

// Work that must run as a callback runs: inside an event's dispatch, so that widgets destroyed
// by it go at the end of the dispatch, not under the action that is still running.
std::function<void()> pendingWork;
Atom runAtom = 0;

void RunWorkHandler(Widget, XtPointer, XEvent* event, Boolean*) {
    if (event->type != ClientMessage || event->xclient.message_type != runAtom) return;
    std::function<void()> work = std::move(pendingWork);
    pendingWork = nullptr;
    if (work) work();
}

int bells = 0;

void CountBell(Display*, int) {
    ++bells;
}

TestEditorHost host;
TestElementUi ui;

EditorsDisplay Open() {
    EditorsDisplay t;
    XtToolkitInitialize();
    t.app = XtCreateApplicationContext();
    XtAppSetFallbackResources(t.app, const_cast<String*>(kFallback));
    int argc = 1;
    char name[] = "test_editors";
    char* argv[] = {name, nullptr};
    t.display = XtOpenDisplay(t.app, nullptr, name, "QUIRAN", nullptr, 0, &argc, argv);
    if (t.display == nullptr) return t;
    t.topLevel = XtVaAppCreateShell(name, "QUIRAN", applicationShellWidgetClass, t.display,
                                    XmNwidth, 400, XmNheight, 300, XmNx, 0, XmNy, 0, nullptr);
    CreateStippleBitmap(t.topLevel);
    InitColors(t.topLevel);
    CreateMatrixGCs(t.topLevel);
    SetReadIntAppContext(t.app);
    SetBellFunction(CountBell);
    XtRealizeWidget(t.topLevel);
    XSync(t.display, False);
    runAtom = XInternAtom(t.display, "QUIRAN_TEST_RUN", False);
    XtAddEventHandler(t.topLevel, NoEventMask, True, RunWorkHandler, nullptr);
    SetEditorHost(&host);
    SetElementUi(&ui);
    ResetClocks();
    return t;
}

long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
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

void TestElementUi::CreateModifyWindow(AElement& element, FileArgument* data,
                                       AElementModifyWindow** slot) {
    if (dynamic_cast<ATestElem*>(&element) != nullptr) {
        new ATestModifyWindow(&element, slot);
    } else {
        EditorElementUi::CreateModifyWindow(element, data, slot);
    }
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

bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
    const long long end = NowMs() + timeoutMs;
    XtAppContext app = Editors().app;
    while (!done() && NowMs() < end) {
        XFlush(Editors().display);
        if (XtAppPending(app)) {
            XtAppProcessEvent(app, XtIMAll);
        } else {
            usleep(1000);
        }
    }
    return done();
}

void RunFor(int ms) {
    RunUntil([] { return false; }, ms);
}

void Flush() {
    XSync(Editors().display, False);
    XtAppContext app = Editors().app;
    while (XtAppPending(app) & (XtIMXEvent | XtIMAlternateInput)) {
        XtAppProcessEvent(app, XtIMXEvent | XtIMAlternateInput);
    }
}

int BellCount() {
    return bells;
}

void ResetBells() {
    bells = 0;
}

void SendClose(Widget shell) {
    Display* display = XtDisplay(shell);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.display = display;
    event.xclient.window = XtWindow(shell);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, XtWindow(shell), False, NoEventMask, &event);
    Flush();
}

void RunInDispatch(const std::function<void()>& work) {
    Widget top = Editors().topLevel;
    pendingWork = work;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.display = XtDisplay(top);
    event.xclient.window = XtWindow(top);
    event.xclient.message_type = runAtom;
    event.xclient.format = 32;
    XSendEvent(XtDisplay(top), XtWindow(top), False, NoEventMask, &event);
    RunUntil([] { return !pendingWork; }, 2000);
    Flush();
}

void PressReturn(Widget text) {
    XEvent event{};
    event.xkey.type = KeyPress;
    event.xkey.display = XtDisplay(text);
    event.xkey.window = XtWindow(text);
    event.xkey.root = RootWindowOfScreen(XtScreen(text));
    event.xkey.time = CurrentTime;
    event.xkey.keycode = XKeysymToKeycode(XtDisplay(text), XK_Return);
    event.xkey.same_screen = True;
    RunInDispatch(
        [&] { XtCallActionProc(text, const_cast<char*>("activate"), &event, nullptr, 0); });
}

void SetText(Widget text, const char* value) {
    XmTextFieldSetString(text, const_cast<char*>(value));
}

std::string GetText(Widget text) {
    OwnedXtString value(XmTextFieldGetString(text));
    return value.Get() != nullptr ? value.Get() : "";
}

void TypeKey(Widget text, unsigned long keysym) {
    XmTextFieldSetInsertionPosition(text, XmTextFieldGetLastPosition(text));
    XEvent event{};
    event.xkey.type = KeyPress;
    event.xkey.display = XtDisplay(text);
    event.xkey.window = XtWindow(text);
    event.xkey.root = RootWindowOfScreen(XtScreen(text));
    event.xkey.keycode = XKeysymToKeycode(XtDisplay(text), keysym);
    event.xkey.same_screen = True;
    RunInDispatch(
        [&] { XtCallActionProc(text, const_cast<char*>("self-insert"), &event, nullptr, 0); });
}

void LoseFocus(Widget text) {
    XEvent event{};
    event.xfocus.type = FocusOut;
    event.xfocus.send_event = True;
    event.xfocus.display = XtDisplay(text);
    event.xfocus.window = XtWindow(text);
    event.xfocus.mode = NotifyNormal;
    event.xfocus.detail = NotifyAncestor;
    RunInDispatch(
        [&] { XtCallActionProc(text, const_cast<char*>("focusOut"), &event, nullptr, 0); });
}

void Click(Widget button) {
    XmPushButtonCallbackStruct call{};
    call.reason = XmCR_ACTIVATE;
    call.click_count = 1;
    RunInDispatch([&] { XtCallCallbacks(button, XmNactivateCallback, &call); });
}

std::string LabelText(Widget label) {
    XmString string = nullptr;
    XtVaGetValues(label, XmNlabelString, &string, nullptr);
    OwnedXmString owned(string);
    if (string == nullptr) return "";
    // Separators come back as line feeds.
    OwnedXmString separator(XmStringSeparatorCreate());
    Arg args[4];
    XtSetArg(args[0], XmNpattern, const_cast<char*>("\n"));
    XtSetArg(args[1], XmNpatternType, XmCHARSET_TEXT);
    XtSetArg(args[2], XmNsubstitute, separator.Get());
    XtSetArg(args[3], XmNincludeStatus, XmINSERT);
    XmParseMapping mapping = XmParseMappingCreate(args, 4);
    OwnedXtString text(static_cast<char*>(XmStringUnparse(
        string, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, &mapping, 1, XmOUTPUT_ALL)));
    XmParseMappingFree(mapping);
    return text.Get() != nullptr ? text.Get() : "";
}

Widget Child(Widget parent, const char* path) {
    return XtNameToWidget(parent, path);
}

Widget ButtonLabelled(Widget parent, const char* text) {
    if (XmIsPushButton(parent) || XmIsPushButtonGadget(parent)) {
        return LabelText(parent) == text ? parent : nullptr;
    }
    if (!XtIsComposite(parent)) return nullptr;
    WidgetList children = nullptr;
    Cardinal count = 0;
    XtVaGetValues(parent, XmNchildren, &children, XmNnumChildren, &count, nullptr);
    for (Cardinal i = 0; i < count; i++) {
        Widget found = ButtonLabelled(children[i], text);
        if (found != nullptr) return found;
    }
    return nullptr;
}

void SendCrossing(Widget w, int type, int x, int y, int detail) {
    XEvent event{};
    event.xcrossing.type = type;
    event.xcrossing.display = XtDisplay(w);
    event.xcrossing.window = XtWindow(w);
    event.xcrossing.root = RootWindowOfScreen(XtScreen(w));
    event.xcrossing.x = x;
    event.xcrossing.y = y;
    event.xcrossing.mode = NotifyNormal;
    event.xcrossing.detail = detail;
    event.xcrossing.same_screen = True;
    XtDispatchEvent(&event);
}

void SendMotion(Widget w, int x, int y) {
    XEvent event{};
    event.xmotion.type = MotionNotify;
    event.xmotion.display = XtDisplay(w);
    event.xmotion.window = XtWindow(w);
    event.xmotion.root = RootWindowOfScreen(XtScreen(w));
    event.xmotion.x = x;
    event.xmotion.y = y;
    event.xmotion.same_screen = True;
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

bool IsLivePopup(Widget parent, Widget shell) {
    for (Cardinal i = 0; i < parent->core.num_popups; i++) {
        if (parent->core.popup_list[i] == shell && !shell->core.being_destroyed) return true;
    }
    return false;
}

int PopupCount(Widget parent) {
    int live = 0;
    for (Cardinal i = 0; i < parent->core.num_popups; i++) {
        if (!parent->core.popup_list[i]->core.being_destroyed) live++;
    }
    return live;
}
