#pragma once

// What the model knows of a window or dialog that shows one element: the element holds it through
// this base and deletes it through the virtual destructor; the window tells the element with
// AElement::DetachView when it goes by itself (its Close, Cancel, the window-manager close). The
// editors' windows and dialogs derive from it; every hook does nothing unless the kind of window
// has that part.

#include <vector>

class Matrix;

// The kinds of views an element asks the installed ElementUi for.
enum ElementViewKind : int {
    kModifyView,        // the type's modify window on a data object
    kShowDataView,      // a show-data window: index 0 all outputs, k output k - 1
    kSetNameView,       // "Set Name - <type>"
    kTwoValuesView,     // a two-value number dialog: the element's "Change Dimension"
    kPermDimensionView, // the PERM element's four-value dimension dialog
    kExternalDataView,  // the LOGIC element's "Modify - External Data" window
};

class ElementView {
public:
    virtual ~ElementView() = default;

    // Shows the window again, raised (a second Modify or Show Data).
    virtual void Raise() {}
    // Shows the element's current contents again: a modify window after a matrix was loaded into
    // its editor, a show-data window after a simulation step (while it updates).
    virtual void Refresh() {}
    // Rebuilds from the element: a modify window after its data object was read anew, a show-data
    // window after the element's outputs changed.
    virtual void Rebuild() {}
    // A show-data window of one output: a lower output was removed, so its output is now number
    // output (1-based) and the element holds it in that slot.
    virtual void MoveToOutput(int /*output*/) {}

    // The plane window of INPUT and OUTPUT elements: records the element's input plane 0 in its
    // stack after a step, shows the current plane (quiet leaves the dimensions and the view icon
    // alone), and takes the element's stack again after a reset.
    virtual void RecordPlane() {}
    virtual void ShowPlane(int /*quiet*/) {}
    virtual void ReloadStack() {}

    // The external-data window: it refers to the new matrix and keeps its unapplied edits, column
    // k those of its column columns[k] (-1 for a new name).
    virtual void SetExternalData(Matrix* /*externalData*/, const std::vector<int>& /*columns*/) {}
};

// Deletes the view a holder keeps and clears the holder's pointer first, so that the view's own
// detaching finds nothing left to clear.
inline void DeleteView(ElementView*& view) {
    ElementView* going = view;
    view = nullptr;
    delete going;
}
