#include "shell/MenuCommand.h"

#include <Xm/Xm.h>

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>

#include "model/elements/AElement.h"
#include "model/elements/ElementUi.h"
#include "model/format/FileKind.h"
#include "shell/AboutWindow.h"
#include "shell/ArchitectureWindow.h"
#include "shell/ClocksWindow.h"
#include "shell/CompilerSettingsDialog.h"
#include "shell/DefaultTimesDialog.h"
#include "shell/DirectoriesOptionsDialog.h"
#include "shell/FileSelection.h"
#include "shell/LibraryWindow.h"
#include "shell/MainWindow.h"
#include "shell/Settings.h"
#include "shell/StartupOptionsDialog.h"
#include "shell/WorkingAreaOptionsDialog.h"
#include "toolkit/MessageDialog.h"

#ifndef QUIRAN_INFORMATION_ADDRESS
#define QUIRAN_INFORMATION_ADDRESS "http://quiran.example.org/"
#endif
#ifndef QUIRAN_BUG_REPORT_ADDRESS
#define QUIRAN_BUG_REPORT_ADDRESS "quiran-bugs@example.org"
#endif

const char* const kInformationAddress = QUIRAN_INFORMATION_ADDRESS;
const char* const kBugReportAddress = QUIRAN_BUG_REPORT_ADDRESS;

namespace {

// The window whose menu or tool bar holds the entry: the userData of the entry's parent.
ArchitectureWindow* EntryWindow(Widget widget) {
    Widget parent = XtParent(widget);
    if (parent == nullptr) return nullptr;
    XtPointer data = nullptr;
    XtVaGetValues(parent, XmNuserData, &data, nullptr);
    return static_cast<ArchitectureWindow*>(data);
}

} // namespace

void MenuCommandCallback(Widget widget, XtPointer code, XtPointer) {
    ArchitectureWindow* window = EntryWindow(widget);
    if (window == nullptr) {
        std::cerr << "MenuCommandCallback: no window for the entry" << std::endl;
        return;
    }
    window->RunCommand(static_cast<int>(reinterpret_cast<intptr_t>(code)));
}

void ArchitectureWindow::RunCommand(int code) {
    struct CommandRow {
        int code;
        void (ArchitectureWindow::*run)();
    };
    // Edit Remarks, Import and Export have no function.
    static const CommandRow kCommands[] = {
        {kCommandNew0, &ArchitectureWindow::AskNewArchitecture},
        {kCommandNew, &ArchitectureWindow::AskNewArchitecture},
        {kCommandOpen, &ArchitectureWindow::OpenArchitectureFile},
        {kCommandSave, &ArchitectureWindow::SaveArchitectureFile},
        {kCommandSaveAs, &ArchitectureWindow::SaveArchitectureFileAs},
        {kCommandQuit, &ArchitectureWindow::QuitProgram},
        {kCommandDelete, &ArchitectureWindow::DeleteSelection},
        {kCommandClocks, &ArchitectureWindow::ShowClocksWindow},
        {kCommandSimulate, &ArchitectureWindow::SwitchSimulationBox},
        {kCommandElementList, &ArchitectureWindow::SwitchElementList},
        {kCommandOverview, &ArchitectureWindow::SwitchOverview},
        {kCommandGrid, &ArchitectureWindow::SwitchGrid},
        {kCommandDefaultTimes, &ArchitectureWindow::OpenDefaultTimesDialog},
        {kCommandCompilerSettings, &ArchitectureWindow::OpenCompilerSettingsDialog},
        {kCommandWorkingArea, &ArchitectureWindow::OpenWorkingAreaDialog},
        {kCommandDirectories, &ArchitectureWindow::OpenDirectoriesDialog},
        {kCommandStartup, &ArchitectureWindow::OpenStartupDialog},
        {kCommandSaveAsDefault, &ArchitectureWindow::SaveOptionsAsDefault},
        {kCommandLatestInformation, &ArchitectureWindow::ShowLatestInformation},
        {kCommandBugReports, &ArchitectureWindow::ShowBugReportAddress},
        {kCommandLibraryOpen, &ArchitectureWindow::OpenLibraryFile},
        {kCommandLibrarySave, &ArchitectureWindow::SaveLibraryFile},
        {kCommandLibrarySaveAs, &ArchitectureWindow::SaveLibraryFileAs},
        {kCommandLibraryClose, &ArchitectureWindow::CloseLibraryWindow},
        {kCommandMacroClose, &ArchitectureWindow::CloseMacroWindow},
        {kCommandAbout, &ArchitectureWindow::ShowAboutWindow},
    };
    // Every command may reach the main window's parts.
    if (GetMainWindow() == nullptr) {
        std::cerr << "ArchitectureWindow::RunCommand: no main window" << std::endl;
        return;
    }
    for (const CommandRow& row : kCommands) {
        if (row.code == code) {
            (this->*row.run)();
            return;
        }
    }
}

