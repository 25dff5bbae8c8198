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
#include "editors/MatrixGridView.h"
#include "model/elements/AMaskElem.h"
#include "model/format/LoadSaveObject.h"

class AMaskModifyWindow : public AElementModifyWindow, public FileArgument {
public:
    // Edits a copy of maskData for element (a MASK element and its data, or a RULE element and its
    // window's working copy of the mask, which keeps the window in *editorSlot) and shows itself.
    AMaskModifyWindow(D_MaskElem* maskData, AElement* element,
                      AElementModifyWindow** editorSlot = nullptr);
    // A RULE's mask-window size and zoom are stored back; the working copy goes.
    ~AMaskModifyWindow() override;

    // The maker the editors register for MASK elements: data is the element's D_MaskElem.
    static ElementView* Make(AElement& element, FileArgument* data);

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
    bool CopyDiffersFromTarget() const override;

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
