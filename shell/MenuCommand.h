#pragma once

// The rows of the menu bars and tool bars of architecture windows: each row carries the command
// it runs on the window whose bar holds it (the userData of the entry's parent, the pulldown menu
// or the tool-bar row column). Also the commands every kind of window shares and the toggles a
// window keeps in step with its state.

#include <X11/Intrinsic.h>

#include "model/format/FileKind.h"

class ArchitectureWindow;

// A command of a menu entry or tool button, run on the window of the bar.
using CommandHandler = void (*)(ArchitectureWindow& window);

// The toggle entries and buttons a window sets when its state changes by other ways than the
// entry itself; kNoToggle for every other row.
enum ToggleCode : int {
    kNoToggle = 0,
    kCommandSimulate = 9,
    kCommandElementList = 10,
    kCommandOverview = 11,
    kCommandGrid = 12,
};
const int kToggleLimit = 13; // toggle codes lie below this

// One row of a menu-bar table.
enum MenuRowKind : int {
    kMenuCascade = 0, // opens a pulldown; the entries below go into it
    kMenuPush = 1,
    kMenuToggle = 2,
    kMenuSeparator = 3,
};

// The entry's callback refers to its row: a table lives as long as the program.
struct MenuRow {
    int kind;
    const char* label; // the widget name is the label without its trailing dots
    const char* mnemonic;
    CommandHandler run; // null: the entry does nothing
    int toggle;
};

// One row of a tool-bar table.
enum ToolRowKind : int {
    kToolPush = 1,
    kToolToggle = 2,
    kToolGap = 3,
};

struct ToolRow {
    int kind;
    const char* const* icon; // XPM data, 22 x 22
    const char* help;        // shown in the window's footer while the pointer is over it
    CommandHandler run;
    int toggle;
};

// The toggle widgets of a window's bars: [code][0] the menu entry, [code][1] the tool button.
using ToggleWidgets = Widget[kToggleLimit][2];

// The one builder of each kind of bar: the window is the userData of the bar and of every
// pulldown (where the entries' callbacks find it), toggle rows record their widgets.
Widget CreateMenuBar(Widget parent, const MenuRow* rows, int count, ArchitectureWindow* window,
                     ToggleWidgets& toggles);
Widget CreateToolBar(Widget parent, const ToolRow* rows, int count, ArchitectureWindow* window,
                     ToggleWidgets& toggles);

// The commands every architecture window's bars may hold.
void DeleteCommand(ArchitectureWindow& window);
void OverviewCommand(ArchitectureWindow& window);
void GridCommand(ArchitectureWindow& window);
void WorkingAreaCommand(ArchitectureWindow& window);
// Open..., Save... and Save As... of the window's own file, which is of the kind; made for
// architecture and library files.
template <FileKind kind> void OpenFileCommand(ArchitectureWindow& window);
template <FileKind kind> void SaveFileCommand(ArchitectureWindow& window);
template <FileKind kind> void SaveFileAsCommand(ArchitectureWindow& window);

// Runs the command on the window; nothing runs before the main window exists, since commands
// may reach its parts.
void RunWindowCommand(ArchitectureWindow& window, CommandHandler run);
// client data: the CommandHandler of the entry's row.
void MenuCommandCallback(Widget widget, XtPointer run, XtPointer callData);
// EnterNotify shows the help text (client data) in the footer of the tool bar's window,
// LeaveNotify clears it.
void ToolButtonCrossingHandler(Widget widget, XtPointer helpText, XEvent* event, Boolean* go);
