#include "model/data/PtrArray.h"

#include <gtest/gtest.h>

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
