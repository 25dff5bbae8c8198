#include "shell/AreaCallbacks.h"

#include <Xm/DrawingA.h>
#include <Xm/Xm.h>

#include "shell/ArchitectureWindow.h"
#include "shell/WorkingAreaInput.h"

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

void CadAreaEventHandler(Widget widget, XtPointer window, XEvent* event, Boolean*) {
    if (window == nullptr || event == nullptr) return;
    HandleWorkingAreaEvent(*static_cast<ArchitectureWindow*>(window), widget, *event);
}
