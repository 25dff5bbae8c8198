#include "model/data/LinkStack.h"

#include <gtest/gtest.h>

TEST(LinkStack, PopsInReverseOrderOfPush) {
    LinkStack stack;
    EXPECT_EQ(stack.Push(0, 3, 1, 2), 0);
    EXPECT_EQ(stack.Push(1, 5, 2, 4), 1);
    int32_t id, pin, other, otherPin;
    ASSERT_EQ(stack.Pop(id, pin, other, otherPin), 1);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(pin, 5);
    EXPECT_EQ(other, 2);
    EXPECT_EQ(otherPin, 4);
    ASSERT_EQ(stack.Pop(id, pin, other, otherPin), 1);
    EXPECT_EQ(id, 0);
    EXPECT_EQ(otherPin, 2);
    id = 77;
    EXPECT_EQ(stack.Pop(id, pin, other, otherPin), 0);
    EXPECT_EQ(id, 77);
}

TEST(LinkStack, GrowsByFiftyAndClearShrinks) {
    LinkStack stack;
    for (int i = 0; i < 101; i++)
        ASSERT_EQ(stack.Push(i, 2, i, 3), i);
    EXPECT_EQ(stack.GetCapacity(), 150);
    stack.Clear();
    EXPECT_EQ(stack.GetCount(), 0);
    EXPECT_EQ(stack.GetCapacity(), 100);
    EXPECT_EQ(stack.Push(9, 2, 8, 3), 0);
}

// A file of many elements pushes many links: the capacity still grows by fifty at a time and
// every record comes back, last first.
TEST(LinkStack, ManyRecordsGrowByFiftyAndPopInReverse) {
    LinkStack stack;
    const int kCount = 10000;
    for (int i = 0; i < kCount; i++) {
        ASSERT_EQ(stack.Push(i, 2 * (i % 7) + 2, i + 1, 2 * (i % 5) + 3), i);
        ASSERT_EQ(stack.GetCapacity(), i < 100 ? 100 : 100 + 50 * ((i - 100) / 50 + 1));
    }
    int32_t id, pin, other, otherPin;
    for (int i = kCount - 1; i >= 0; i--) {
        ASSERT_EQ(stack.Pop(id, pin, other, otherPin), 1);
        ASSERT_EQ(id, i);
        ASSERT_EQ(pin, 2 * (i % 7) + 2);
        ASSERT_EQ(other, i + 1);
        ASSERT_EQ(otherPin, 2 * (i % 5) + 3);
    }
    EXPECT_EQ(stack.Pop(id, pin, other, otherPin), 0);
    stack.Clear();
    EXPECT_EQ(stack.GetCapacity(), 100);
}
