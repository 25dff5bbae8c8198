#pragma once

// The "Working Area - Options" dialog: edits the grid of one architecture window (shown or not,
// the grid step in pixels, snapping to the grid). It works on a copy of the window's grid options
// taken when it opens. Every architecture window keeps a pointer to its open dialog; the dialog
// deletes itself on OK and Cancel and clears that pointer. It owns its shell.

#include <X11/Intrinsic.h>

class ArchitectureWindow;

class WorkingAreaOptionsDialog {
public:
    // Builds and shows the dialog over the owner's shell.
    explicit WorkingAreaOptionsDialog(ArchitectureWindow* owner);
    ~WorkingAreaOptionsDialog();
    WorkingAreaOptionsDialog(const WorkingAreaOptionsDialog&) = delete;
    WorkingAreaOptionsDialog& operator=(const WorkingAreaOptionsDialog&) = delete;

    // The toggles and fields to the owner's grid, which is redrawn; nothing happens while a field
    // holds no valid step. 1 when applied.
    int Apply();
    // Apply; the dialog goes when it applied.
    void Ok();
    void Cancel();
    // The step fields are usable exactly while the grid is on.
    void GridToggled();

    Widget GetShell() const { return shell; }
    Widget GetGridToggle() const { return gridToggle; }
    Widget GetRasterizeToggle() const { return rasterizeToggle; }
    Widget GetXField() const { return xField; }
    Widget GetYField() const { return yField; }

private:
    int gridVisible;
    int gridX; // pixels
    int gridY;
    int rasterize;
    Widget shell;
    Widget gridToggle;
    Widget xLabel;
    Widget yLabel;
    Widget xField; // ReadInt forms
    Widget yField;
    Widget rasterizeToggle;
    ArchitectureWindow* owner;
};
