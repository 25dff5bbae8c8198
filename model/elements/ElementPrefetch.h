#pragma once

// Prefetching for the event queue. In a large architecture the elements of one time lie far apart
// in memory, and a latch or a step follows pointers from the element to its pin arrays, its planes
// and connections and the elements at their other ends: one cache miss after another. The queue
// starts each level's loads a few entries ahead of the latch or step, so that the misses of many
// elements overlap instead of adding up. The fields a step reads lie together at the start of an
// element and of a connection, so that few lines cover them.
//
// Everything here is inlined always: GCC drops a call whose only effect is a prefetch as a call
// without effect, before it would inline it.

#include <cstddef>

#include "model/data/Connection.h"
#include "model/elements/AElement.h"

#define QUIRAN_ALWAYS_INLINE inline __attribute__((always_inline))

// Levels of AElement::PrefetchLatch: the element; its input arrays; its input planes and
// connections; the sources; the sources' plane arrays.
const int kLatchPrefetchLevels = 5;
// Levels of AElement::PrefetchStep: the element; its pin arrays; its planes and output
// connections; the targets.
const int kStepPrefetchLevels = 4;

// Starts loading every line of size bytes from p on; heap objects start anywhere in a line.
QUIRAN_ALWAYS_INLINE void PrefetchBytes(const void* p, size_t size) {
    const char* bytes = static_cast<const char*>(p);
    for (size_t offset = 0; offset < size; offset += 64)
        __builtin_prefetch(bytes + offset);
    __builtin_prefetch(bytes + size - 1);
}

QUIRAN_ALWAYS_INLINE void AElement::PrefetchHot() const {
    // The fields a step reads come first, up to owner.
    PrefetchBytes(this, static_cast<size_t>(reinterpret_cast<const char*>(&owner) -
                                            reinterpret_cast<const char*>(this)));
}

QUIRAN_ALWAYS_INLINE void AElement::PrefetchLatch(int level) const {
    switch (level) {
        case 0:
            PrefetchHot();
            break;
        case 1:
            __builtin_prefetch(inputPlanes.data());
            __builtin_prefetch(inputConnections.data());
            break;
        case 2:
            for (int i = 0; i < inputCount; i++) {
                PrefetchBytes(inputPlanes[i].get(), sizeof(Matrix));
                if (inputConnections[i] != nullptr) inputConnections[i]->PrefetchEnds();
            }
            break;
        case 3:
            // The source's output count and plane array.
            for (int i = 0; i < inputCount; i++) {
                if (inputConnections[i] == nullptr) continue;
                const AElement* source = inputConnections[i]->GetSource();
                __builtin_prefetch(&source->outputCount);
                __builtin_prefetch(&source->outputPlanes);
            }
            break;
        default:
            for (int i = 0; i < inputCount; i++) {
                if (inputConnections[i] != nullptr) {
                    __builtin_prefetch(inputConnections[i]->GetSource()->outputPlanes.data());
                }
            }
            break;
    }
}

QUIRAN_ALWAYS_INLINE void AElement::PrefetchStep(int level) const {
    switch (level) {
        case 0:
            PrefetchHot();
            break;
        case 1:
            __builtin_prefetch(inputPlanes.data());
            __builtin_prefetch(outputPlanes.data());
            __builtin_prefetch(outputConnections.data());
            __builtin_prefetch(showDataWindows.data());
            break;
        case 2:
            for (int i = 0; i < inputCount; i++)
                PrefetchBytes(inputPlanes[i].get(), sizeof(Matrix));
            for (int i = 0; i < outputCount; i++) {
                PrefetchBytes(outputPlanes[i].get(), sizeof(Matrix));
                if (outputConnections[i] != nullptr) outputConnections[i]->PrefetchEnds();
            }
            break;
        default:
            // The target's clock, and its queued entries for the latch it is given.
            for (int i = 0; i < outputCount; i++) {
                if (outputConnections[i] == nullptr) continue;
                const AElement* target = outputConnections[i]->GetTarget();
                __builtin_prefetch(&target->clock);
                __builtin_prefetch(&target->queued);
            }
            break;
    }
}
