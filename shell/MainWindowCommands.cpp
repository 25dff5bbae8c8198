#include "shell/MainWindowCommands.h"

#include <cstdlib>
#include <string>

#include "editors/ModifyTwoValuesDialog.h"
#include "model/elements/AElement.h"
#include "model/format/FileKind.h"
#include "shell/AboutWindow.h"
#include "shell/ClocksWindow.h"
#include "shell/CompilerSettingsDialog.h"
#include "shell/DefaultTimesDialog.h"
#include "shell/DirectoriesOptionsDialog.h"
#include "shell/FileSelection.h"
#include "shell/MainWindow.h"
#include "shell/Settings.h"
#include "shell/StartupOptionsDialog.h"
#include "shell/ToolBarIcons.h"
#include "shell/WindowMessage.h"

#ifndef QUIRAN_INFORMATION_ADDRESS
#define QUIRAN_INFORMATION_ADDRESS "http://quiran.example.org/"
#endif
#ifndef QUIRAN_BUG_REPORT_ADDRESS
#define QUIRAN_BUG_REPORT_ADDRESS "quiran-bugs@example.org"
#endif

const char* const kInformationAddress = QUIRAN_INFORMATION_ADDRESS;
const char* const kBugReportAddress = QUIRAN_BUG_REPORT_ADDRESS;

namespace {

// These rows are given to the main window's bars alone, so their window is the main window.
MainWindow& Main(ArchitectureWindow& window) {
    return static_cast<MainWindow&>(window);
}

void NewArchitectureAnswered(int cancelled, int x, int y, void* window) {
    if (cancelled || window == nullptr) return;
    static_cast<MainWindow*>(window)->New(x, y, 0);
}

void AskNewArchitecture(ArchitectureWindow& window) {
    MainWindow& main = Main(window);
    int width, height;
    AElement::GetDefaultPlaneSize(width, height);
    // Without a shell to ask over, the new architecture keeps the current plane size.
    if (main.GetShell() == nullptr) {
        NewArchitectureAnswered(0, width, height, &main);
        return;
    }
    // The dialog deletes itself once answered.
    new ModifyTwoValuesDialog(main.GetShell(), "New Architecture", "X-Dimension", width, 1, 99999,
                              "Y-Dimension", height, 1, 99999, NewArchitectureAnswered, &main, 0);
}

const CommandHandler OpenArchitecture = OpenFileCommand<kArchitectureFile>;
const CommandHandler SaveArchitecture = SaveFileCommand<kArchitectureFile>;
const CommandHandler SaveArchitectureAs = SaveFileAsCommand<kArchitectureFile>;

void QuitProgram(ArchitectureWindow& window) {
    if (Main(window).QueryQuit()) std::exit(0);
}

void ShowClocks(ArchitectureWindow& window) {
    Main(window).GetClocksWindow()->Show();
}

void SwitchSimulationBox(ArchitectureWindow& window) {
    Main(window).ToggleSimulationBox();
}

void SwitchElementList(ArchitectureWindow& window) {
    Main(window).ToggleElementList();
}

void OpenDefaultTimes(ArchitectureWindow& window) {
    MainWindow& main = Main(window);
    if (main.GetDefaultTimesDialog() == nullptr) new DefaultTimesDialog(&main);
}

void OpenCompilerSettings(ArchitectureWindow& window) {
    MainWindow& main = Main(window);
    if (main.GetCompilerSettingsDialog() == nullptr) new CompilerSettingsDialog(&main);
}

void OpenDirectories(ArchitectureWindow& window) {
    MainWindow& main = Main(window);
    if (main.GetDirectoriesDialog() == nullptr) new DirectoriesOptionsDialog(&main);
}

void OpenStartup(ArchitectureWindow& window) {
    MainWindow& main = Main(window);
    if (main.GetStartupDialog() == nullptr) new StartupOptionsDialog(&main);
}

void SaveOptionsAsDefault(ArchitectureWindow&) {
    SaveOptions();
}

void ShowLatestInformation(ArchitectureWindow& window) {
    const std::string text = std::string("You will find the latest information about QUIRAN,\na "
                                         "postscript manual, updates, sample architectures, "
                                         "...\nat the following WWW-address:\n\n") +
                             kInformationAddress;
    WindowMessage(Main(window).GetShell(), kMessageInfo, "Latest Information", text.c_str());
}

void ShowBugReportAddress(ArchitectureWindow& window) {
    const std::string text =
        std::string("Comments and suggestions are welcome!\n\nIf you have found a bug in "
                    "QUIRAN\nplease send a bug report to\n\n '") +
        kBugReportAddress + "'\n\nWe thank you for your support.";
    WindowMessage(Main(window).GetShell(), kMessageInfo, "Comments and bug reports", text.c_str());
}

void ShowAboutWindow(ArchitectureWindow&) {
    ShowAbout();
}

} // namespace