void ArchitectureWindow::AskNewArchitecture() {
    MainWindow* main = GetMainWindow();
    int width, height;
    AElement::GetDefaultPlaneSize(width, height);
    const TwoValuesQuestion question = {
        "New Architecture",      "X-Dimension", width, 1, 99999, "Y-Dimension", height, 1, 99999,
        NewArchitectureCallback, main};
    ElementView* dialog =
        GetElementUi().CreateView({kTwoValuesView, nullptr, nullptr, 0, &question});
    // Without a number dialog the new architecture keeps the current plane size.
    if (dialog == nullptr) NewArchitectureCallback(0, width, height, main);
}

void ArchitectureWindow::OpenArchitectureFile() {
    OpenDialog(*this, kArchitectureFile, nullptr);
}

void ArchitectureWindow::SaveArchitectureFile() {
    Save(*this, kArchitectureFile, nullptr);
}

void ArchitectureWindow::SaveArchitectureFileAs() {
    SaveAsDialog(*this, kArchitectureFile, nullptr);
}

void ArchitectureWindow::QuitProgram() {
    if (GetMainWindow()->QueryQuit()) std::exit(0);
}

void ArchitectureWindow::ShowClocksWindow() {
    GetMainWindow()->GetClocksWindow()->Show();
}

void ArchitectureWindow::SwitchSimulationBox() {
    GetMainWindow()->ToggleSimulationBox();
}

void ArchitectureWindow::SwitchElementList() {
    GetMainWindow()->ToggleElementList();
}

void ArchitectureWindow::SwitchOverview() {
    ToggleOverview();
}

void ArchitectureWindow::SwitchGrid() {
    ToggleGrid();
}

void ArchitectureWindow::OpenDefaultTimesDialog() {
    MainWindow* main = GetMainWindow();
    if (main->GetDefaultTimesDialog() == nullptr) new DefaultTimesDialog(main);
}

void ArchitectureWindow::OpenCompilerSettingsDialog() {
    MainWindow* main = GetMainWindow();
    if (main->GetCompilerSettingsDialog() == nullptr) new CompilerSettingsDialog(main);
}

void ArchitectureWindow::OpenWorkingAreaDialog() {
    if (workingAreaOptionsDialog == nullptr) new WorkingAreaOptionsDialog(this);
}

void ArchitectureWindow::OpenDirectoriesDialog() {
    MainWindow* main = GetMainWindow();
    if (main->GetDirectoriesDialog() == nullptr) new DirectoriesOptionsDialog(main);
}

void ArchitectureWindow::OpenStartupDialog() {
    MainWindow* main = GetMainWindow();
    if (main->GetStartupDialog() == nullptr) new StartupOptionsDialog(main);
}

void ArchitectureWindow::SaveOptionsAsDefault() {
    SaveOptions();
}

void ArchitectureWindow::ShowLatestInformation() {
    const std::string text = std::string("You will find the latest information about QUIRAN,\na "
                                         "postscript manual, updates, sample architectures, "
                                         "...\nat the following WWW-address:\n\n") +
                             kInformationAddress;
    WindowMessage(GetMainWindow()->GetShell(), kMessageInfo, "Latest Information", text.c_str());
}

void ArchitectureWindow::ShowBugReportAddress() {
    const std::string text =
        std::string("Comments and suggestions are welcome!\n\nIf you have found a bug in "
                    "QUIRAN\nplease send a bug report to\n\n '") +
        kBugReportAddress + "'\n\nWe thank you for your support.";
    WindowMessage(GetMainWindow()->GetShell(), kMessageInfo, "Comments and bug reports",
                  text.c_str());
}

void ArchitectureWindow::OpenLibraryFile() {
    OpenDialog(*this, kLibraryFile, nullptr);
}

void ArchitectureWindow::SaveLibraryFile() {
    Save(*this, kLibraryFile, nullptr);
}

void ArchitectureWindow::SaveLibraryFileAs() {
    SaveAsDialog(*this, kLibraryFile, nullptr);
}

void ArchitectureWindow::CloseLibraryWindow() {
    GetMainWindow()->GetLibraryWindow()->Hide();
}

void ArchitectureWindow::CloseMacroWindow() {
    // A macro window is its macro element's modify window.
    if (auto* macro = dynamic_cast<AElement*>(this)) macro->CloseModifyWindow();
}

void ArchitectureWindow::ShowAboutWindow() {
    ShowAbout();
}

void NewArchitectureCallback(int cancelled, int x, int y, void* window) {
    if (cancelled || window == nullptr) return;
    static_cast<MainWindow*>(window)->New(x, y, 0);
}

void ToolButtonCrossingHandler(Widget, XtPointer helpText, XEvent* event, Boolean*) {
    MainWindow* main = GetMainWindow();
    if (main == nullptr || event == nullptr) return;
    if (event->type == EnterNotify) {
        main->SetFooterText(static_cast<const char*>(helpText));
    } else if (event->type == LeaveNotify) {
        main->SetFooterText("");
    }
}
