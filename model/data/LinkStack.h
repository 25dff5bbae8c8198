#pragma once

// The links of an architecture file that can only be made once every element exists: each record
// names two pins by element number (the order of the file) and pin code. Last in, first out.
// The capacity reported is that of an array growing by fixed steps; the records themselves lie in
// one store that grows geometrically, so that a file of 100 000 elements pushes in linear time.

#include <cstdint>

struct PendingLink {
    int32_t elementId;
    int32_t pinCode;
    int32_t otherId;
    int32_t otherPinCode;
};

class LinkStack {
public:
    LinkStack();
    ~LinkStack();
    LinkStack(const LinkStack&) = delete;
    LinkStack& operator=(const LinkStack&) = delete;

    void Clear();
    // Index of the new record, or -1 when the array cannot grow.
    int Push(int32_t elementId, int32_t pinCode, int32_t otherId, int32_t otherPinCode);
    // 0 when empty; otherwise removes the last record, delivers it and returns 1.
    int Pop(int32_t& elementId, int32_t& pinCode, int32_t& otherId, int32_t& otherPinCode);
    int GetCount() const { return count; }
    int GetCapacity() const { return capacity; }

private:
    static const int kInitialCapacity = 100;

    // Makes room for one more record; false when no larger store can be had.
    bool MakeRoom();

    PendingLink* records;
    int storeSize;
    int initialCapacity;
    int growth;
    int capacity;
    int count;
};
