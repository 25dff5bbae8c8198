#pragma once

// The callbacks of an architecture window's working area ("cad_area") and of its scrolled
// window; the client data is the ArchitectureWindow.

#include <X11/Intrinsic.h>

// Redraws the exposed rectangle completely: cleared, then grid, elements and connections, so
// that no wire segment is lost to the XOR drawing.
void CadAreaExposeCallback(Widget widget, XtPointer window, XtPointer callData);
// The overview follows the visible area.
void ScrollCallback(Widget widget, XtPointer window, XtPointer callData);
// Key presses, button presses and releases and pointer motion on the working area.
void CadAreaEventHandler(Widget widget, XtPointer window, XEvent* event, Boolean* go);
