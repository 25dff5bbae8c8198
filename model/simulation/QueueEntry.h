#pragma once

// One scheduled event of the simulator: at its time the element either latches its inputs
// (pending) or computes and propagates (commit). The queue owns the record; an entry whose
// element is cleared has been handled and waits to be removed.
//
// The unhandled entries of one element are also linked in time order from the element
// (AElement::QueuedEntries), so that the queue finds an element's entry at a time by looking at
// that element alone.

#include <cstdint>

#include "model/data/SimTime.h"

class AElement;

enum QueueEntryState : int32_t {
    kPending = 0, // the element latches its inputs at this time
    kCommit = 1,  // the element computes and propagates at this time
};

struct QueueEntry {
    SimTime time;
    int32_t state;
    AElement* element;   // null once handled
    QueueEntry* earlier; // the element's unhandled entries before and after this one
    QueueEntry* later;
};
