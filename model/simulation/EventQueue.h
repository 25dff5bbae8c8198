#pragma once

// The simulator's one scheduler and its current time. It owns the queued entries and keeps
// pointers to them in one array sorted by ascending time, equal times in the order scheduled.
// Every element takes part in two phases: at a pending entry it latches its inputs, at the
// commit entry TIME ticks later it computes its outputs and propagates. Within one time all
// pending entries latch before any commit of that time computes.
//
// The main window owns the queue; elements reach it through ElementUi::Schedule, which adds a
// pending entry. A run shows its time in the simulation box and reads its Break button there.
//
// Each element links its own unhandled entries (AElement::QueuedEntries), so that Schedule finds an
// element's entry at a time, and Remove its entries, by looking at that element alone; an element
// takes part in one queue at a time.
//
// Entries scheduled while a cycle runs are kept aside and merged into the array when the cycle
// ends, in the same pass that removes the handled entries; so a cycle costs one pass over the
// array however many entries it schedules, where inserting each one would move every later
// entry.

#include <cstdint>
#include <vector>

#include "model/data/SimTime.h"
#include "model/elements/AElement.h"
#include "model/simulation/QueueEntry.h"

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
    // pending entry and nothing is added. The number of entries before it was added, or -1 when
    // none was added (also when the array cannot grow).
    int Schedule(SimTime time, AElement* element, int state);
    // Removes and deletes every entry of the element (before the element goes); one pass over the
    // queue when it has entries, none when it has not.
    void Remove(AElement* element);
    // Removes the handled entries at the front, up to the first entry that still has an element,
    // and merges in the entries scheduled during the cycle.
    void Compact();
    // Runs up to and including the limit, or until the simulation box answers Break after a
    // cycle. Always 1.
    int RunUntil(SimTime limit);

    // The box that shows the time and is polled after every cycle; null: none, the run never
    // breaks.
    void SetSimulationBox(SimulationBoxUi* box) { simulationBox = box; }

    SimTime GetNow() const { return now; }
    int GetCount() const { return count + static_cast<int>(deferred.size()); }
    int GetCapacity() const { return capacity; }
    // Entry index in time order, or null outside 0..count - 1 (between runs every entry is in the
    // array).
    const QueueEntry* GetEntry(int index) const;

private:
    // Deletes every entry record, spare ones included.
    void DeleteEntries();
    // Marks the entry handled and takes it out of its element's list.
    void Consume(QueueEntry* entry);
    // The element's list of unhandled entries, emptied first when it is from another epoch.
    AElement::QueuedEntries& EntriesOf(AElement* element) const;
    // The list's entry at the time, or null; then after is the entry a new one follows, null when
    // it comes first.
    static QueueEntry* FindIn(const AElement::QueuedEntries& list, SimTime time,
                              QueueEntry*& after);
    static void Link(AElement::QueuedEntries& list, QueueEntry* entry, QueueEntry* after);
    // Keeps a removed entry's record for the next Schedule: records are reused while they are
    // still in the cache, and a run allocates nothing once the queue has reached its size.
    void Free(QueueEntry* entry);
    int UpperBound(SimTime time) const;
    // capacity += kGrowth for both arrays; false (nothing changed) when memory cannot be had.
    bool Grow();
    void ShowTime();
    // Starts loading what the steps of the entries ahead of entry i will read.
    void PrefetchAhead(int i, int batchEnd, int state) const;

    QueueEntry** entries;
    QueueEntry** merged; // as large as entries: where Compact merges into
    int32_t capacity;
    int32_t count; // entries in the array
    SimTime now;
    SimulationBoxUi* simulationBox;
    bool running;                      // within a cycle: new entries go to deferred
    std::vector<QueueEntry*> deferred; // scheduled during the cycle, in order
    std::vector<QueueEntry*> spare;    // records of removed entries
    std::vector<QueueEntry*> later;    // Compact's room for new entries after the current time
    // Every queue and every Clear take an epoch of their own: the elements' lists of an earlier
    // one count for nothing, and Clear need not visit the elements.
    uint64_t epoch;
};
