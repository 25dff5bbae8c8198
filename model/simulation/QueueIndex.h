#pragma once

// The event queue's index of its unhandled entries by (element, time): an open-addressing hash
// table with linear probing in one array, so that a look-up touches one or two cache lines even
// when tens of thousands of entries are queued. An element never has two unhandled entries at
// one time, so the pair is a key.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/data/SimTime.h"

class AElement;
struct QueueEntry;

class QueueIndex {
public:
    QueueIndex();

    // The entry of the element at that time, or null.
    QueueEntry* Find(const AElement* element, SimTime time) const;
    // Adds the pair; the pair must not be present.
    void Insert(const AElement* element, SimTime time, QueueEntry* entry);
    // Removes the pair if present.
    void Erase(const AElement* element, SimTime time);
    // Empty, back at the initial size.
    void Clear();
    size_t GetCount() const { return count; }

private:
    struct Slot {
        const AElement* element; // null: empty
        SimTime time;
        QueueEntry* entry;
    };

    size_t Home(const AElement* element, SimTime time) const;
    void Resize(size_t size);

    std::vector<Slot> slots; // a power of two, at most half full
    size_t mask;             // slots.size() - 1
    int shift;               // 64 - log2(slots.size())
    size_t count;
};
