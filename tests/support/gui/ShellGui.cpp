#include "tests/support/gui/ShellGui.h"

#include <Xm/Xm.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>

#include "model/data/ClockList.h"
#include "model/elements/ArchitectureGraphics.h"
#include "model/format/TextFormat.h"
#include "shell/DragContext.h"
#include "shell/DragDisplay.h"
#include "shell/FileSelection.h"
#include "shell/MainWindow.h"
#include "shell/OverviewWindow.h"
#include "shell/ShellElementUi.h"
#include "shell/Startup.h"
#include "shell/WindowMessage.h"
#include "tests/support/gui/GuiDisplay.h"
#include "tests/support/gui/GuiWidgets.h"
#include "toolkit/Colors.h"
#include "toolkit/MatrixDraw.h"
#include "toolkit/ReadInt.h"

namespace testgui {

namespace {

std::vector<std::string> messages;
std::deque<MessageResult> answers;
MessageResult fallback = kResultNone;

void RemoveHome() {
    const std::string home = TheShellGui().home;
    if (home.empty()) return;
    unlink((home + "/.quiran").c_str());
    unlink((home + "/.quiran_times").c_str());
    rmdir(home.c_str());
}

ShellGui Open() {
    ShellGui gui;
    if (std::getenv("DISPLAY") == nullptr) return gui;
    char home[] = "/tmp/quiran-test-XXXXXX";
    if (mkdtemp(home) == nullptr) return gui;
    gui.home = home;
    setenv("HOME", home, 1);
    InitLineBuffer();
    // The drag display comes before the toolkit's own connection.
    static char name[] = "quiran";
    static char* argv[] = {name, nullptr};
    OpenDragDisplay(1, argv);
    const GuiDisplay display = OpenGuiDisplay(name);
    if (display.display == nullptr) return gui;
    gui.app = display.app;
    gui.display = display.display;
    gui.topLevel = display.topLevel;
    SetTopLevelShell(gui.topLevel, gui.app);
    InstallShellElementUi(gui.topLevel);
    CreateStippleBitmap(gui.topLevel);
    InitColors(gui.topLevel);
    CreateMatrixGCs(gui.topLevel);
    InitDragAndDrop();
    SetReadIntAppContext(gui.app);
    CreateFileDialog();
    InitArchitectureGraphics();
    OverviewWindow::InitCursor(gui.topLevel);
    gui.main = new MainWindow(gui.topLevel);
    SetMainWindow(gui.main);
    XtRealizeWidget(gui.topLevel);
    Widget area = gui.main->GetCadArea();
    ProcessFor(gui.app, 3000, [area] { return IsShown(area); });
    ProcessFor(gui.app, 200);
    return gui;
}

} // namespace

ShellGui& TheShellGui() {
    static ShellGui gui = Open();
    static const bool registered = (std::atexit(RemoveHome), true);
    (void)registered;
    return gui;
}

MainWindow* CleanMainWindow() {
    MainWindow* main = TheShellGui().main;
    if (main == nullptr) return nullptr;
    SetWindowMessageFunction(RecordMessage);
    SetFileMessageFunction(RecordMessage);
    messages.clear();
    answers.clear();
    fallback = kResultNo;
    ResetClocks();
    main->ClearModified();
    main->Clear();
    return main;
}

std::vector<std::string>& Messages() {
    return messages;
}

std::deque<MessageResult>& QueuedAnswers() {
    return answers;
}

MessageResult& FallbackAnswer() {
    return fallback;
}

MessageResult RecordMessage(Widget, MessageKind kind, const char* title, const char* text) {
    messages.push_back(std::string(title) + "|" + text);
    if (!answers.empty()) {
        const MessageResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    if (fallback != kResultNone) return fallback;
    return kind == kMessageYesNo || kind == kMessageYesNoCancel ? kResultNo : kResultOk;
}

} // namespace testgui
