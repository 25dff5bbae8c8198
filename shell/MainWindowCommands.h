#pragma once

// The main window's menu bar and tool bar, and the commands of their entries that act on the main
// window and the parts it owns (its file, the clocks, the simulation box, the element list, the
// option dialogs, Quit, the Help boxes).

#include "shell/MenuCommand.h"

extern const MenuRow kMainMenuRows[];
extern const int kMainMenuRowCount; // 33
extern const ToolRow kMainToolRows[];
extern const int kMainToolRowCount; // 9

// The maker's addresses shown by the Help entries.
extern const char* const kInformationAddress;
extern const char* const kBugReportAddress;
