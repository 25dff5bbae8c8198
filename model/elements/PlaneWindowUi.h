#pragma once

// What INPUT and OUTPUT elements need of their open plane window: after every simulation step
// it records the plane the element's stack received and shows it, and after a reset it reloads
// the stack. The editors implement it; until they install theirs nothing is done, so that the
// model runs without a display. Tests install a fake.

class AElementModifyWindow;

class PlaneWindowUi {
public:
    virtual ~PlaneWindowUi() = default;

    // APlaneModifyWindow::RecordPlane: the element's input plane 0 is pushed into the window's
    // stack, as into the element's own.
    virtual void RecordPlane(AElementModifyWindow* window) = 0;
    // APlaneModifyWindow::ShowPlane; quiet leaves the dimensions and the view icon alone.
    virtual void ShowPlane(AElementModifyWindow* window, int quiet) = 0;
    // APlaneModifyWindow::ReloadStack: the window's stack := the element's (after a reset).
    virtual void ReloadStack(AElementModifyWindow* window) = 0;
};

// The installed interface, or null while none is.
PlaneWindowUi* GetPlaneWindowUi();
void SetPlaneWindowUi(PlaneWindowUi* ui);
