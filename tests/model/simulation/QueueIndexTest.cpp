#include "model/simulation/QueueIndex.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <utility>
#include <vector>

#include "model/simulation/QueueEntry.h"

namespace {

// Keys that crowd into few probe runs: a handful of times and elements 16 bytes apart.
const AElement* ElementAt(int i) {
    static char block[16 * 64];
    return reinterpret_cast<const AElement*>(block + 16 * i);
}

} // namespace

TEST(QueueIndex, FindsWhatWasInsertedAndNothingOnceErasedThroughGrowthAndShrinking) {
    QueueIndex index;
    std::vector<QueueEntry> records(64 * 8);
    std::map<std::pair<const AElement*, SimTime>, QueueEntry*> expected;
    std::mt19937 random(5);
    for (int round = 0; round < 20000; round++) {
        int e = static_cast<int>(random() % 64);
        SimTime t = static_cast<SimTime>(random() % 8) * 100;
        auto key = std::make_pair(ElementAt(e), t);
        QueueEntry* record = &records[static_cast<size_t>(e * 8) + t / 100];
        // Mostly inserting at first, mostly erasing later, so the table grows and empties.
        bool insert = (random() % 100) < (round < 10000 ? 70u : 30u);
        if (insert && expected.count(key) == 0) {
            index.Insert(key.first, t, record);
            expected[key] = record;
        } else if (!insert) {
            index.Erase(key.first, t);
            expected.erase(key);
        }
        ASSERT_EQ(index.GetCount(), expected.size());
        if (round % 997 == 0) {
            for (int i = 0; i < 64; i++) {
                for (SimTime s = 0; s < 800; s += 100) {
                    auto found = expected.find(std::make_pair(ElementAt(i), s));
                    EXPECT_EQ(index.Find(ElementAt(i), s),
                              found != expected.end() ? found->second : nullptr);
                }
            }
        }
    }
    index.Clear();
    EXPECT_EQ(index.GetCount(), 0u);
    EXPECT_EQ(index.Find(ElementAt(1), 100), nullptr);
}
