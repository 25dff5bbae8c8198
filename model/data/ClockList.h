// The clocks of an architecture: a growable list of (period T, offset O) pairs in ticks, and the
// one global clock table that the simulator, the element headers and the clocks window use.
//
// The list is indexed from 0. Elements refer to a clock by its 1-based number (0 = unclocked), so
// clock number k is index k - 1; every index outside 0..count - 1 is refused, never read.
#pragma once

#include <cstdint>
#include <memory>

#include "model/data/SimTime.h"

struct ClockPair {
    SimTime T; // period, ticks
    SimTime O; // offset, ticks
};

class ClockList {
public:
    static constexpr int kInitialCapacity = 3;
    static constexpr int kGrowth = 3;

    ClockList();
    ClockList(const ClockList& other);
    // Takes an array of the source's capacity and its clocks in order; self-assignment is safe.
    ClockList& operator=(const ClockList& other);

    // No clocks; the capacity goes back to kInitialCapacity.
    void Clear();
    // Appends a clock, growing by kGrowth slots when full. The new index, or -1 (list unchanged)
    // when memory for a larger array cannot be had.
    int Add(SimTime T, SimTime O);
    // Removes a clock; the later ones move down by one. 1, or -1 for an index outside the list.
    int Remove(int index);
    // 1, or -1 for an index outside the list.
    int Set(int index, SimTime T, SimTime O);
    // The value, or 0 for an index outside the list.
    SimTime GetT(int index) const;
    SimTime GetO(int index) const;
    // "T=<T>, O=<O>" in one static buffer that the next call overwrites; null outside the list.
    const char* ToString(int index) const;

    int GetCount() const { return count; }
    int GetCapacity() const { return capacity; }

private:
    bool IsIndex(int index) const { return index >= 0 && index < count; }

    std::unique_ptr<ClockPair[]> items;
    int32_t capacity;
    int32_t count;
};

// The global clock table, empty at program start; indices as in ClockList.
ClockList& GetClocks();
void SetClocks(const ClockList& list);
int AddClock(SimTime T, SimTime O);
int SetClock(int index, SimTime T, SimTime O);
// One clock: period 100, offset 0 (a new architecture).
void ResetClocks();
SimTime GetClockPeriod(int index);
SimTime GetClockOffset(int index);
const char* ClockString(int index);
int GetClockCount();
