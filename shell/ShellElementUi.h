#pragma once

// The shell's side of the model's window interface: the main window's scheduler and status
// words, message boxes over the top-level shell, working areas and other drawing widgets of
// architecture windows, the toolkit's display and graphics contexts, and the drag display. The
// editor windows (modify, show-data, name and number dialogs) are answered as by the null
// interface until the editors override those operations.

#include <X11/Intrinsic.h>

#include "model/elements/ElementUi.h"

class ShellElementUi : public NullElementUi {
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
    Window GetWidgetWindow(_WidgetRec* widget, Display*& display) override;
    Display* GetDisplay() override;
    GC CreateGC(ElementGCKind kind, Display* display) override;
    Display* GetDragDisplay() override;
    Window GetDragRootWindow() override;
    GC GetDragRootGC() override;

    Widget GetTopLevel() const { return topLevel; }

private:
    Widget topLevel;
};