// clang-format off
const MenuRow kMainMenuRows[] = {
    {kMenuCascade,   "File",                     "F", nullptr,               kNoToggle},
    {kMenuPush,      "New...",                   "N", AskNewArchitecture,    kNoToggle},
    {kMenuSeparator, nullptr,                    "",  nullptr,               kNoToggle},
    {kMenuPush,      "Open...",                  "O", OpenArchitecture,      kNoToggle},
    {kMenuPush,      "Save...",                  "S", SaveArchitecture,      kNoToggle},
    {kMenuPush,      "Save As...",               "A", SaveArchitectureAs,    kNoToggle},
    {kMenuSeparator, nullptr,                    "",  nullptr,               kNoToggle},
    {kMenuPush,      "Quit",                     "Q", QuitProgram,           kNoToggle},
    {kMenuCascade,   "Edit",                     "E", nullptr,               kNoToggle},
    {kMenuPush,      "Delete",                   "D", DeleteCommand,         kNoToggle},
    {kMenuSeparator, nullptr,                    "",  nullptr,               kNoToggle},
    {kMenuPush,      "Edit Remarks...",          "E", nullptr,               kNoToggle},
    {kMenuCascade,   "Simulate",                 "S", nullptr,               kNoToggle},
    {kMenuPush,      "Clocks...",                "C", ShowClocks,            kNoToggle},
    {kMenuToggle,    "Simulate...",              "S", SwitchSimulationBox,   kCommandSimulate},
    {kMenuCascade,   "View",                     "V", nullptr,               kNoToggle},
    {kMenuToggle,    "Elementlist",              "E", SwitchElementList,     kCommandElementList},
    {kMenuToggle,    "Overview",                 "O", OverviewCommand,       kCommandOverview},
    {kMenuSeparator, nullptr,                    "",  nullptr,               kNoToggle},
    {kMenuToggle,    "Grid",                     "G", GridCommand,           kCommandGrid},
    {kMenuCascade,   "Options",                  "O", nullptr,               kNoToggle},
    {kMenuPush,      "Default Times...",         "T", OpenDefaultTimes,      kNoToggle},
    {kMenuPush,      "Compiler Settings...",     "C", OpenCompilerSettings,  kNoToggle},
    {kMenuPush,      "Working Area...",          "W", WorkingAreaCommand,    kNoToggle},
    {kMenuPush,      "Directories...",           "D", OpenDirectories,       kNoToggle},
    {kMenuPush,      "Startup...",               "u", OpenStartup,           kNoToggle},
    {kMenuSeparator, nullptr,                    "",  nullptr,               kNoToggle},
    {kMenuPush,      "Save as Default",          "S", SaveOptionsAsDefault,  kNoToggle},
    {kMenuCascade,   "Help",                     "H", nullptr,               kNoToggle},
    {kMenuPush,      "Latest Information",       "L", ShowLatestInformation, kNoToggle},
    {kMenuPush,      "Comments and bug reports", "C", ShowBugReportAddress,  kNoToggle},
    {kMenuSeparator, nullptr,                    "",  nullptr,               kNoToggle},
    {kMenuPush,      "About",                    "A", ShowAboutWindow,       kNoToggle},
};
const int kMainMenuRowCount = sizeof(kMainMenuRows) / sizeof(kMainMenuRows[0]);
// clang-format on

const ToolRow kMainToolRows[] = {
    {kToolPush, kNewIcon, "New architecture", AskNewArchitecture, kNoToggle},
    {kToolPush, kOpenIcon, "Open an architecture", OpenArchitecture, kNoToggle},
    {kToolPush, kSaveIcon, "Save the architecture", SaveArchitecture, kNoToggle},
    {kToolGap, nullptr, nullptr, nullptr, kNoToggle},
    {kToolPush, kDeleteIcon, "Delete marked elements", DeleteCommand, kNoToggle},
    {kToolGap, nullptr, nullptr, nullptr, kNoToggle},
    {kToolToggle, kElementListIcon, "Open/Close the 'Elementlist'-window", SwitchElementList,
     kCommandElementList},
    {kToolToggle, kOverviewIcon, "Open/Close the 'Overview'-window", OverviewCommand,
     kCommandOverview},
    {kToolToggle, kSimulateIcon, "Open/Close the 'Simulate'-window", SwitchSimulationBox,
     kCommandSimulate},
};
const int kMainToolRowCount = sizeof(kMainToolRows) / sizeof(kMainToolRows[0]);
