#include "model/data/LinkStack.h"

#include <cstring>
#include <new>

LinkStack::LinkStack()
    : records(new PendingLink[kInitialCapacity]), storeSize(kInitialCapacity),
      initialCapacity(kInitialCapacity), growth(50), capacity(kInitialCapacity), count(0) {}

LinkStack::~LinkStack() {
    delete[] records;
}

void LinkStack::Clear() {
    count = 0;
    if (capacity != initialCapacity) {
        delete[] records;
        records = new PendingLink[initialCapacity];
        storeSize = initialCapacity;
        capacity = initialCapacity;
    }
}

bool LinkStack::MakeRoom() {
    if (count < storeSize) return true;
    const int larger = storeSize * 2;
    PendingLink* fresh = new (std::nothrow) PendingLink[larger];
    if (fresh == nullptr) return false;
    std::memcpy(fresh, records, static_cast<size_t>(count) * sizeof(PendingLink));
    delete[] records;
    records = fresh;
    storeSize = larger;
    return true;
}

int LinkStack::Push(int32_t elementId, int32_t pinCode, int32_t otherId, int32_t otherPinCode) {
    if (!MakeRoom()) return -1;
    if (count == capacity) capacity += growth;
    records[count] = PendingLink{elementId, pinCode, otherId, otherPinCode};
    return count++;
}

int LinkStack::Pop(int32_t& elementId, int32_t& pinCode, int32_t& otherId, int32_t& otherPinCode) {
    if (count == 0) return 0;
    const PendingLink& link = records[--count];
    elementId = link.elementId;
    pinCode = link.pinCode;
    otherId = link.otherId;
    otherPinCode = link.otherPinCode;
    return 1;
}
