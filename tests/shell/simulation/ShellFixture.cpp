#include "ShellFixture.h"

#include <X11/IntrinsicP.h>
#include <X11/Shell.h>
#include <Xm/PushB.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/Xm.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <sstream>
#include <string>

#include "model/elements/ArchitectureGraphics.h"
#include "model/elements/ElementUi.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"
#include "shell/ArchitectureWindow.h"
#include "shell/FallbackResources.h"
#include "shell/FileSelection.h"
#include "shell/MainWindow.h"
#include "shell/ShellElementUi.h"
#include "shell/Startup.h"
#include "toolkit/Bell.h"
#include "toolkit/Colors.h"
#include "toolkit/MatrixDraw.h"
#include "toolkit/OwnedXtString.h"
#include "toolkit/ReadInt.h"

namespace {

std::vector<std::string> messages;
std::deque<MessageResult> answers;

MessageResult RecordMessage(Widget, MessageKind kind, const char* title, const char* text) {
    messages.push_back(std::string(title) + "|" + text);
    if (!answers.empty()) {
        const MessageResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return kind == kMessageYesNo || kind == kMessageYesNoCancel ? kResultNo : kResultOk;
}

void QuietBell(Display*, int) {}

void RemoveHome() {
    const std::string home = Shell().home;
    if (home.empty()) return;
    unlink((home + "/.quiran").c_str());
    unlink((home + "/.quiran_times").c_str());
    rmdir(home.c_str());
}

ShellFixture Open() {
    ShellFixture shell;
    char pattern[] = "/tmp/quiran-shell-XXXXXX";
    if (mkdtemp(pattern) != nullptr) {
        shell.home = pattern;
        setenv("HOME", pattern, 1);
    }
    InitLineBuffer();
    int argc = 1;
    char name[] = "test_shell_simulation";
    char* argv[] = {name, nullptr};
    XtToolkitInitialize();
    shell.app = XtCreateApplicationContext();
    XtAppSetFallbackResources(shell.app, const_cast<String*>(kFallbackResources));
    shell.display = XtOpenDisplay(shell.app, nullptr, name, "QUIRAN", nullptr, 0, &argc, argv);
    if (shell.display == nullptr) return shell;
    shell.topLevel = XtVaAppCreateShell(name, "QUIRAN", applicationShellWidgetClass, shell.display,
                                        XmNx, 0, XmNy, 0, nullptr);
    SetTopLevelShell(shell.topLevel, shell.app);
    SetElementUi(new ShellElementUi(shell.topLevel));
    CreateStippleBitmap(shell.topLevel);
    InitColors(shell.topLevel);
    CreateMatrixGCs(shell.topLevel);
    SetReadIntAppContext(shell.app);
    SetBellFunction(QuietBell);
    CreateFileDialog();
    InitArchitectureGraphics();
    SetWindowMessageFunction(RecordMessage);
    shell.main = new MainWindow(shell.topLevel);
    SetMainWindow(shell.main);
    XtRealizeWidget(shell.topLevel);
    XSync(shell.display, False);
    return shell;
}

} // namespace

ShellFixture& Shell() {
    static ShellFixture shell = Open();
    static const bool registered = (std::atexit(RemoveHome), true);
    (void)registered;
    return shell;
}

std::vector<std::string>& Messages() {
    return messages;
}

void Answer(std::vector<MessageResult> next) {
    answers.assign(next.begin(), next.end());
}

void RunFor(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    XtAppContext app = Shell().app;
    while (std::chrono::steady_clock::now() < end) {
        while (XtAppPending(app) != 0)
            XtAppProcessEvent(app, XtIMAll);
        usleep(2000);
    }
}

void Flush() {
    XSync(Shell().display, False);
    XtAppContext app = Shell().app;
    while (XtAppPending(app) != 0)
        XtAppProcessEvent(app, XtIMAll);
}

int LoadArchitecture(const std::string& text) {
    ClearParseError();
    std::istringstream in(text);
    return Shell().main->Read(in, nullptr);
}

Widget Find(Widget parent, const char* name) {
    std::vector<Widget> found = FindAll(parent, name);
    return found.empty() ? nullptr : found[0];
}

void SendDeleteWindow(Widget shell) {
    Display* display = XtDisplay(shell);
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = XtWindow(shell);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, XtWindow(shell), False, NoEventMask, &event);
    Flush();
}

namespace {

void Collect(Widget parent, const char* name, std::vector<Widget>& found) {
    if (std::string(XtName(parent)) == name) found.push_back(parent);
    if (XtIsComposite(parent)) {
        WidgetList children = nullptr;
        Cardinal count = 0;
        XtVaGetValues(parent, XmNchildren, &children, XmNnumChildren, &count, nullptr);
        for (Cardinal i = 0; i < count; i++)
            Collect(children[i], name, found);
    }
    if (!XtIsWidget(parent)) return; // gadgets have no popups
    for (Cardinal i = 0; i < parent->core.num_popups; i++) {
        Collect(parent->core.popup_list[i], name, found);
    }
}

} // namespace

std::vector<Widget> FindAll(Widget parent, const char* name) {
    std::vector<Widget> found;
    Collect(parent, name, found);
    return found;
}

void Press(Widget button) {
    XmPushButtonCallbackStruct call = {};
    call.reason = XmCR_ACTIVATE;
    XtCallCallbacks(button, XmNactivateCallback, &call);
}

void Toggle(Widget toggle, bool set) {
    XmToggleButtonSetState(toggle, set ? True : False, True);
}

std::string TextOf(Widget field) {
    if (!XmIsTextField(field)) field = ReadIntGetText(field);
    OwnedXtString text(XmTextFieldGetString(field));
    return text.Get();
}

void SetTextOf(Widget field, const char* text) {
    if (!XmIsTextField(field)) field = ReadIntGetText(field);
    XmTextFieldSetString(field, const_cast<char*>(text));
}
