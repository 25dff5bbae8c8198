#include "tests/support/gui/GuiDisplay.h"

#include <X11/Shell.h>
#include <Xm/Xm.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "shell/FallbackResources.h"
#include "toolkit/Bell.h"
#include "toolkit/Colors.h"
#include "toolkit/MatrixDraw.h"
#include "toolkit/ReadInt.h"

namespace testgui {

namespace {

GuiDisplay current;

int bells = 0;
int lastVolume = 0;

void CountBell(Display*, int percent) {
    ++bells;
    lastVolume = percent;
}

std::function<void()> pendingWork;
Atom runAtom = 0;

void RunWorkHandler(Widget, XtPointer, XEvent* event, Boolean*) {
    if (event->type != ClientMessage || event->xclient.message_type != runAtom) return;
    std::function<void()> work = std::move(pendingWork);
    pendingWork = nullptr;
    if (work) work();
}

} // namespace

GuiDisplay OpenGuiDisplay(const char* name, Dimension width, Dimension height) {
    GuiDisplay opened;
    XtToolkitInitialize();
    opened.app = XtCreateApplicationContext();
    XtAppSetFallbackResources(opened.app, const_cast<String*>(kFallbackResources));
    // Kept for the process: the toolkit keeps pointers into argv.
    static char programName[64];
    static char* argv[] = {programName, nullptr};
    std::snprintf(programName, sizeof programName, "%s", name);
    int argc = 1;
    opened.display =
        XtOpenDisplay(opened.app, nullptr, programName, "QUIRAN", nullptr, 0, &argc, argv);
    if (opened.display == nullptr) return opened;
    Arg args[4];
    Cardinal n = 0;
    XtSetArg(args[n], XmNx, 0);
    n++;
    XtSetArg(args[n], XmNy, 0);
    n++;
    if (width != 0) {
        XtSetArg(args[n], XmNwidth, width);
        n++;
    }
    if (height != 0) {
        XtSetArg(args[n], XmNheight, height);
        n++;
    }
    opened.topLevel = XtAppCreateShell(programName, "QUIRAN", applicationShellWidgetClass,
                                       opened.display, args, n);
    current = opened;
    return opened;
}

GuiDisplay OpenToolkitDisplay(const char* name) {
    GuiDisplay opened = OpenGuiDisplay(name, 400, 300);
    if (opened.display == nullptr) return opened;
    CreateStippleBitmap(opened.topLevel);
    InitColors(opened.topLevel);
    CreateMatrixGCs(opened.topLevel);
    SetReadIntAppContext(opened.app);
    CountBells();
    XtRealizeWidget(opened.topLevel);
    XSync(opened.display, False);
    return opened;
}

GuiDisplay& CurrentDisplay() {
    return current;
}

void CountBells() {
    SetBellFunction(CountBell);
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

void ProcessFor(XtAppContext app, int ms, const std::function<bool()>& done) {
    const long long end = NowMs() + ms;
    while (NowMs() < end) {
        if (done && done()) return;
        if (XtAppPending(app)) {
            XtAppProcessEvent(app, XtIMAll);
        } else {
            usleep(1000);
        }
    }
}

bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
    ProcessFor(current.app, timeoutMs, done);
    return done();
}

void RunFor(int ms) {
    ProcessFor(current.app, ms);
}

void Flush() {
    XSync(current.display, False);
    while (XtAppPending(current.app) & (XtIMXEvent | XtIMAlternateInput)) {
        XtAppProcessEvent(current.app, XtIMXEvent | XtIMAlternateInput);
    }
}

void FlushAll() {
    XSync(current.display, False);
    while (XtAppPending(current.app) != 0)
        XtAppProcessEvent(current.app, XtIMAll);
}

void RunInDispatch(const std::function<void()>& work) {
    Widget top = current.topLevel;
    if (runAtom == 0) {
        runAtom = XInternAtom(XtDisplay(top), "QUIRAN_TEST_RUN", False);
        XtAddEventHandler(top, NoEventMask, True, RunWorkHandler, nullptr);
    }
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

} // namespace testgui
