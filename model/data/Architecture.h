#pragma once

// The model of one architecture: the list of its elements, the list of the connections between
// them and a modified flag. It is the first base of every architecture window (the main window,
// the library window, a macro element's sub-architecture). The lists do not own their objects:
// elements are deleted by whoever clears the architecture, and an element that goes deletes its
// connections, which leave the connection list themselves.

#include <cstdint>

#include "model/data/PtrArray.h"

class AElement;
class Connection;

class Architecture {
public:
    Architecture();
    // A deep copy: a clone of every element in order, and a new undrawn connection between the
    // clones for every connection. The clones keep the owner of their originals until their new
    // owner takes them; the copy is not modified.
    Architecture(const Architecture& source);
    Architecture& operator=(const Architecture&) = delete;
    virtual ~Architecture();

    PtrArray<AElement>& GetElements() { return elements; }
    const PtrArray<AElement>& GetElements() const { return elements; }
    PtrArray<Connection>& GetConnections() { return connections; }
    const PtrArray<Connection>& GetConnections() const { return connections; }

    // AElement::Reset of every element, in list order.
    void ResetAll();
    // Once an element reported a change, the architecture stays modified until ClearModified.
    int IsModified();
    void SetModified() { modified = 1; }
    // Clears the flag of every element and its own (after a successful save).
    void ClearModified();
    // The clock queries look into the sub-architectures of MACRO elements instead of at the
    // macros' own clock numbers.
    int UsesClock(int k) const;
    void ReplaceClock(int oldClock, int newClock);
    virtual int IsMacro() const { return 0; }

private:
    PtrArray<AElement> elements;
    PtrArray<Connection> connections;
    int32_t modified;
};
