#include "model/simulation/EventQueue.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "model/elements/AElement.h"
#include "model/elements/ElementPrefetch.h"
#include "model/simulation/ClientProcess.h"
#include "model/simulation/SimulationBoxUi.h"

namespace {

uint64_t lastEpoch = 0;

} // namespace

EventQueue::EventQueue()
    : entries(new QueueEntry*[kInitialCapacity]), merged(new QueueEntry*[kInitialCapacity]),
      capacity(kInitialCapacity), count(0), now(0), simulationBox(nullptr), running(false),
      epoch(++lastEpoch) {}

EventQueue::~EventQueue() {
    DeleteEntries();
    delete[] entries;
    delete[] merged;
}

void EventQueue::DeleteEntries() {
    for (int i = 0; i < count; i++)
        delete entries[i];
    for (QueueEntry* entry : deferred)
        delete entry;
    for (QueueEntry* entry : spare)
        delete entry;
    count = 0;
    deferred.clear();
    spare.clear();
}

void EventQueue::Clear() {
    DeleteEntries();
    if (capacity != kInitialCapacity) {
        delete[] entries;
        delete[] merged;
        entries = new QueueEntry*[kInitialCapacity];
        merged = new QueueEntry*[kInitialCapacity];
        capacity = kInitialCapacity;
    }
    count = 0;
    now = 0;
    epoch = ++lastEpoch;
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

bool EventQueue::Grow() {
    QueueEntry** larger = new (std::nothrow) QueueEntry*[capacity + kGrowth];
    QueueEntry** largerMerged = new (std::nothrow) QueueEntry*[capacity + kGrowth];
    if (larger == nullptr || largerMerged == nullptr) {
        delete[] larger;
        delete[] largerMerged;
        return false;
    }
    std::memcpy(larger, entries, sizeof(QueueEntry*) * count);
    delete[] entries;
    delete[] merged;
    entries = larger;
    merged = largerMerged;
    capacity += kGrowth;
    return true;
}

AElement::QueuedEntries& EventQueue::EntriesOf(AElement* element) const {
    AElement::QueuedEntries& list = element->GetQueuedEntries();
    if (list.epoch != epoch) list = AElement::QueuedEntries{nullptr, nullptr, epoch};
    return list;
}

QueueEntry* EventQueue::FindIn(const AElement::QueuedEntries& list, SimTime time,
                               QueueEntry*& after) {
    // Most requests come at either end of the element's times: a latch now, a commit TIME later.
    if (list.first == nullptr || time <= list.first->time) {
        after = nullptr;
        return list.first != nullptr && list.first->time == time ? list.first : nullptr;
    }
    after = list.last;
    while (after->time > time)
        after = after->earlier;
    return after->time == time ? after : nullptr;
}

void EventQueue::Link(AElement::QueuedEntries& list, QueueEntry* entry, QueueEntry* after) {
    entry->earlier = after;
    entry->later = after != nullptr ? after->later : list.first;
    if (entry->later != nullptr) {
        entry->later->earlier = entry;
    } else {
        list.last = entry;
    }
    if (after != nullptr) {
        after->later = entry;
    } else {
        list.first = entry;
    }
}

int EventQueue::Schedule(SimTime time, AElement* element, int state) {
    if (element == nullptr) return -1;
    AElement::QueuedEntries& list = EntriesOf(element);
    QueueEntry* after;
    QueueEntry* found = FindIn(list, time, after);
    if (found != nullptr) {
        // A pending request turns a commit that has not run yet back into a latch.
        if (state == kPending) found->state = kPending;
        return -1;
    }
    int before = GetCount();
    if (before == capacity && !Grow()) return -1;
    QueueEntry* entry;
    if (!spare.empty()) {
        entry = spare.back();
        spare.pop_back();
    } else {
        entry = new (std::nothrow) QueueEntry;
        if (entry == nullptr) return -1;
    }
    *entry = QueueEntry{time, state, element, nullptr, nullptr};
    if (running) {
        deferred.push_back(entry);
    } else {
        int at = UpperBound(time);
        std::memmove(entries + at + 1, entries + at, sizeof(QueueEntry*) * (count - at));
        entries[at] = entry;
        count++;
    }
    Link(list, entry, after);
    return before;
}

void EventQueue::Free(QueueEntry* entry) {
    spare.push_back(entry);
}

void EventQueue::Consume(QueueEntry* entry) {
    AElement::QueuedEntries& list = entry->element->GetQueuedEntries();
    if (entry->earlier != nullptr) {
        entry->earlier->later = entry->later;
    } else {
        list.first = entry->later;
    }
    if (entry->later != nullptr) {
        entry->later->earlier = entry->earlier;
    } else {
        list.last = entry->earlier;
    }
    entry->element = nullptr;
}

void EventQueue::Remove(AElement* element) {
    if (element == nullptr || EntriesOf(element).first == nullptr) return;
    int kept = 0;
    for (int i = 0; i < count; i++) {
        QueueEntry* entry = entries[i];
        if (entry->element == element) {
            Consume(entry);
            Free(entry);
        } else {
            entries[kept++] = entry;
        }
    }
    count = kept;
    auto gone = std::remove_if(deferred.begin(), deferred.end(), [&](QueueEntry* entry) {
        if (entry->element != element) return false;
        Consume(entry);
        Free(entry);
        return true;
    });
    deferred.erase(gone, deferred.end());
}

void EventQueue::Compact() {
    int handled = 0;
    while (handled < count && entries[handled]->element == nullptr)
        Free(entries[handled++]);
    if (deferred.empty()) {
        if (handled == 0) return;
        count -= handled;
        std::memmove(entries, entries + handled, sizeof(QueueEntry*) * count);
        return;
    }
    // Most new entries are successors at the current time, already in order; only the others
    // may need sorting, and mostly they share one or two times.
    auto earlier = [](const QueueEntry* a, const QueueEntry* b) { return a->time < b->time; };
    size_t atNow = 0;
    later.clear();
    for (QueueEntry* entry : deferred) {
        if (entry->time == now) {
            deferred[atNow++] = entry;
        } else {
            later.push_back(entry);
        }
    }
    if (!std::is_sorted(later.begin(), later.end(), earlier)) {
        std::stable_sort(later.begin(), later.end(), earlier);
    }
    std::copy(later.begin(), later.end(), deferred.begin() + static_cast<long>(atNow));
    // Among equal times the array's entries were scheduled before this cycle's.
    int from = handled;
    size_t next = 0;
    int to = 0;
    while (from < count && next < deferred.size()) {
        if (deferred[next]->time < entries[from]->time) {
            merged[to++] = deferred[next++];
        } else {
            merged[to++] = entries[from++];
        }
    }
    while (from < count)
        merged[to++] = entries[from++];
    while (next < deferred.size())
        merged[to++] = deferred[next++];
    std::swap(entries, merged);
    count = to;
    deferred.clear();
}

void EventQueue::ShowTime() {
    if (simulationBox != nullptr) simulationBox->ShowTime(now);
}

namespace {

// For the time of a run a C++ element waiting for its client polls the box, so that Break
// stays live however long the client takes.
class BreakBoxScope {
public:
    explicit BreakBoxScope(SimulationBoxUi* box) : previous(ClientProcess::GetBreakBox()) {
        ClientProcess::SetBreakBox(box);
    }
    ~BreakBoxScope() { ClientProcess::SetBreakBox(previous); }
    BreakBoxScope(const BreakBoxScope&) = delete;
    BreakBoxScope& operator=(const BreakBoxScope&) = delete;

private:
    SimulationBoxUi* previous;
};

// How many entries ahead of the latch or step the record and each level of pointers are
// prefetched: far enough that the level before has arrived, near enough that nothing is evicted
// again before it is used.
const int kRecordAhead = 16;
const int kLatchAhead[kLatchPrefetchLevels] = {12, 9, 6, 4, 2};
const int kStepAhead[kStepPrefetchLevels] = {12, 8, 5, 2};
// A smaller batch touches little enough memory to stay in the caches, where prefetching only
// costs.
const int kPrefetchBatch = 512;

} // namespace

QUIRAN_ALWAYS_INLINE void EventQueue::PrefetchAhead(int i, int batchEnd, int state) const {
    if (i + kRecordAhead < batchEnd) PrefetchBytes(entries[i + kRecordAhead], sizeof(QueueEntry));
    const bool latch = state == kPending;
    const int levels = latch ? kLatchPrefetchLevels : kStepPrefetchLevels;
    for (int level = 0; level < levels; level++) {
        const int ahead = i + (latch ? kLatchAhead[level] : kStepAhead[level]);
        if (ahead >= batchEnd) continue;
        // Only the entries this pass handles: the other pass's would be evicted before their turn.
        const QueueEntry* entry = entries[ahead];
        if (entry->element == nullptr || entry->state != state) continue;
        if (latch) {
            entry->element->PrefetchLatch(level);
        } else {
            entry->element->PrefetchStep(level);
        }
    }
}

int EventQueue::RunUntil(SimTime limit) {
    const BreakBoxScope breakBox(simulationBox);
    for (;;) {
        if (count == 0 || entries[0]->time > limit) {
            now = limit;
            ShowTime();
            return 1;
        }
        now = entries[0]->time;
        running = true;

        // Latch pass: the batch is every entry of the current time.
        int batchEnd = 0;
        while (batchEnd < count && entries[batchEnd]->time == now)
            batchEnd++;
        const bool prefetch = batchEnd >= kPrefetchBatch;
        for (int i = 0; i < batchEnd; i++) {
            if (prefetch) PrefetchAhead(i, batchEnd, kPending);
            QueueEntry* entry = entries[i];
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
        // period) gets a new entry instead of reviving the one that is running. Entries scheduled
        // here wait for the next cycle.
        for (int i = 0; i < batchEnd; i++) {
            if (prefetch) PrefetchAhead(i, batchEnd, kCommit);
            QueueEntry* entry = entries[i];
            AElement* element = entry->element;
            if (element == nullptr || entry->state != kCommit) continue;
            Consume(entry);
            element->Simulate();
            element->Propagate();
        }

        running = false;
        Compact();

        if (simulationBox != nullptr && simulationBox->Poll(now) != 0) {
            if (count == 0 || entries[0]->time > limit) now = limit;
            ShowTime();
            return 1;
        }
    }
}
