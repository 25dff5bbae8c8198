#pragma once

// The rules a drop on a working area must pass, and the copy of a selection with the
// connections among its elements, as plain functions over the model: no window and no display.
// The drag-and-drop code applies them in the order CheckElementDrop and CheckConnectionEndDrop
// give; the first rule that fails refuses the drop.

#include "model/data/PtrArray.h"

class AElement;
class AHelpElem;
class Architecture;
class Connection;

enum DropVerdict : int {
    kDropAccepted = 0,
    kDropNoReference,      // nothing to snap: the drag list is empty
    kDropOverlap,          // a dragged element overlaps an element of the destination
    kDropOutsideArea,      // a dragged element reaches beyond the working area
    kDropMacroIntoItself,  // a macro into its own window or one nested in it
    kDropPortOutsideMacro, // a macro port into a window that is not a macro window
    kDropOtherWindow,      // a connection end onto another window than the one it is drawn in
    kDropNoElement,        // no element under a connection end
    kDropNoPin,
    kDropPinBusy,
    kDropWrongDirection, // an input end on an output pin or the other way round
    kDropPlaneSize,      // the pin's plane differs from the plane at the fixed end
};

// The grid snap's reference: the first element whose width is at least its grab x offset and
// whose height is at least its grab y offset, else the first; -1 for an empty list.
int FindReferenceElement(const PtrArray<AElement>& dragged);
// Moves the whole group so that the reference element lands on a grid point (remainders
// truncate toward zero); 0 for an empty list, which refuses the drop, else 1.
int SnapToGrid(const PtrArray<AElement>& dragged, int gridX, int gridY);
// 1 when every element lies inside the area: x, y >= 0, x + width <= areaWidth, y + height <=
// areaHeight.
int LiesInsideArea(const PtrArray<AElement>& dragged, int areaWidth, int areaHeight);
// 1 when window is a macro's architecture and other is it or one of the macros enclosing it, or
// other lies in one of window's MACRO elements at any depth.
int ContainsArchitecture(const Architecture* window, const Architecture* other);
// 1 when a dragged MACRO element would end up inside itself in the destination.
int PutsMacroIntoItself(const Architecture& destination, const PtrArray<AElement>& dragged);
// 1 for a MACRO_INPUT or MACRO_OUTPUT element.
int IsMacroPort(const AElement& element);

// Drops a group of elements (a copy or a move) at (x, y) of the destination: every element is
// placed at the point minus its grab offset, snapped when rasterize is set, and the group is
// checked against the destination. sameWindow: the drag started in the destination.
DropVerdict CheckElementDrop(const Architecture& destination, const PtrArray<AElement>& dragged,
                             int x, int y, int rasterize, int gridX, int gridY, int areaWidth,
                             int areaHeight, int sameWindow);

// Drops the loose end of a connection at (x, y) of the window it is drawn in (source); pin is
// the code it lands on when accepted.
DropVerdict CheckConnectionEndDrop(const Architecture& source, const Architecture& destination,
                                   const AHelpElem& end, int x, int y, AElement*& element,
                                   int& pin);

// The clones of a selection for a copy drag, in selection order: for every selected element that
// is not a macro port, every input connection whose source is selected too and is not a
// MACRO_INPUT is repeated between the two clones (same pins, not drawn) and added to the
// window's connection list (and to made, when given). The clones of macro ports are then deleted
// and left out. Returns the number of clones.
int CloneSelection(const PtrArray<AElement>& selection, Architecture& window,
                   PtrArray<AElement>& clones, PtrArray<Connection>* made);
