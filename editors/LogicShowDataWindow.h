#pragma once

// The show-data window of a LOGIC element: the window of all its outputs, with the grid of its
// processing elements (PEs) over output 0 and the internal data of the PE under the pointer.
// Moving over a cell outlines its PE and names the cell's PE data; the "Internal Data of PE:"
// area below the panes shows that PE's internal state bits as they are now, also while the
// display is frozen, and names the bit under the pointer.
//
// The PE is remembered by its number, and its state is fetched from the element at every
// drawing, so that a store or a load that replaces the state never leaves the window with a
// stale matrix.

#include <X11/Intrinsic.h>

#include "editors/ShowDataWindow.h"
#include "model/elements/ElementUi.h"

class ALogicElem;

class LogicShowDataWindow : public ShowDataWindow {
public:
    // Always all outputs; reads the PE dimension and takes PE 0's internal data.
    LogicShowDataWindow(ALogicElem* element, ShowDataGeometry& geometry);
    // The view maker of the LOGIC type: the window of a LOGIC element, built and shown.
    static ElementView* Make(AElement& element, const ViewRequest& request);

    // The element's data changed: the PE dimension is read anew and PE 0 shown.
    void Rebuild() override;
    // Index 0 is output 0, index 1 the internal data; -1 both.
    void Redraw(int index, int clear) override;
    void ResizeDrawAreas() override;
    void CreateExtraWidgets() override;
    void LayoutExtra() override;
    void PointerMoved(Widget area, int x, int y, int inside) override;
    void FitLabels() override;

    // Pointer events of the internal-data area.
    void InternalPointerEvent(XEvent* event);

    // The internal data of the current PE as the element holds it now; null for none.
    const Matrix* GetInternalData() const;
    int GetCurrentPE() const { return currentPE; }
    int IsDefined() const { return defined; }
    Widget GetIntLabel() const { return int_label; }
    Widget GetIntDrawArea() const { return int_drawarea; }

private:
    // The PE dimension of the element's data; defined 0 while it has none.
    void ReadPEDimension();
    void EraseOutline();

    Widget int_label;
    Widget int_drawarea;
    int peWidth; // pixels of a PE
    int peHeight;
    int defined;
    int currentPE; // the PE whose internal data is shown, -1 for none
    int originX;   // lower left cell of the outlined PE, -1 for none
    int originY;
    int internalCell;         // the internal bit under the pointer, -1 for none
    ALogicElem* logicElement; // the element, as a LOGIC element
};
