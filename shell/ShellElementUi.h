#pragma once

// The shell's side of the model's window interface: the main window's scheduler and status
// words, message boxes over the top-level shell, working areas and other drawing widgets of
// architecture windows, the toolkit's display and graphics contexts, and the drag display; the
// editor windows (modify, show-data, name and number dialogs) come from the editors' half it
// derives from. It is also what the editor windows need of the shell: the shells that parent an
// element's windows and the shared file dialog.

#include <X11/Intrinsic.h>

#include "editors/EditorElementUi.h"
#include "editors/EditorHost.h"

class ShellElementUi : public EditorElementUi, public EditorHost {
public:
    // The top-level shell: parent of message boxes and source of the display.
    explicit ShellElementUi(Widget topLevel);

    void Schedule(SimTime time, AElement* element) override;
    // Also forgets the element wherever the windows remember it (pin highlight).
    void RemoveFromQueue(AElement* element) override;
    SimTime GetSimulationTime() override;
    void SetBusy(const char* word) override;
    void SetReady() override;
    int Ask(MessageKind kind, const char* title, const char* text) override;
    void UpdateDisplay() override;
    void Redraw(Architecture* owner, int clear, int x1, int y1, int x2, int y2) override;
    Window GetWorkingArea(Architecture* owner, Display*& display) override;
    ElementScreens GetScreens() override;
    GC CreateGC(ElementGCKind kind, Display* display) override;

    // The shell of the element's owner window; the top-level shell when it has none.
    Widget GetElementShell(const AElement& element) override;
    Widget GetTopLevel() override { return topLevel; }
    void OpenFile(LoadSaveObject& object, FileKind kind, FileArgument* argument) override;
    void SaveFileAs(LoadSaveObject& object, FileKind kind, FileArgument* argument) override;

private:
    Widget topLevel;
};

// While one of these lives, the elements' UpdateDisplay does nothing: deleting a whole
// architecture flushes the display once instead of once per element (a round trip each).
class HeldDisplayUpdates {
public:
    HeldDisplayUpdates();
    ~HeldDisplayUpdates();
    HeldDisplayUpdates(const HeldDisplayUpdates&) = delete;
    HeldDisplayUpdates& operator=(const HeldDisplayUpdates&) = delete;
};

// The widget's display and window, for an element that draws on it (a palette); none for null.
DrawingTarget WidgetTarget(Widget widget);

// Makes the one shell interface for the top-level shell and installs it as the model's window
// interface and as the editors' host (start-up).
ShellElementUi* InstallShellElementUi(Widget topLevel);
