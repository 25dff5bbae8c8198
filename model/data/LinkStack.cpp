#include "model/data/LinkStack.h"

#include <new>

LinkStack::LinkStack()
    : records(new PendingLink*[kInitialCapacity]), initialCapacity(kInitialCapacity), growth(50),
      capacity(kInitialCapacity), count(0) {}

LinkStack::~LinkStack() {
    for (int i = 0; i < count; i++)
        delete records[i];
    delete[] records;
}

void LinkStack::Clear() {
    for (int i = 0; i < count; i++)
        delete records[i];
    count = 0;
    if (capacity != initialCapacity) {
        delete[] records;
        records = new PendingLink*[initialCapacity];
        capacity = initialCapacity;
    }
}

int LinkStack::Push(int32_t elementId, int32_t pinCode, int32_t otherId, int32_t otherPinCode) {
    if (count == capacity) {
        PendingLink** larger = new (std::nothrow) PendingLink*[capacity + growth];
        if (larger == nullptr) return -1;
        for (int i = 0; i < count; i++)
            larger[i] = records[i];
        delete[] records;
        records = larger;
        capacity += growth;
    }
    records[count] = new PendingLink{elementId, pinCode, otherId, otherPinCode};
    return count++;
}

int LinkStack::Pop(int32_t& elementId, int32_t& pinCode, int32_t& otherId, int32_t& otherPinCode) {
    if (count == 0) return 0;
    PendingLink* link = records[--count];
    elementId = link->elementId;
    pinCode = link->pinCode;
    otherId = link->otherId;
    otherPinCode = link->otherPinCode;
    delete link;
    return 1;
}
