#pragma once

// One main window per test process (tests/support/gui/ShellGui.h: made as start-up makes it, with
// HOME in a fresh folder so that no settings file of the user is read). Message boxes are
// recorded and answered from a list instead of being shown; bells are counted, not rung.

#include <X11/Intrinsic.h>

#include <string>
#include <vector>

#include "model/elements/MessageKind.h"
#include "tests/support/gui/GuiDisplay.h"
#include "tests/support/gui/GuiWidgets.h"
#include "tests/support/gui/ShellGui.h"

using ShellFixture = testgui::ShellGui;

// Opened on first use; main is null when no X server could be reached.
ShellFixture& Shell();

// A shown message box: "title|text".
using testgui::Messages;
// The answers for the next boxes, first first; an empty list answers Ok (and No to questions).
void Answer(std::vector<MessageResult> answers);

// Processes events for ms milliseconds; sends everything to the server and handles all that is
// pending.
using testgui::RunFor;
inline void Flush() {
    testgui::FlushAll();
}

// The architecture text read into the main window as from a file; 0 or the reader's error.
int LoadArchitecture(const std::string& text);

// The widget of the given name below parent (popup shells included); null when there is none.
using testgui::Find;
// Every widget of the given name below parent (popup shells included), in creation order.
using testgui::FindAll;
// What a window manager sends when the user closes the shell's window; handled at once.
inline void SendDeleteWindow(Widget shell) {
    testgui::SendDeleteWindow(shell);
    Flush();
}
// Activates a push button as a click does (its activate callbacks).
using testgui::Press;
// Sets a toggle as a click does (with its value-changed callbacks).
void Toggle(Widget toggle, bool set);
// The text of a text field or of a ReadInt form's field.
using testgui::SetTextOf;
using testgui::TextOf;
