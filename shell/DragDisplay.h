#pragma once

// The second display connection, on which drag feedback is drawn across every window of the
// screen: opened at start-up before the toolkit opens its own, kept for the whole run.

#include <X11/Xlib.h>

// Opens the connection to the display named by a "-display" argument, else by DISPLAY; records
// its default screen and root window and makes the root context (IncludeInferiors). When the
// display cannot be opened, writes "QUIRAN: cannot connect to X server " and the display name to
// the standard error stream and exits with status 1.
void OpenDragDisplay(int argc, char** argv);

// The display name OpenDragDisplay uses: the value after the last "-display", else null (the
// DISPLAY variable).
const char* DragDisplayName(int argc, char** argv);

// Null (0) until OpenDragDisplay.
Display* GetDragDisplay();
Window GetDragRootWindow();
GC GetDragRootGC();
