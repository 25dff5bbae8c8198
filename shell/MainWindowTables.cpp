#include "shell/MainWindowTables.h"

#include "shell/MenuCommand.h"
#include "shell/ToolBarIcons.h"

// clang-format off
const MenuRow kMainMenuRows[] = {
    {kMenuCascade,   "File",                     "F", 0},
    {kMenuPush,      "New...",                   "N", kCommandNew},
    {kMenuSeparator, nullptr,                    nullptr, 0},
    {kMenuPush,      "Open...",                  "O", kCommandOpen},
    {kMenuPush,      "Save...",                  "S", kCommandSave},
    {kMenuPush,      "Save As...",               "A", kCommandSaveAs},
    {kMenuSeparator, nullptr,                    nullptr, 0},
    {kMenuPush,      "Quit",                     "Q", kCommandQuit},
    {kMenuCascade,   "Edit",                     "E", 0},
    {kMenuPush,      "Delete",                   "D", kCommandDelete},
    {kMenuSeparator, nullptr,                    nullptr, 0},
    {kMenuPush,      "Edit Remarks...",          "E", kCommandEditRemarks},
    {kMenuCascade,   "Simulate",                 "S", 0},
    {kMenuPush,      "Clocks...",                "C", kCommandClocks},
    {kMenuToggle,    "Simulate...",              "S", kCommandSimulate},
    {kMenuCascade,   "View",                     "V", 0},
    {kMenuToggle,    "Elementlist",              "E", kCommandElementList},
    {kMenuToggle,    "Overview",                 "O", kCommandOverview},
    {kMenuSeparator, nullptr,                    nullptr, 0},
    {kMenuToggle,    "Grid",                     "G", kCommandGrid},
    {kMenuCascade,   "Options",                  "O", 0},
    {kMenuPush,      "Default Times...",         "T", kCommandDefaultTimes},
    {kMenuPush,      "Compiler Settings...",     "C", kCommandCompilerSettings},
    {kMenuPush,      "Working Area...",          "W", kCommandWorkingArea},
    {kMenuPush,      "Directories...",           "D", kCommandDirectories},
    {kMenuPush,      "Startup...",               "u", kCommandStartup},
    {kMenuSeparator, nullptr,                    nullptr, 0},
    {kMenuPush,      "Save as Default",          "S", kCommandSaveAsDefault},
    {kMenuCascade,   "Help",                     "H", 0},
    {kMenuPush,      "Latest Information",       "L", kCommandLatestInformation},
    {kMenuPush,      "Comments and bug reports", "C", kCommandBugReports},
    {kMenuSeparator, nullptr,                    nullptr, 0},
    {kMenuPush,      "About",                    "A", kCommandAbout},
};
const int kMainMenuRowCount = sizeof(kMainMenuRows) / sizeof(kMainMenuRows[0]);

const ToolRow kMainToolRows[] = {
    {kToolPush,   kNewIcon,         "New architecture",                     kCommandNew},
    {kToolPush,   kOpenIcon,        "Open an architecture",                 kCommandOpen},
    {kToolPush,   kSaveIcon,        "Save the architecture",                kCommandSave},
    {kToolGap,    nullptr,          nullptr,                                0},
    {kToolPush,   kDeleteIcon,      "Delete marked elements",               kCommandDelete},
    {kToolGap,    nullptr,          nullptr,                                0},
    {kToolToggle, kElementListIcon, "Open/Close the 'Elementlist'-window",  kCommandElementList},
    {kToolToggle, kOverviewIcon,    "Open/Close the 'Overview'-window",     kCommandOverview},
    {kToolToggle, kSimulateIcon,    "Open/Close the 'Simulate'-window",     kCommandSimulate},
};
const int kMainToolRowCount = sizeof(kMainToolRows) / sizeof(kMainToolRows[0]);
// clang-format on
