#include "model/elements/DropRules.h"

#include <vector>

#include "model/data/Architecture.h"
#include "model/data/Connection.h"
#include "model/data/ElementQueries.h"
#include "model/elements/AElement.h"
#include "model/elements/AHelpElem.h"
#include "model/elements/ElementType.h"
#include "model/elements/PinCode.h"

int FindReferenceElement(const PtrArray<AElement>& dragged) {
    if (dragged.GetCount() == 0) return -1;
    for (int i = 0; i < dragged.GetCount(); i++) {
        const AElement* element = dragged[i];
        if (element->GetWidth() >= element->GetGrabOffsetX() &&
            element->GetHeight() >= element->GetGrabOffsetY()) {
            return i;
        }
    }
    return 0;
}

int SnapToGrid(const PtrArray<AElement>& dragged, int gridX, int gridY) {
    int reference = FindReferenceElement(dragged);
    if (reference < 0) return 0;
    // A step below 1 never reaches a reader's grid; it leaves its axis alone.
    const int dx = gridX >= 1 ? dragged[reference]->GetX() % gridX : 0;
    const int dy = gridY >= 1 ? dragged[reference]->GetY() % gridY : 0;
    for (int i = 0; i < dragged.GetCount(); i++) {
        AElement* element = dragged[i];
        element->SetPosition(element->GetX() - dx, element->GetY() - dy);
    }
    return 1;
}

int LiesInsideArea(const PtrArray<AElement>& dragged, int areaWidth, int areaHeight) {
    for (int i = 0; i < dragged.GetCount(); i++) {
        const AElement* e = dragged[i];
        // In 64 bits: an element dropped far off must not wrap around into the area.
        const long long right = static_cast<long long>(e->GetX()) + e->GetWidth();
        const long long bottom = static_cast<long long>(e->GetY()) + e->GetHeight();
        if (e->GetX() < 0 || e->GetY() < 0 || right > areaWidth || bottom > areaHeight) return 0;
    }
    return 1;
}

namespace {

bool NestedInMacros(const Architecture* window, const Architecture* other, int depth) {
    // A macro cannot hold itself, but a corrupt tree must not recurse for ever.
    if (depth > 1000) return true;
    const PtrArray<AElement>& elements = window->GetElements();
    for (int i = 0; i < elements.GetCount(); i++) {
        if (elements[i]->GetType() != kMacro) continue;
        const auto* macro = dynamic_cast<const Architecture*>(elements[i]);
        if (macro == nullptr) continue;
        if (macro == other || NestedInMacros(macro, other, depth + 1)) return true;
    }
    return false;
}

// The architecture the macro whose sub-architecture this is lives in; null at the top.
const Architecture* EnclosingArchitecture(const Architecture* window) {
    const auto* asElement = dynamic_cast<const AElement*>(window);
    return asElement != nullptr ? asElement->GetOwner() : nullptr;
}

} // namespace

int ContainsArchitecture(const Architecture* window, const Architecture* other) {
    if (window == nullptr || other == nullptr) return 0;
    int depth = 0;
    for (const Architecture* up = window; up != nullptr && up->IsMacro();
         up = EnclosingArchitecture(up)) {
        if (up == other) return 1;
        if (++depth > 1000) return 1;
    }
    return NestedInMacros(window, other, 0) ? 1 : 0;
}

int PutsMacroIntoItself(const Architecture& destination, const PtrArray<AElement>& dragged) {
    if (!destination.IsMacro()) return 0;
    for (int i = 0; i < dragged.GetCount(); i++) {
        if (dragged[i]->GetType() != kMacro) continue;
        const auto* macro = dynamic_cast<const Architecture*>(dragged[i]);
        if (macro != nullptr && ContainsArchitecture(&destination, macro)) return 1;
    }
    return 0;
}

int IsMacroPort(const AElement& element) {
    return element.GetType() == kMacroInput || element.GetType() == kMacroOutput;
}

