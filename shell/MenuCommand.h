#pragma once

// The command codes 0..30 of every architecture window's menus and tool bars, their callback
// (the window's RunCommand carries the command out), the result of the "New Architecture" dialog
// and the help texts of the tool buttons. Every entry carries its code as client data; the window
// is the userData of the entry's parent (the pulldown menu or the tool-bar row column).

#include <X11/Intrinsic.h>

enum CommandCode : int {
    kCommandNew0 = 0,
    kCommandNew = 1,
    kCommandOpen = 2,
    kCommandSave = 3,
    kCommandSaveAs = 4,
    kCommandQuit = 5,
    kCommandDelete = 6,
    kCommandEditRemarks = 7,
    kCommandClocks = 8,
    kCommandSimulate = 9,
    kCommandElementList = 10,
    kCommandOverview = 11,
    kCommandGrid = 12,
    kCommandDefaultTimes = 13,
    kCommandCompilerSettings = 14,
    kCommandWorkingArea = 15,
    kCommandDirectories = 16,
    kCommandStartup = 17,
    kCommandSaveAsDefault = 18,
    kCommandLatestInformation = 21,
    kCommandBugReports = 22,
    kCommandAbout = 23,
    kCommandLibraryOpen = 24,
    kCommandLibrarySave = 25,
    kCommandLibrarySaveAs = 26,
    kCommandLibraryClose = 27,
    kCommandImportArchitecture = 28,
    kCommandExportArchitecture = 29,
    kCommandMacroClose = 30,
};

// The maker's addresses shown by the Help entries.
extern const char* const kInformationAddress;
extern const char* const kBugReportAddress;

// client data: the command code.
void MenuCommandCallback(Widget widget, XtPointer code, XtPointer callData);
// Unless cancelled, a new architecture of x by y cells (the main window asks first).
void NewArchitectureCallback(int cancelled, int x, int y, void* window);
// EnterNotify shows the help text (client data) in the main window's footer, LeaveNotify clears
// it.
void ToolButtonCrossingHandler(Widget widget, XtPointer helpText, XEvent* event, Boolean* go);
