#pragma once

// The main window's menu bar and tool bar.

#include "shell/ArchitectureWindow.h"

extern const MenuRow kMainMenuRows[];
extern const int kMainMenuRowCount; // 33
extern const ToolRow kMainToolRows[];
extern const int kMainToolRowCount; // 9