DropVerdict CheckElementDrop(const Architecture& destination, const PtrArray<AElement>& dragged,
                             int x, int y, int rasterize, int gridX, int gridY, int areaWidth,
                             int areaHeight, int sameWindow) {
    for (int i = 0; i < dragged.GetCount(); i++)
        dragged[i]->MoveToPointer(x, y);
    if (rasterize && !SnapToGrid(dragged, gridX, gridY)) return kDropNoReference;
    if (OverlapsAny(destination, dragged)) return kDropOverlap;
    if (!LiesInsideArea(dragged, areaWidth, areaHeight)) return kDropOutsideArea;
    if (PutsMacroIntoItself(destination, dragged)) return kDropMacroIntoItself;
    // A port belongs to its macro's window: dropped elsewhere it is sent back by the transfer,
    // but a window that is not a macro window has no macro to give it to.
    if (sameWindow && !destination.IsMacro()) {
        for (int i = 0; i < dragged.GetCount(); i++) {
            if (IsMacroPort(*dragged[i])) return kDropPortOutsideMacro;
        }
    }
    return kDropAccepted;
}

DropVerdict CheckConnectionEndDrop(const Architecture& source, const Architecture& destination,
                                   const AHelpElem& end, int x, int y, AElement*& element,
                                   int& pin) {
    element = nullptr;
    pin = kNoPin;
    // No connection may join elements of two windows.
    if (&source != &destination) return kDropOtherWindow;
    AElement* hit = ElementAt(source, x, y);
    if (hit == nullptr) return kDropNoElement;
    const int code = hit->PinAt(x - hit->GetX(), y - hit->GetY());
    if (code == kNoPin) return kDropNoPin;
    if (hit->GetConnection(code) != nullptr) return kDropPinBusy;
    const int freeEnd = end.GetFreeEnd();
    const Connection* connection = end.GetConnection(freeEnd);
    if (freeEnd == kNoPin || connection == nullptr || (code & 1) != (freeEnd & 1)) {
        return kDropWrongDirection;
    }
    int width = 0, height = 0, fixedWidth = 0, fixedHeight = 0;
    hit->GetPlaneSize(code, width, height);
    if (IsInputPin(freeEnd)) {
        connection->GetSource()->GetPlaneSize(connection->GetSourcePin(), fixedWidth, fixedHeight);
    } else {
        connection->GetTarget()->GetPlaneSize(connection->GetTargetPin(), fixedWidth, fixedHeight);
    }
    if (width != fixedWidth || height != fixedHeight) return kDropPlaneSize;
    element = hit;
    pin = code;
    return kDropAccepted;
}

int CloneSelection(const PtrArray<AElement>& selection, Architecture& window,
                   PtrArray<AElement>& clones, PtrArray<Connection>* made) {
    const int count = selection.GetCount();
    std::vector<AElement*> copies(static_cast<size_t>(count), nullptr);
    for (int i = 0; i < count; i++) {
        copies[static_cast<size_t>(i)] = AElement::Clone(*selection[i]);
        clones.Add(copies[static_cast<size_t>(i)]);
    }
    for (int i = 0; i < count; i++) {
        const AElement* original = selection[i];
        if (IsMacroPort(*original)) continue;
        for (int k = 0; k < original->GetInputCount(); k++) {
            const Connection* wire = original->GetInputConnection(k);
            if (wire == nullptr) continue;
            const int from = selection.Find(wire->GetSource());
            if (from < 0 || selection[from]->GetType() == kMacroInput) continue;
            auto* copy =
                new Connection(&window, copies[static_cast<size_t>(from)], wire->GetSourcePin(),
                               copies[static_cast<size_t>(i)], wire->GetTargetPin(), 0);
            window.GetConnections().Add(copy);
            if (made != nullptr) made->Add(copy);
        }
    }
    for (int i = 0; i < count; i++) {
        AElement* copy = copies[static_cast<size_t>(i)];
        if (!IsMacroPort(*copy)) continue;
        clones.Remove(copy);
        delete copy;
    }
    return clones.GetCount();
}
