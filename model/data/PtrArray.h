#pragma once

// A growable array of object pointers in insertion order, each pointer at most once. It holds an
// architecture's elements and connections, selections and every other list of elements, and never
// owns what it points to.
//
// Architectures reach 100 000 elements, so nothing here may scan or move the whole list per
// call: a pointer's place comes from an index (built once a list is long enough to need one);
// removing the first or last item only moves a bound, and removing another leaves a hole that is
// closed up once, when the list is next looked into by position. The capacity reported is that of
// a list growing by fixed steps; the storage behind it grows geometrically.

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

const int kPtrArrayInitialCapacity = 100;
const int kPtrArrayGrowth = 100;

template <typename T> class PtrArray {
public:
    PtrArray() = default;
    PtrArray(const PtrArray& source) { CopyFrom(source); }
    ~PtrArray() { delete[] slots; }

    PtrArray& operator=(const PtrArray& source) {
        if (this == &source) return *this;
        Clear();
        CopyFrom(source);
        return *this;
    }

    void Reset() {
        Clear();
        capacity = kPtrArrayInitialCapacity;
    }

    // Index of the appended pointer; -1 when it is present already or the array cannot grow.
    int Add(T* pointer) {
        if (!indexed && count >= kIndexFrom) BuildIndex();
        if (indexed) {
            // One probe both refuses a duplicate and finds where the new entry goes.
            if (index.Find(pointer) >= 0) return -1;
            if (end == slotCount && !MakeRoom()) return -1;
            index.Insert(pointer, end);
        } else {
            if (Find(pointer) >= 0) return -1;
            if (end == slotCount && !MakeRoom()) return -1;
        }
        if (count == capacity) capacity += kPtrArrayGrowth;
        slots[end] = pointer;
        end++;
        return count++;
    }

    // 1 when it was present, else -1; later items move down and keep their order.
    int Remove(T* pointer) {
        const int slot = SlotOf(pointer);
        if (slot < 0) return -1;
        if (indexed) index.Erase(pointer);
        count--;
        if (count == 0) {
            first = end = holes = 0;
            return 1;
        }
        if (slot == first) {
            first++;
            while (slots[first] == Hole()) {
                first++;
                holes--;
            }
        } else if (slot == end - 1) {
            end--;
            while (slots[end - 1] == Hole()) {
                end--;
                holes--;
            }
        } else {
            slots[slot] = Hole();
            holes++;
        }
        return 1;
    }

    int Find(const T* pointer) const {
        const int slot = SlotOf(pointer);
        if (slot < 0) return -1;
        if (holes == 0) return slot - first;
        Close();
        return SlotOf(pointer) - first;
    }

    int GetCount() const { return count; }
    int GetCapacity() const { return capacity; }
    T* operator[](int index) const {
        if (holes != 0) Close();
        return slots[first + index];
    }

private:
    // Shorter lists are scanned: an index would cost more than it saves.
    static const int kIndexFrom = 32;

    // Marks a removed item's slot; no object of the program lives at its address.
    static T* Hole() {
        static char marker;
        return reinterpret_cast<T*>(&marker);
    }

    void Clear() {
        first = end = holes = count = 0;
        index.Clear();
        indexed = false;
    }

    void CopyFrom(const PtrArray& source) {
        if (source.holes != 0) source.Close();
        if (slotCount < source.count) {
            delete[] slots;
            slots = new T*[source.count];
            slotCount = source.count;
        }
        if (source.count > 0) {
            std::memcpy(slots, source.slots + source.first,
                        static_cast<size_t>(source.count) * sizeof(T*));
        }
        end = count = source.count;
        capacity = source.capacity;
    }

    // The slot of the pointer, or -1.
    int SlotOf(const T* pointer) const {
        if (!indexed && count >= kIndexFrom) BuildIndex();
        if (indexed) return index.Find(pointer);
        for (int i = first; i < end; i++) {
            if (slots[i] == pointer) return i;
        }
        return -1;
    }

    void BuildIndex() const {
        index.Clear();
        for (int i = first; i < end; i++) {
            if (slots[i] != Hole()) index.Insert(slots[i], i);
        }
        indexed = true;
    }

    // Moves the items to the front without holes; false when no larger store can be had.
    bool MakeRoom() {
        if (holes != 0 || first > count) {
            Close();
            if (end < slotCount) return true;
        }
        const int larger =
            slotCount < kPtrArrayInitialCapacity ? kPtrArrayInitialCapacity : slotCount * 2;
        T** fresh = new (std::nothrow) T*[larger];
        if (fresh == nullptr) return false;
        if (count > 0) {
            std::memcpy(fresh, slots + first, static_cast<size_t>(count) * sizeof(T*));
        }
        delete[] slots;
        slots = fresh;
        slotCount = larger;
        Renumber(first);
        return true;
    }

    // Closes up the holes and moves the items to the front of the store.
    void Close() const {
        int to = 0;
        for (int i = first; i < end; i++) {
            if (slots[i] == Hole()) continue;
            slots[to++] = slots[i];
        }
        Renumber(first);
    }

    // The items now lie at 0 .. count - 1 (they began at oldFirst).
    void Renumber(int oldFirst) const {
        if (indexed && (holes != 0 || oldFirst != 0)) {
            for (int i = 0; i < count; i++)
                index.Update(slots[i], i);
        }
        first = 0;
        end = count;
        holes = 0;
    }

    // The store and the bounds change under const lookups when holes are closed up.
    mutable T** slots = nullptr;
    int slotCount = 0;
    mutable int first = 0; // the first item's slot
    mutable int end = 0;   // one past the last item's slot
    mutable int holes = 0; // removed items between first and end
    int count = 0;
    int capacity = kPtrArrayInitialCapacity;
    mutable bool indexed = false;

    // Pointer to slot, by open addressing with linear probing in a table at most half full, so
    // that an architecture of 100 000 elements costs no allocation per item. Hole() marks an
    // empty entry (null is an item like any other).
    class Index {
    public:
        void Clear() {
            if (used == 0) return;
            for (size_t i = 0; i < size; i++)
                entries[i].key = Hole();
            used = 0;
        }
        int Find(const T* key) const {
            if (size == 0) return -1;
            for (size_t i = Home(key);; i = (i + 1) & (size - 1)) {
                if (entries[i].key == key) return entries[i].slot;
                if (entries[i].key == Hole()) return -1;
            }
        }
        // The key is not in the table.
        void Insert(const T* key, int slot) {
            if (2 * (used + 1) > size) Grow();
            size_t i = Home(key);
            while (entries[i].key != Hole())
                i = (i + 1) & (size - 1);
            entries[i].key = key;
            entries[i].slot = slot;
            used++;
        }
        // The key is in the table.
        void Update(const T* key, int slot) {
            for (size_t i = Home(key);; i = (i + 1) & (size - 1)) {
                if (entries[i].key == key) {
                    entries[i].slot = slot;
                    return;
                }
            }
        }
        void Erase(const T* key) {
            if (size == 0) return;
            size_t i = Home(key);
            while (entries[i].key != key) {
                if (entries[i].key == Hole()) return;
                i = (i + 1) & (size - 1);
            }
            // Moves back every later entry of the run that may stand in the freed place, so that
            // no probe meets a gap before its key.
            for (size_t j = (i + 1) & (size - 1); entries[j].key != Hole();
                 j = (j + 1) & (size - 1)) {
                const size_t home = Home(entries[j].key);
                if (((j - home) & (size - 1)) >= ((j - i) & (size - 1))) {
                    entries[i] = entries[j];
                    i = j;
                }
            }
            entries[i].key = Hole();
            used--;
        }

    private:
        struct Entry {
            const T* key;
            int slot;
        };
        size_t Home(const T* key) const {
            const uint64_t bits = reinterpret_cast<uintptr_t>(key) * 0x9E3779B97F4A7C15ull;
            return static_cast<size_t>(bits >> shift);
        }
        void Grow() {
            const size_t larger = size == 0 ? 64 : size * 2;
            std::unique_ptr<Entry[]> old = std::move(entries);
            const size_t oldSize = size;
            entries.reset(new Entry[larger]);
            size = larger;
            shift = 64;
            for (size_t s = larger; s > 1; s >>= 1)
                shift--;
            for (size_t i = 0; i < size; i++)
                entries[i].key = Hole();
            used = 0;
            for (size_t i = 0; i < oldSize; i++) {
                if (old[i].key != Hole()) Insert(old[i].key, old[i].slot);
            }
        }
        std::unique_ptr<Entry[]> entries;
        size_t size = 0; // a power of two
        int shift = 64;  // 64 - log2(size)
        size_t used = 0;
    };
    mutable Index index;
};
