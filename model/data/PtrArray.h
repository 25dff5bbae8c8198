#pragma once

// A growable array of object pointers in insertion order, each pointer at most once. It holds an
// architecture's elements and connections, selections and every other list of elements, and never
// owns what it points to.

#include <new>

const int kPtrArrayInitialCapacity = 100;
const int kPtrArrayGrowth = 100;

template <typename T> class PtrArray {
public:
    PtrArray()
        : items(new T*[kPtrArrayInitialCapacity]), count(0), capacity(kPtrArrayInitialCapacity) {}
    PtrArray(const PtrArray& source)
        : items(new T*[source.capacity]), count(source.count), capacity(source.capacity) {
        for (int i = 0; i < count; i++)
            items[i] = source.items[i];
    }
    ~PtrArray() { delete[] items; }

    PtrArray& operator=(const PtrArray& source) {
        if (this == &source) return *this;
        T** fresh = new T*[source.capacity];
        for (int i = 0; i < source.count; i++)
            fresh[i] = source.items[i];
        delete[] items;
        items = fresh;
        count = source.count;
        capacity = source.capacity;
        return *this;
    }

    void Reset() {
        count = 0;
        if (capacity != kPtrArrayInitialCapacity) {
            delete[] items;
            items = new T*[kPtrArrayInitialCapacity];
            capacity = kPtrArrayInitialCapacity;
        }
    }

    // Index of the appended pointer; -1 when it is present already or the array cannot grow.
    int Add(T* pointer) {
        if (Find(pointer) >= 0) return -1;
        if (count == capacity) {
            T** larger = new (std::nothrow) T*[capacity + kPtrArrayGrowth];
            if (larger == nullptr) return -1;
            for (int i = 0; i < count; i++)
                larger[i] = items[i];
            delete[] items;
            items = larger;
            capacity += kPtrArrayGrowth;
        }
        items[count] = pointer;
        return count++;
    }

    // 1 when it was present, else -1; later items move down and keep their order.
    int Remove(T* pointer) {
        int index = Find(pointer);
        if (index < 0) return -1;
        for (int i = index; i + 1 < count; i++)
            items[i] = items[i + 1];
        count--;
        return 1;
    }

    int Find(const T* pointer) const {
        for (int i = 0; i < count; i++) {
            if (items[i] == pointer) return i;
        }
        return -1;
    }

    int GetCount() const { return count; }
    int GetCapacity() const { return capacity; }
    T* operator[](int index) const { return items[index]; }

private:
    T** items;
    int count;
    int capacity;
};
