#include "ShellFixture.h"

#include <Xm/ToggleB.h>

#include <sstream>

#include "model/format/ParseError.h"
#include "shell/ArchitectureWindow.h"
#include "shell/MainWindow.h"
#include "shell/WindowMessage.h"

ShellFixture& Shell() {
    ShellFixture& shell = testgui::TheShellGui();
    static const bool recording = [] {
        SetWindowMessageFunction(testgui::RecordMessage);
        testgui::CountBells();
        return true;
    }();
    (void)recording;
    return shell;
}

void Answer(std::vector<MessageResult> next) {
    testgui::QueuedAnswers().assign(next.begin(), next.end());
}

int LoadArchitecture(const std::string& text) {
    ClearParseError();
    std::istringstream in(text);
    return Shell().main->Read(in, nullptr);
}

void Toggle(Widget toggle, bool set) {
    XmToggleButtonSetState(toggle, set ? True : False, True);
}
