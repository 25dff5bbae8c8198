#include "model/elements/Selection.h"

#include <utility>

#include "model/data/ElementQueries.h"
#include "model/elements/AElement.h"

void ClearSelection(PtrArray<AElement>& selection, PtrArray<AElement>* changed) {
    for (int i = 0; i < selection.GetCount(); i++) {
        selection[i]->Unmark();
        if (changed != nullptr) changed->Add(selection[i]);
    }
    selection.Reset();
}

void SelectOnly(PtrArray<AElement>& selection, AElement& element, PtrArray<AElement>& changed) {
    for (int i = 0; i < selection.GetCount(); i++) {
        if (selection[i] == &element) continue;
        selection[i]->Unmark();
        changed.Add(selection[i]);
    }
    selection.Reset();
    if (!element.IsMarked()) {
        element.Mark();
        changed.Add(&element);
    }
    selection.Add(&element);
}

int ToggleSelected(PtrArray<AElement>& selection, AElement& element) {
    element.ToggleMark();
    if (element.IsMarked()) {
        selection.Add(&element);
    } else {
        selection.Remove(&element);
    }
    return element.IsMarked();
}

int SelectInRect(const Architecture& architecture, PtrArray<AElement>& selection, int x1, int y1,
                 int x2, int y2) {
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    const int count = ElementsInRect(architecture, selection, x1, y1, x2 - x1, y2 - y1);
    for (int i = 0; i < count; i++)
        selection[i]->Mark();
    return count;
}
