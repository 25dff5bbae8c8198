#include "model/data/Architecture.h"

#include <iostream>
#include <vector>

#include "model/data/Connection.h"
#include "model/elements/AElement.h"
#include "model/elements/ElementType.h"

Architecture::Architecture() : modified(0) {}

Architecture::Architecture(const Architecture& source) : modified(0) {
    const PtrArray<AElement>& originals = source.elements;
    // Clones by position in the source list; null where a type could not be copied.
    std::vector<AElement*> clones;
    for (int i = 0; i < originals.GetCount(); i++) {
        AElement* clone = AElement::Clone(*originals[i]);
        clones.push_back(clone);
        if (clone != nullptr) elements.Add(clone);
    }
    const PtrArray<Connection>& wires = source.connections;
    for (int i = 0; i < wires.GetCount(); i++) {
        Connection* wire = wires[i];
        int from = originals.Find(wire->GetSource());
        int to = originals.Find(wire->GetTarget());
        if (from < 0 || to < 0 || clones[from] == nullptr || clones[to] == nullptr) {
            std::cerr << "Architecture::Architecture: connection " << i
                      << " joins an element that was not copied" << std::endl;
            continue;
        }
        connections.Add(new Connection(this, clones[from], wire->GetSourcePin(), clones[to],
                                       wire->GetTargetPin(), 0));
    }
}

Architecture::~Architecture() = default;

void Architecture::ResetAll() {
    for (int i = 0; i < elements.GetCount(); i++)
        elements[i]->Reset();
}

int Architecture::IsModified() {
    for (int i = 0; i < elements.GetCount(); i++) {
        if (elements[i]->IsModified()) modified = 1;
    }
    return modified;
}

void Architecture::ClearModified() {
    for (int i = 0; i < elements.GetCount(); i++)
        elements[i]->ClearModified();
    modified = 0;
}

namespace {

// The sub-architecture of a MACRO element: a macro is an element and an architecture at once.
const Architecture* SubArchitecture(const AElement* element) {
    return element->GetType() == kMacro ? dynamic_cast<const Architecture*>(element) : nullptr;
}

} // namespace

int Architecture::UsesClock(int k) const {
    for (int i = 0; i < elements.GetCount(); i++) {
        const AElement* element = elements[i];
        if (element->GetType() == kMacro) {
            const Architecture* inner = SubArchitecture(element);
            if (inner != nullptr && inner->UsesClock(k)) return 1;
        } else if (element->GetClock() == k) {
            return 1;
        }
    }
    return 0;
}

void Architecture::ReplaceClock(int oldClock, int newClock) {
    for (int i = 0; i < elements.GetCount(); i++) {
        AElement* element = elements[i];
        if (element->GetType() == kMacro) {
            Architecture* inner = const_cast<Architecture*>(SubArchitecture(element));
            if (inner != nullptr) inner->ReplaceClock(oldClock, newClock);
            // A macro's own number (from a file) must stay a clock that exists, or the file the
            // architecture is saved to no longer loads.
            element->ReplaceClockIf(oldClock, newClock);
        } else {
            element->ReplaceClockIf(oldClock, newClock);
        }
    }
}
