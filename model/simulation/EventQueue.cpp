#include "model/simulation/EventQueue.h"

#include <cstring>
#include <limits>
#include <new>

#include "model/elements/AElement.h"
#include "model/simulation/SimulationBoxUi.h"

EventQueue::EventQueue()
    : entries(new QueueEntry*[kInitialCapacity]), capacity(kInitialCapacity), count(0), now(0),
      simulationBox(nullptr) {}

EventQueue::~EventQueue() {
    for (int i = 0; i < count; i++)
        delete entries[i];
    delete[] entries;
}

void EventQueue::Clear() {
    for (int i = 0; i < count; i++)
        delete entries[i];
    if (capacity != kInitialCapacity) {
        delete[] entries;
        entries = new QueueEntry*[kInitialCapacity];
        capacity = kInitialCapacity;
    }
    count = 0;
    now = 0;
    live.clear();
}

const QueueEntry* EventQueue::GetEntry(int index) const {
    return index >= 0 && index < count ? entries[index] : nullptr;
}

int EventQueue::UpperBound(SimTime time) const {
    int lo = 0;
    int hi = count;
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        if (entries[mid]->time > time) {
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    return lo;
}

int EventQueue::Schedule(SimTime time, AElement* element, int state) {
    if (element == nullptr) return -1;
    auto found = live.find(Key{element, time});
    if (found != live.end()) {
        // A pending request turns a commit that has not run yet back into a latch.
        if (state == kPending) found->second->state = kPending;
        return -1;
    }
    if (count == capacity) {
        QueueEntry** larger = new (std::nothrow) QueueEntry*[capacity + kGrowth];
        if (larger == nullptr) return -1;
        std::memcpy(larger, entries, sizeof(QueueEntry*) * count);
        delete[] entries;
        entries = larger;
        capacity += kGrowth;
    }
    QueueEntry* entry = new (std::nothrow) QueueEntry{time, state, element};
    if (entry == nullptr) return -1;
    int at = UpperBound(time);
    std::memmove(entries + at + 1, entries + at, sizeof(QueueEntry*) * (count - at));
    entries[at] = entry;
    live[Key{element, time}] = entry;
    count++;
    return at;
}

void EventQueue::Consume(QueueEntry* entry) {
    live.erase(Key{entry->element, entry->time});
    entry->element = nullptr;
}

void EventQueue::Remove(AElement* element) {
    if (element == nullptr) return;
    int kept = 0;
    for (int i = 0; i < count; i++) {
        QueueEntry* entry = entries[i];
        if (entry->element == element) {
            Consume(entry);
            delete entry;
        } else {
            entries[kept++] = entry;
        }
    }
    count = kept;
}

void EventQueue::Compact() {
    int handled = 0;
    while (handled < count && entries[handled]->element == nullptr)
        delete entries[handled++];
    if (handled == 0) return;
    count -= handled;
    std::memmove(entries, entries + handled, sizeof(QueueEntry*) * count);
}

void EventQueue::ShowTime() {
    if (simulationBox != nullptr) simulationBox->ShowTime(now);
}

int EventQueue::RunUntil(SimTime limit) {
    for (;;) {
        if (count == 0 || entries[0]->time > limit) {
            now = limit;
            ShowTime();
            return 1;
        }
        now = entries[0]->time;

        // Latch pass. Commits scheduled here lie after now, so the batch keeps its indices; the
        // array itself may grow, so it is indexed afresh on every step.
        int batchEnd = 0;
        for (; batchEnd < count && entries[batchEnd]->time == now; batchEnd++) {
            QueueEntry* entry = entries[batchEnd];
            AElement* element = entry->element;
            if (element == nullptr || entry->state != kPending) continue;
            element->LatchInputs();
            if (element->GetTime() == 0) {
                entry->state = kCommit;
                continue;
            }
            Consume(entry);
            uint64_t commit = static_cast<uint64_t>(now) + element->GetTime();
            // A commit beyond the last representable time never comes.
            if (commit <= std::numeric_limits<SimTime>::max()) {
                Schedule(static_cast<SimTime>(commit), element, kCommit);
            }
        }

        // Commit pass. The entry is handled before the element propagates, so that an element
        // scheduling itself at this very time (a loop without delay, or TIME a multiple of its
        // period) gets a new entry instead of reviving the one that is running.
        for (int i = 0; i < batchEnd; i++) {
            QueueEntry* entry = entries[i];
            AElement* element = entry->element;
            if (element == nullptr || entry->state != kCommit) continue;
            Consume(entry);
            element->Simulate();
            element->Propagate();
        }

        Compact();

        if (simulationBox != nullptr && simulationBox->Poll(now) != 0) {
            if (count == 0 || entries[0]->time > limit) now = limit;
            ShowTime();
            return 1;
        }
    }
}
