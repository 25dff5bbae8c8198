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

void AskNewArchitecture(MainWindow& main) {
    int width, height;
    AElement::GetDefaultPlaneSize(width, height);
    const TwoValuesQuestion question = {
        "New Architecture",      "X-Dimension", width, 1, 99999, "Y-Dimension", height, 1, 99999,
        NewArchitectureCallback, &main};
    ElementView* dialog =
        GetElementUi().CreateView({kTwoValuesView, nullptr, nullptr, 0, &question});
    // Without a number dialog the new architecture keeps the current plane size.
    if (dialog == nullptr) NewArchitectureCallback(0, width, height, &main);
}

} // namespace

void MenuCommandCallback(Widget widget, XtPointer code, XtPointer) {
    ArchitectureWindow* window = EntryWindow(widget);
    MainWindow* main = GetMainWindow();
    if (window == nullptr || main == nullptr) {
        std::cerr << "MenuCommandCallback: no window for the entry" << std::endl;
        return;
    }
    switch (static_cast<int>(reinterpret_cast<intptr_t>(code))) {
        case kCommandNew0:
        case kCommandNew:
            AskNewArchitecture(*main);
            break;
        case kCommandOpen:
            OpenDialog(*window, kArchitectureFile, nullptr);
            break;
        case kCommandSave:
            Save(*window, kArchitectureFile, nullptr);
            break;
        case kCommandSaveAs:
            SaveAsDialog(*window, kArchitectureFile, nullptr);
            break;
        case kCommandQuit:
            if (main->QueryQuit()) std::exit(0);
            break;
        case kCommandDelete:
            window->DeleteSelection();
            break;
        case kCommandClocks:
            main->GetClocksWindow()->Show();
            break;
        case kCommandSimulate:
            main->ToggleSimulationBox();
            break;
        case kCommandElementList:
            main->ToggleElementList();
            break;
        case kCommandOverview:
            window->ToggleOverview();
            break;
        case kCommandGrid:
            window->ToggleGrid();
            break;
        case kCommandDefaultTimes:
            if (main->GetDefaultTimesDialog() == nullptr) new DefaultTimesDialog(main);
            break;
        case kCommandCompilerSettings:
            if (main->GetCompilerSettingsDialog() == nullptr) new CompilerSettingsDialog(main);
            break;
        case kCommandWorkingArea:
            if (window->GetWorkingAreaOptionsDialog() == nullptr) {
                new WorkingAreaOptionsDialog(window);
            }
            break;
        case kCommandDirectories:
            if (main->GetDirectoriesDialog() == nullptr) new DirectoriesOptionsDialog(main);
            break;
        case kCommandStartup:
            if (main->GetStartupDialog() == nullptr) new StartupOptionsDialog(main);
            break;
        case kCommandSaveAsDefault:
            SaveOptions();
            break;
        case kCommandLatestInformation: {
            const std::string text =
                std::string("You will find the latest information about QUIRAN,\na postscript "
                            "manual, updates, sample architectures, ...\nat the following "
                            "WWW-address:\n\n") +
                kInformationAddress;
            WindowMessage(main->GetShell(), kMessageInfo, "Latest Information", text.c_str());
            break;
        }
        case kCommandBugReports: {
            const std::string text =
                std::string("Comments and suggestions are welcome!\n\nIf you have found a bug in "
                            "QUIRAN\nplease send a bug report to\n\n '") +
                kBugReportAddress + "'\n\nWe thank you for your support.";
            WindowMessage(main->GetShell(), kMessageInfo, "Comments and bug reports", text.c_str());
            break;
        }
        case kCommandLibraryOpen:
            OpenDialog(*window, kLibraryFile, nullptr);
            break;
        case kCommandLibrarySave:
            Save(*window, kLibraryFile, nullptr);
            break;
        case kCommandLibrarySaveAs:
            SaveAsDialog(*window, kLibraryFile, nullptr);
            break;
        case kCommandLibraryClose:
            main->GetLibraryWindow()->Hide();
            break;
        case kCommandMacroClose:
            // A macro window is its macro element's modify window.
            if (auto* macro = dynamic_cast<AElement*>(window)) macro->CloseModifyWindow();
            break;
        case kCommandAbout:
            ShowAbout();
            break;
        default:
            // Edit Remarks, Import and Export have no function.
            break;
    }
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
