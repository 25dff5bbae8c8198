#pragma once

// The mask editor: the modify window of a MASK element, and the window that the RULE window's
// "Mask" button opens on the mask of its working copy. It owns a working copy of the mask it
// edits, shows it as a zoomable grid whose cells a click or a drag toggles, sets or clears all
// cells, and saves the mask to or loads it from a matrix file. OK and Apply store the copy into
// the mask it was opened for: the MASK element's data, or the RULE window's working copy, which
// that window's own OK or Apply then commits.
//
// For a RULE element the window opens with, and stores back, the RULE's own mask-window size and
// zoom. The window is also the argument of its matrix loads, so that the grid shows a loaded
// matrix at once; the file dialog goes with the working copy's matrix, never outliving it.

#include <X11/Intrinsic.h>

#include <memory>

#include "editors/AElementModifyWindow.h"
#include "model/elements/AMaskElem.h"
#include "model/format/LoadSaveObject.h"

// The pointer input of a matrix grid: whether its position label shows a cell, and the cell the
// pointer last met (-1, -1 before any).
struct GridPointer {
    int labelShown = 0;
    int lastX = -1;
    int lastY = -1;
};

// What one pointer event on a grid asks for; at most one of show and clear.
struct GridPointerStep {
    bool toggle; // toggle the cell (x, y) of the event
    bool show;   // the label shows "x,y"
    bool clear;  // the label is blanked
};

// The rule that every matrix editor follows: a press on a cell toggles it; moving onto another
// cell shows it and, while any button or modifier is held (state non-zero), toggles it; leaving
// the cells or the window blanks the label. eventType is ButtonPress, MotionNotify or
// LeaveNotify; onCell and (x, y) come from Matrix::PixelToCell. Updates the pointer record.
GridPointerStep StepGridPointer(GridPointer& pointer, int eventType, int onCell, int x, int y,
                                unsigned int state);

class AMaskModifyWindow : public AElementModifyWindow, public FileArgument {
public:
    // Edits a copy of maskData for element (a MASK element and its data, or a RULE element and its
    // window's working copy of the mask); stores itself in *slot and shows itself.
    AMaskModifyWindow(D_MaskElem* maskData, AElement* element, AElementModifyWindow** slot);
    // A RULE's mask-window size and zoom are stored back; the working copy goes.
    ~AMaskModifyWindow() override;

    // The maker the editors register for MASK elements: data is the element's D_MaskElem.
    static void Make(AElement& element, FileArgument* data, AElementModifyWindow** slot);

    // Fits the drawing area to the mask and draws it anew.
    void RefreshModifyWindow() override;
    // A matrix file was read into the working copy.
    void RefreshAfterRead() override;

    void DrawMask(int clear);
    void ToggleCell(int x, int y);
    void ResizeDrawArea();

    // The buttons and the zoom scale.
    void SetAll();
    void UnsetAll();
    void SaveAsMatrix();
    void LoadAsMatrix();
    void ZoomChanged(int value);

    // Events of the drawing area.
    void PointerEvent(XEvent* event);
    void Exposed(XEvent* event);

    const D_MaskElem& GetWorkingCopy() const { return *workingCopy; }
    Widget GetDrawArea() const { return draw; }
    Widget GetDrawWindow() const { return draw_window; }
    Widget GetPosLabel() const { return pos_label; }
    Widget GetZoomScale() const { return zoomScale; }

protected:
    void StoreCopy() override;

private:
    void BuildWidgets();

    D_MaskElem* maskData;                    // not owned: where OK and Apply write
    std::unique_ptr<D_MaskElem> workingCopy; // all editing changes only this
    Widget draw_window;
    Widget draw;
    Widget pos_label;
    Widget zoomScale;
    GridPointer pointer;
};
