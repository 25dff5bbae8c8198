#include "ToolkitDisplay.h"

#include "toolkit/Bell.h"
#include "toolkit/Colors.h"
#include "toolkit/MatrixDraw.h"
#include "toolkit/ReadInt.h"

#include <X11/Shell.h>
#include <Xm/MessageB.h>
#include <Xm/Xm.h>

#include <chrono>
#include <csignal>
#include <unistd.h>

namespace {

// The program's fallback look, as far as it touches the toolkit's widgets.
const char* kFallback[] = {
    "*fontList:-adobe-helvetica-medium-r-normal-*-12-*-*-*-*-*-*-*",
    "*Background: #c3c3c3",
    "*XmTextField.Background: #d0d0d0",
    "*SelectColor: yellow",
    "*ActionButton.MarginHeight: 3",
    "*HighlightThickness: 1",
    "*XmPushButtonGadget*ShadowThickness: 1",
    "*XmPushButton.ShadowThickness: 1",
    "*XmArrowButton.ShadowThickness: 1",
    "*XmTextField.ShadowThickness: 1",
    "*Dialog*ShadowThickness: 1",
    "*Dialog*Separator.ShadowThickness: 2",
    nullptr,
};

int bells = 0;
int lastVolume = 0;

void CountBell(Display*, int percent) {
    ++bells;
    lastVolume = percent;
}

ToolkitDisplay Open() {
    ToolkitDisplay t;
    XtToolkitInitialize();
    t.app = XtCreateApplicationContext();
    XtAppSetFallbackResources(t.app, const_cast<String*>(kFallback));
    int argc = 1;
    char name[] = "test_toolkit";
    char* argv[] = {name, nullptr};
    t.display = XtOpenDisplay(t.app, nullptr, name, "QUIRAN", nullptr, 0, &argc, argv);
    if (t.display == nullptr) {
        return t;
    }
    t.topLevel = XtVaAppCreateShell(name, "QUIRAN", applicationShellWidgetClass, t.display,
                                    XmNwidth, 400, XmNheight, 300, XmNx, 0, XmNy, 0, nullptr);
    CreateStippleBitmap(t.topLevel);
    InitColors(t.topLevel);
    CreateMatrixGCs(t.topLevel);
    SetReadIntAppContext(t.app);
    SetBellFunction(CountBell);
    XtRealizeWidget(t.topLevel);
    XSync(t.display, False);
    return t;
}

} // namespace

ToolkitDisplay& Toolkit() {
    static ToolkitDisplay toolkit = Open();
    return toolkit;
}

int BellCount() {
    return bells;
}

int LastBellVolume() {
    return lastVolume;
}

void ResetBells() {
    bells = 0;
    lastVolume = 0;
}

long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
    const long long end = NowMs() + timeoutMs;
    XtAppContext app = Toolkit().app;
    while (!done() && NowMs() < end) {
        XFlush(Toolkit().display);
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
    XSync(Toolkit().display, False);
    XtAppContext app = Toolkit().app;
    while (XtAppPending(app) & (XtIMXEvent | XtIMAlternateInput)) {
        XtAppProcessEvent(app, XtIMXEvent | XtIMAlternateInput);
    }
}

XEvent ButtonEvent(Widget w, int type, int x, int y) {
    XEvent event{};
    event.xbutton.type = type;
    event.xbutton.display = XtDisplay(w);
    event.xbutton.window = XtWindow(w);
    event.xbutton.root = RootWindowOfScreen(XtScreen(w));
    event.xbutton.time = CurrentTime;
    event.xbutton.x = x;
    event.xbutton.y = y;
    Position rootX = 0;
    Position rootY = 0;
    XtTranslateCoords(w, static_cast<Position>(x), static_cast<Position>(y), &rootX, &rootY);
    event.xbutton.x_root = rootX; // buttons check that the release is still over them
    event.xbutton.y_root = rootY;
    event.xbutton.state = type == ButtonRelease ? Button1Mask : 0;
    event.xbutton.button = Button1;
    event.xbutton.same_screen = True;
    return event;
}

XEvent KeyEvent(Widget w, unsigned long keysym) {
    XEvent event{};
    event.xkey.type = KeyPress;
    event.xkey.display = XtDisplay(w);
    event.xkey.window = XtWindow(w);
    event.xkey.root = RootWindowOfScreen(XtScreen(w));
    event.xkey.time = CurrentTime;
    event.xkey.keycode = XKeysymToKeycode(XtDisplay(w), keysym);
    event.xkey.same_screen = True;
    return event;
}

XEvent FocusEvent(Widget w, int type) {
    XEvent event{};
    event.xfocus.type = type;
    event.xfocus.send_event = True; // as a window manager's focus change arrives
    event.xfocus.display = XtDisplay(w);
    event.xfocus.window = XtWindow(w);
    event.xfocus.mode = NotifyNormal;
    event.xfocus.detail = NotifyAncestor;
    return event;
}

void CallAction(Widget w, const char* action, XEvent* event, const char* param) {
    String params[] = {const_cast<String>(param)};
    XtCallActionProc(w, action, event, param != nullptr ? params : nullptr,
                     param != nullptr ? 1 : 0);
}

void ClickMessageButton(Widget box, unsigned char child) {
    Widget button = XmMessageBoxGetChild(box, child);
    Position x = 0;
    Position y = 0;
    Dimension width = 0;
    Dimension height = 0;
    XtVaGetValues(button, XmNx, &x, XmNy, &y, XmNwidth, &width, XmNheight, &height, nullptr);
    // A gadget has no window: its manager takes the events at the gadget's place.
    Widget owner = XtParent(button);
    if (!XmIsGadget(button)) {
        owner = button;
        x = 0;
        y = 0;
    }
    for (int type : {ButtonPress, ButtonRelease}) {
        XEvent event = ButtonEvent(owner, type, x + width / 2, y + height / 2);
        XSendEvent(XtDisplay(owner), XtWindow(owner), True,
                   type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
    }
    XFlush(XtDisplay(owner));
}

void SendDeleteWindow(Widget shell) {
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
    XFlush(display);
}

void Watchdog(unsigned seconds) {
    std::signal(SIGALRM, SIG_DFL);
    alarm(seconds);
}
