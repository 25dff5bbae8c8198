#pragma once

// The one main window of a shell test process, built as start-up builds it: HOME in a fresh
// folder below /tmp (so that no settings file of the user is read; removed at exit when nothing
// else is left in it), the drag display, the toolkit's display with the program's fallback
// resources, the shell's element interface and editor host, the palette, the stipple and the
// contexts, the drop atoms, the repeat timer, the file dialog, the element drawing, the overview's
// cursor, and the main window realized and shown. And the message boxes of such a process,
// recorded and answered instead of shown.

#include <X11/Intrinsic.h>

#include <deque>
#include <string>
#include <vector>

#include "model/elements/MessageKind.h"
#include "shell/ArchitectureWindow.h"

class MainWindow;

namespace testgui {

struct ShellGui {
    XtAppContext app = nullptr;
    Display* display = nullptr;
    Widget topLevel = nullptr;
    MainWindow* main = nullptr; // null when no X server could be reached
    std::string home;
};

// Opened on first use.
ShellGui& TheShellGui();

// The main window emptied and unmodified, the clocks reset, and the message boxes of both the
// windows and the file dialogs recorded from none, with no answer queued and No for the rest;
// null when no X server could be reached.
MainWindow* CleanMainWindow();

// A new element of type T with its data at (x, y) on the window's working area.
template <typename T> T* AddElement(ArchitectureWindow* window, int x, int y) {
    T* element = new T(window, x, y);
    element->CreateData();
    element->SetOwner(window);
    window->GetElements().Add(element);
    return element;
}

// The message boxes shown since the test cleared the list, "title|text" each.
std::vector<std::string>& Messages();
// The answers of the next boxes, first first.
std::deque<MessageResult>& QueuedAnswers();
// The answer once the queue is empty; kResultNone answers by kind: No to a question, else Ok.
MessageResult& FallbackAnswer();
// A message function of the windows and the file dialogs that records the box and answers it.
MessageResult RecordMessage(Widget parent, MessageKind kind, const char* title, const char* text);

} // namespace testgui
