#pragma once

// The simulator's one scheduler and its current time. It owns the queued entries and keeps
// pointers to them in one array sorted by ascending time, equal times in the order scheduled.
// Every element takes part in two phases: at a pending entry it latches its inputs, at the
// commit entry TIME ticks later it computes its outputs and propagates. Within one time all
// pending entries latch before any commit of that time computes.
//
// The main window owns the queue; elements reach it through ElementUi::Schedule, which adds a
// pending entry. A run shows its time in the simulation box and reads its Break button there.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <unordered_map>

#include "model/data/SimTime.h"
#include "model/simulation/QueueEntry.h"

class AElement;
class SimulationBoxUi;

class EventQueue {
public:
    static const int kInitialCapacity = 100; // pointer slots
    static const int kGrowth = 100;

    EventQueue();
    ~EventQueue();
    EventQueue(const EventQueue&) = delete;
    EventQueue& operator=(const EventQueue&) = delete;

    // Deletes every entry; the array goes back to the initial capacity; now := 0.
    void Clear();
    // Adds {time, state, element} after every entry of that time or earlier. An element never has
    // two entries at one time: when it has one already, a pending request turns it back into a
    // pending entry and nothing is added. The index of the new entry, or -1 when none was added
    // (also when the array cannot grow).
    int Schedule(SimTime time, AElement* element, int state);
    // Removes and deletes every entry of the element (before the element goes).
    void Remove(AElement* element);
    // Removes the handled entries at the front, up to the first entry that still has an element.
    void Compact();
    // Runs up to and including the limit, or until the simulation box answers Break after a
    // cycle. Always 1.
    int RunUntil(SimTime limit);

    // The box that shows the time and is polled after every cycle; null: none, the run never
    // breaks.
    void SetSimulationBox(SimulationBoxUi* box) { simulationBox = box; }

    SimTime GetNow() const { return now; }
    int GetCount() const { return count; }
    int GetCapacity() const { return capacity; }
    // Entry index in time order, or null outside 0..count - 1.
    const QueueEntry* GetEntry(int index) const;

private:
    struct Key {
        const AElement* element;
        SimTime time;
        bool operator==(const Key& other) const {
            return element == other.element && time == other.time;
        }
    };
    struct KeyHash {
        size_t operator()(const Key& key) const {
            return std::hash<uintptr_t>()(reinterpret_cast<uintptr_t>(key.element) ^
                                          (static_cast<uintptr_t>(key.time) * 0x9E3779B1u));
        }
    };

    // Marks the entry handled.
    void Consume(QueueEntry* entry);
    int UpperBound(SimTime time) const;
    void ShowTime();

    QueueEntry** entries;
    int32_t capacity;
    int32_t count;
    SimTime now;
    SimulationBoxUi* simulationBox;
    // The unhandled entry of each (element, time): finds the entry Schedule must not duplicate
    // without walking the entries of that time, which thousands of elements may share.
    std::unordered_map<Key, QueueEntry*, KeyHash> live;
};
