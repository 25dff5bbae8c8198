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

#include <cstring>
#include <new>
#include <unordered_map>

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
        if (Find(pointer) >= 0) return -1;
        if (end == slotCount && !MakeRoom()) return -1;
        if (count == capacity) capacity += kPtrArrayGrowth;
        slots[end] = pointer;
        if (indexed) index[pointer] = end;
        end++;
        return count++;
    }

    // 1 when it was present, else -1; later items move down and keep their order.
    int Remove(T* pointer) {
        const int slot = SlotOf(pointer);
        if (slot < 0) return -1;
        if (indexed) index.erase(pointer);
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
        index.clear();
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
        if (indexed) {
            auto found = index.find(pointer);
            return found == index.end() ? -1 : found->second;
        }
        for (int i = first; i < end; i++) {
            if (slots[i] == pointer) return i;
        }
        return -1;
    }

    void BuildIndex() const {
        index.reserve(static_cast<size_t>(count) * 2);
        for (int i = first; i < end; i++) {
            if (slots[i] != Hole()) index[slots[i]] = i;
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
                index[slots[i]] = i;
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
    mutable std::unordered_map<const T*, int> index;
};
