#pragma once

// The process-wide state that start-up creates and every window uses: the top-level application
// shell and the Xt application context (the main window's pointer is in MainWindow.h), the
// window-manager close, the warning filter, the application icon, and the pure pieces of the
// command-line handling. The start-up sequence itself is main (shell/main.cpp).

#include <X11/Intrinsic.h>

class MainWindow;

// The top-level shell and the application context of the toolkit; null before start-up made them.
Widget GetTopLevelShell();
XtAppContext GetAppContext();
// Start-up stores them once the toolkit is up (tests that open their own display do the same).
void SetTopLevelShell(Widget shell, XtAppContext app);

// True when one of argv[1..argc-1] is exactly "--original_motif" (no longer, no shorter).
bool HasOriginalMotifOption(int argc, char** argv);

// The first of argv[1..argc-1] that does not begin with '-', or null.
const char* FirstFileArgument(int argc, char** argv);

// The window-manager close of the top-level shell: quits when the main window agrees.
void QuitCallback(Widget widget, XtPointer client, XtPointer call);

// The Xt warning handler: drops the two grab warnings the toolkit raises needlessly and writes
// every other message unchanged (no newline added) to the standard error stream.
void XtWarningFilter(String message);
// True for a message that XtWarningFilter drops.
bool IsSuppressedXtWarning(const char* message);

// Gives the top-level shell its 48 x 48 icon.
void SetApplicationIcon();

// The main window on the top-level shell, made the program's one, realized and scrolled to the
// middle of its working area.
MainWindow* OpenMainWindow(Widget topLevel);
