#pragma once

// Finding the widgets of a GUI test's windows and driving them as a user does: lookups by name,
// label and popup, what a label or field shows, buttons, text fields, synthetic events, the
// window manager's close and real input through the server.

#include <X11/Intrinsic.h>

#include <string>
#include <vector>

namespace testgui {

// The label's (or button's) text, lines joined with "\n".
std::string LabelText(Widget label);
// The named child (XtNameToWidget path) or null.
Widget Child(Widget parent, const char* path);
// The push button labelled text below parent (parent itself included), or null.
Widget ButtonLabelled(Widget parent, const char* text);
// Every widget of the given name below parent (popup shells included), in creation order, and the
// first of them or null.
std::vector<Widget> FindAll(Widget parent, const char* name);
Widget Find(Widget parent, const char* name);
// The live popup shells of the given name of parent.
std::vector<Widget> PopupsNamed(Widget parent, const char* name);
// Whether a shell widget still exists (it is among the live popups of parent), and how many do.
bool IsLivePopup(Widget parent, Widget shell);
int PopupCount(Widget parent);
// Whether the widget's window is mapped and viewable.
bool IsShown(Widget widget);

// Activates a push button as a click does: its activate callbacks inside an event's dispatch, or
// (Press) called at once.
void Click(Widget button);
void Press(Widget button);

// The text of a text field or of a ReadInt form's field, and typing one in its place.
std::string TextOf(Widget field);
void SetTextOf(Widget field, const char* text);

// Synthetic events for driving widgets through their actions. Button 1 at (x, y) of w (the
// release with the button held); a key; a focus change as a window manager's arrives.
XEvent ButtonEvent(Widget w, int type, int x = 2, int y = 2);
XEvent KeyEvent(Widget w, unsigned long keysym);
XEvent FocusEvent(Widget w, int type);
// The pointer at (x, y) of w, moving with the buttons and modifiers of state, or entering or
// leaving (type) with detail.
XEvent MotionEvent(Widget w, int x, int y, unsigned int state = 0);
XEvent CrossingEvent(Widget w, int type, int x, int y, int detail = 0);
// Runs action on widget through XtCallActionProc with event.
void CallAction(Widget w, const char* action, XEvent* event, const char* param = nullptr);
// Return in a text field (Integer_Text of a ReadInt, or a plain text field), inside a dispatch.
void PressReturn(Widget text);
// Types one key at the end of a text field, as the keyboard does.
void TypeKey(Widget text, unsigned long keysym);
// The keyboard focus leaves a text field.
void LoseFocus(Widget text);

// What a window manager sends to a shell when the user closes its window; sent, not handled.
void SendDeleteWindow(Widget shell);
// The same, handled at once (Flush).
void SendClose(Widget shell);

// Input through the server, as a user gives it: a click of button 1 in the middle of w (the
// pointer is moved there first), and a text field (or a ReadInt form's field) emptied and typed
// into at the keyboard after a click into it. Both return once the events are handled; false when
// xdotool failed or the text did not come.
bool RealClick(Widget w);
// A click of button 1 at pixel (x, y) of w.
bool RealClickAt(Widget w, int x, int y);
bool RealTypeInto(Widget field, const char* typed);
// Keys (xdotool key names, such as "Escape", "Tab" or "1 0 2 4") pressed at the keyboard while
// the shell's window has the input focus; returns once they are handled, false when xdotool
// failed.
bool RealKeys(Widget shell, const char* keys);
// How often button was activated while keys were pressed as RealKeys presses them and what they
// brought was handled by flush (Flush or FlushAll); keysPressed says whether xdotool pressed them.
// The shell and the button may go with the keys.
int ActivationsByKeys(Widget shell, Widget button, const char* keys, void (*flush)(),
                      bool& keysPressed);

} // namespace testgui
