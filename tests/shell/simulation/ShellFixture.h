#pragma once

// One main window per test process, made as start-up makes it (the program's fallback resources,
// the palette, the element drawing, the file dialog), with HOME in a fresh folder so that no
// settings file of the user is read. Message boxes are recorded and answered from a list instead
// of being shown.

#include <X11/Intrinsic.h>

#include <string>
#include <vector>

#include "toolkit/MessageKind.h"

class MainWindow;

struct ShellFixture {
    XtAppContext app = nullptr;
    Display* display = nullptr;
    Widget topLevel = nullptr;
    MainWindow* main = nullptr;
    std::string home; // the test's HOME, removed at exit
};

// Opened on first use; main is null when no X server could be reached.
ShellFixture& Shell();

// A shown message box: "title|text".
std::vector<std::string>& Messages();
// The answers for the next boxes, first first; an empty list answers Ok (and No to questions).
void Answer(std::vector<MessageResult> answers);

// Processes events for ms milliseconds, or until done() holds.
void RunFor(int ms);
void Flush();

// The architecture text read into the main window as from a file; 0 or the reader's error.
int LoadArchitecture(const std::string& text);

// The widget of the given name below parent (popup shells included); null when there is none.
Widget Find(Widget parent, const char* name);
// Every widget of the given name below parent (popup shells included), in creation order.
std::vector<Widget> FindAll(Widget parent, const char* name);
// What a window manager sends when the user closes the shell's window; handled at once.
void SendDeleteWindow(Widget shell);
// Activates a push button as a click does (its activate callbacks).
void Press(Widget button);
// Sets a toggle as a click does (with its value-changed callbacks).
void Toggle(Widget toggle, bool set);
// The text of a text field or of a ReadInt form's field.
std::string TextOf(Widget field);
void SetTextOf(Widget field, const char* text);
