#pragma once

// The input of every architecture window's working area ("cad_area"): selecting by click, Shift
// and rubber band, the Delete and BackSpace keys, the popup menus, the working-area options on the
// middle button, the name and comment of the element under the pointer in the footer, pin
// highlighting, and the start of drags of elements (move, or copy with Ctrl) and of connection
// ends. The state is kept for all windows together: there is one user and one pointer.

#include <X11/Intrinsic.h>

#include <string>

class AElement;
class ArchitectureWindow;

// One event of the working area of the window.
void HandleWorkingAreaEvent(ArchitectureWindow& window, Widget area, XEvent& event);

// The footer text for the element under the pointer: its name, ": " only when both name and
// comment are non-empty, and its comment.
std::string ElementFooterText(const AElement& element);

// 1 while a rubber band is being drawn, or while a button-1 press on an element waits for the
// first motion (armed).
int IsRubberBandActive();
int IsDragArmed();
// Forgets everything the handler remembers of the element (it is going).
void ForgetWorkingAreaElement(const AElement* element);
