#include "model/simulation/QueueIndex.h"

namespace {

const size_t kInitialSlots = 256;

} // namespace

QueueIndex::QueueIndex() : mask(0), shift(0), count(0) {
    Resize(kInitialSlots);
}

size_t QueueIndex::Home(const AElement* element, SimTime time) const {
    // Fibonacci hashing of both halves: element addresses share their low bits, times their high
    // bits.
    uint64_t key = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(element)) ^
                   (static_cast<uint64_t>(time) << 32 | time);
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> shift);
}

void QueueIndex::Resize(size_t size) {
    std::vector<Slot> old;
    old.swap(slots);
    slots.assign(size, Slot{nullptr, 0, nullptr});
    mask = size - 1;
    shift = 64;
    for (size_t s = size; s > 1; s >>= 1)
        shift--;
    count = 0;
    for (const Slot& slot : old) {
        if (slot.element != nullptr) Insert(slot.element, slot.time, slot.entry);
    }
}

QueueEntry* QueueIndex::Find(const AElement* element, SimTime time) const {
    for (size_t i = Home(element, time);; i = (i + 1) & mask) {
        const Slot& slot = slots[i];
        if (slot.element == nullptr) return nullptr;
        if (slot.element == element && slot.time == time) return slot.entry;
    }
}

void QueueIndex::Insert(const AElement* element, SimTime time, QueueEntry* entry) {
    if (2 * (count + 1) > slots.size()) Resize(2 * slots.size());
    size_t i = Home(element, time);
    while (slots[i].element != nullptr)
        i = (i + 1) & mask;
    slots[i] = Slot{element, time, entry};
    count++;
}

void QueueIndex::Erase(const AElement* element, SimTime time) {
    size_t i = Home(element, time);
    for (;; i = (i + 1) & mask) {
        if (slots[i].element == nullptr) return;
        if (slots[i].element == element && slots[i].time == time) break;
    }
    // Backward-shift deletion: move later slots of the probe run into the hole when their home
    // does not lie strictly between the hole and them, so that no run is broken.
    size_t hole = i;
    for (size_t j = (hole + 1) & mask; slots[j].element != nullptr; j = (j + 1) & mask) {
        size_t home = Home(slots[j].element, slots[j].time);
        bool homeBetween = hole <= j ? (hole < home && home <= j) : (hole < home || home <= j);
        if (!homeBetween) {
            slots[hole] = slots[j];
            hole = j;
        }
    }
    slots[hole] = Slot{nullptr, 0, nullptr};
    count--;
}

void QueueIndex::Clear() {
    slots.clear();
    Resize(kInitialSlots);
}
