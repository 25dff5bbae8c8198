#include "model/data/PtrArray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

TEST(PtrArray, AddingTwiceIsRefused) {
    int a = 0, b = 0;
    PtrArray<int> list;
    EXPECT_EQ(list.Add(&a), 0);
    EXPECT_EQ(list.Add(&b), 1);
    EXPECT_EQ(list.Add(&a), -1);
    EXPECT_EQ(list.GetCount(), 2);
}

TEST(PtrArray, GrowsByHundredAndResetShrinks) {
    int values[101];
    PtrArray<int> list;
    for (int i = 0; i < 100; i++)
        EXPECT_EQ(list.Add(&values[i]), i);
    EXPECT_EQ(list.GetCapacity(), 100);
    EXPECT_EQ(list.Add(&values[100]), 100);
    EXPECT_EQ(list.GetCapacity(), 200);
    for (int i = 0; i < 101; i++)
        ASSERT_EQ(list[i], &values[i]);
    list.Reset();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetCapacity(), 100);
}

TEST(PtrArray, RemoveKeepsTheOrderOfTheRest) {
    int a = 0, b = 0, c = 0;
    PtrArray<int> list;
    list.Add(&a);
    list.Add(&b);
    list.Add(&c);
    EXPECT_EQ(list.Remove(&a), 1);
    EXPECT_EQ(list.Remove(&a), -1);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list[0], &b);
    EXPECT_EQ(list[1], &c);
    EXPECT_EQ(list.Find(&c), 1);
    EXPECT_EQ(list.Find(&a), -1);
}

TEST(PtrArray, AssignmentTakesTheSourcesCapacityAndPointers) {
    int values[150];
    PtrArray<int> source;
    for (int& v : values)
        source.Add(&v);
    PtrArray<int> copy;
    int other = 0;
    copy.Add(&other);
    copy = source;
    EXPECT_EQ(copy.GetCapacity(), 200);
    ASSERT_EQ(copy.GetCount(), 150);
    EXPECT_EQ(copy[149], &values[149]);
    EXPECT_EQ(copy.Find(&other), -1);
}

// Long lists answer from an index and remove without moving everything: whatever the mix of
// additions and removals (first, last, middle), the list reads as a plain ordered list would.
TEST(PtrArray, LongListsKeepOrderIndicesAndCapacityThroughAnyRemovals) {
    struct Step {
        int add;    // pointers added at the end
        int remove; // then removed, at the position below
        enum { kFirst, kLast, kMiddle, kEveryThird } where;
    };
    const Step kSteps[] = {
        {300, 50, Step::kFirst}, {10, 40, Step::kLast},         {200, 30, Step::kMiddle},
        {5, 0, Step::kFirst},    {0, 60, Step::kEveryThird},    {400, 100, Step::kFirst},
        {1, 1, Step::kLast},     {250, 120, Step::kEveryThird}, {0, 0, Step::kFirst},
    };
    static int pool[5000];
    int next = 0;
    PtrArray<int> list;
    std::vector<int*> model;
    int expectedCapacity = 100;
    for (const Step& step : kSteps) {
        for (int k = 0; k < step.add; k++) {
            if (static_cast<int>(model.size()) == expectedCapacity) expectedCapacity += 100;
            ASSERT_EQ(list.Add(&pool[next]), static_cast<int>(model.size()));
            model.push_back(&pool[next++]);
        }
        for (int k = 0; k < step.remove && !model.empty(); k++) {
            size_t at = 0;
            switch (step.where) {
                case Step::kFirst:
                    at = 0;
                    break;
                case Step::kLast:
                    at = model.size() - 1;
                    break;
                case Step::kMiddle:
                    at = model.size() / 2;
                    break;
                case Step::kEveryThird:
                    at = (static_cast<size_t>(k) * 3) % model.size();
                    break;
            }
            ASSERT_EQ(list.Remove(model[at]), 1);
            ASSERT_EQ(list.Remove(model[at]), -1);
            model.erase(model.begin() + static_cast<long>(at));
        }
        ASSERT_EQ(list.GetCount(), static_cast<int>(model.size()));
        EXPECT_EQ(list.GetCapacity(), expectedCapacity);
        for (size_t i = 0; i < model.size(); i++) {
            ASSERT_EQ(list[static_cast<int>(i)], model[i]) << i;
            ASSERT_EQ(list.Find(model[i]), static_cast<int>(i));
            ASSERT_EQ(list.Add(model[i]), -1); // still there once
        }
        EXPECT_EQ(list.Find(&pool[4999]), -1);
    }
    // Copies and assignments see the same list.
    PtrArray<int> copy(list);
    PtrArray<int> assigned;
    assigned = list;
    for (const PtrArray<int>* other : {&copy, &assigned}) {
        ASSERT_EQ(other->GetCount(), static_cast<int>(model.size()));
        EXPECT_EQ(other->GetCapacity(), list.GetCapacity());
        for (size_t i = 0; i < model.size(); i++)
            ASSERT_EQ(other->Find(model[i]), static_cast<int>(i));
    }
    list.Reset();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetCapacity(), 100);
    EXPECT_EQ(list.Find(model.empty() ? &pool[0] : model[0]), -1);
    EXPECT_EQ(list.Add(&pool[0]), 0);
}

// A null pointer is an item like any other (lists may end at their first null entry).
TEST(PtrArray, NullIsAnItemOnce) {
    int values[40];
    PtrArray<int> list;
    for (int& value : values)
        list.Add(&value);
    EXPECT_EQ(list.Find(nullptr), -1);
    EXPECT_EQ(list.Add(nullptr), 40);
    EXPECT_EQ(list.Add(nullptr), -1);
    EXPECT_EQ(list.Remove(&values[0]), 1);
    EXPECT_EQ(list.Find(nullptr), 39);
    EXPECT_EQ(list[39], nullptr);
}

// Long runs of adds and removals in a random order keep every lookup right, whichever items
// share a place in the index.
TEST(PtrArray, RandomRemovalsAndAddsKeepEveryLookup) {
    static char pool[20000];
    std::mt19937 random(7);
    PtrArray<char> list;
    std::vector<char*> model;
    std::vector<bool> present(sizeof pool, false);
    for (int round = 0; round < 40000; round++) {
        const size_t at = random() % sizeof pool;
        char* item = &pool[at];
        if (present[at]) {
            ASSERT_EQ(list.Remove(item), 1);
            model.erase(std::find(model.begin(), model.end(), item));
        } else {
            ASSERT_EQ(list.Add(item), static_cast<int>(model.size()));
            model.push_back(item);
        }
        present[at] = !present[at];
        if (round % 4000 == 0) {
            for (size_t i = 0; i < sizeof pool; i++) {
                const auto found = std::find(model.begin(), model.end(), &pool[i]);
                const int expected =
                    found == model.end() ? -1 : static_cast<int>(found - model.begin());
                ASSERT_EQ(list.Find(&pool[i]), expected) << i;
            }
        }
    }
}
