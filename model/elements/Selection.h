#pragma once

// The selection rules of a working area as plain functions over element lists: a click selects
// one element alone, a Shift-click toggles one element's membership, a rubber band selects every
// element it touches. Marks follow membership; drawing is the window's part, which redraws the
// elements these functions report as changed.

#include "model/data/PtrArray.h"

class AElement;
class Architecture;

// Unmarks every selected element and empties the selection; the unmarked elements are added to
// changed when it is given.
void ClearSelection(PtrArray<AElement>& selection, PtrArray<AElement>* changed);
// The selection becomes the element alone, marked; every element whose mark changed is added to
// changed.
void SelectOnly(PtrArray<AElement>& selection, AElement& element, PtrArray<AElement>& changed);
// Toggles the element's mark and adds it to the selection when it is now marked, removes it when
// not; the new mark.
int ToggleSelected(PtrArray<AElement>& selection, AElement& element);
// The selection becomes every element of the architecture that touches the rectangle between
// the two corners (in any order), each marked; the count.
int SelectInRect(const Architecture& architecture, PtrArray<AElement>& selection, int x1, int y1,
                 int x2, int y2);
