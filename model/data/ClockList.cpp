#include "model/data/ClockList.h"

#include <algorithm>
#include <cstdio>
#include <new>

ClockList::ClockList()
    : items(new ClockPair[kInitialCapacity]), capacity(kInitialCapacity), count(0) {}

ClockList::ClockList(const ClockList& other)
    : items(new ClockPair[other.capacity]), capacity(other.capacity), count(other.count) {
    std::copy(other.items.get(), other.items.get() + other.count, items.get());
}

ClockList& ClockList::operator=(const ClockList& other) {
    if (this == &other) return *this;
    items.reset(new ClockPair[other.capacity]);
    capacity = other.capacity;
    count = other.count;
    std::copy(other.items.get(), other.items.get() + other.count, items.get());
    return *this;
}

void ClockList::Clear() {
    if (capacity != kInitialCapacity) {
        items.reset(new ClockPair[kInitialCapacity]);
        capacity = kInitialCapacity;
    }
    count = 0;
}

int ClockList::Add(SimTime T, SimTime O) {
    if (count == capacity) {
        ClockPair* larger = new (std::nothrow) ClockPair[capacity + kGrowth];
        if (!larger) return -1;
        std::copy(items.get(), items.get() + count, larger);
        items.reset(larger);
        capacity += kGrowth;
    }
    items[count] = ClockPair{T, O};
    return count++;
}

int ClockList::Remove(int index) {
    if (!IsIndex(index)) return -1;
    std::copy(items.get() + index + 1, items.get() + count, items.get() + index);
    --count;
    return 1;
}

int ClockList::Set(int index, SimTime T, SimTime O) {
    if (!IsIndex(index)) return -1;
    items[index] = ClockPair{T, O};
    return 1;
}

SimTime ClockList::GetT(int index) const {
    return IsIndex(index) ? items[index].T : 0;
}

SimTime ClockList::GetO(int index) const {
    return IsIndex(index) ? items[index].O : 0;
}

const char* ClockList::ToString(int index) const {
    static char text[200];
    if (!IsIndex(index)) return nullptr;
    std::snprintf(text, sizeof text, "T=%lu, O=%lu", static_cast<unsigned long>(items[index].T),
                  static_cast<unsigned long>(items[index].O));
    return text;
}

ClockList& GetClocks() {
    static ClockList table;
    return table;
}

void SetClocks(const ClockList& list) {
    GetClocks() = list;
}

int AddClock(SimTime T, SimTime O) {
    return GetClocks().Add(T, O);
}

int SetClock(int index, SimTime T, SimTime O) {
    return GetClocks().Set(index, T, O);
}

void ResetClocks() {
    GetClocks().Clear();
    GetClocks().Add(100, 0);
}

SimTime GetClockPeriod(int index) {
    return GetClocks().GetT(index);
}

SimTime GetClockOffset(int index) {
    return GetClocks().GetO(index);
}

const char* ClockString(int index) {
    return GetClocks().ToString(index);
}

int GetClockCount() {
    return GetClocks().GetCount();
}
