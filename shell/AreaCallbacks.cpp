#include "shell/AreaCallbacks.h"

#include <Xm/DrawingA.h>
#include <Xm/Xm.h>

#include "shell/ArchitectureWindow.h"

void CadAreaExposeCallback(Widget, XtPointer window, XtPointer callData) {
    auto* data = static_cast<XmDrawingAreaCallbackStruct*>(callData);
    if (data == nullptr || data->event == nullptr || data->event->type != Expose) return;
    const XExposeEvent& expose = data->event->xexpose;
    // Cleared first: the XOR wires are then drawn over a known ground.
    static_cast<ArchitectureWindow*>(window)->RedrawArea(
        1, expose.x, expose.y, expose.x + expose.width, expose.y + expose.height);
}

void ScrollCallback(Widget, XtPointer window, XtPointer) {
    static_cast<ArchitectureWindow*>(window)->OverviewScrolled();
}

void CadAreaEventHandler(Widget, XtPointer, XEvent*, Boolean*) {
    // Selecting, moving and connecting elements come with the working area's input handling;
    // until it is part of the program the area ignores input.
}
