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
