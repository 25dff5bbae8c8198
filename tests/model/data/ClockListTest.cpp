#include "model/data/ClockList.h"

#include <gtest/gtest.h>

namespace {

TEST(ClockList, GrowsByThreeAndClearShrinksBack) {
    ClockList list;
    EXPECT_EQ(list.GetCapacity(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(list.Add(10u * (i + 1), 0), i);
    EXPECT_EQ(list.GetCapacity(), 3);
    EXPECT_EQ(list.Add(40, 4), 3);
    EXPECT_EQ(list.GetCapacity(), 6);
    EXPECT_EQ(list.GetT(3), 40u);
    EXPECT_EQ(list.GetO(3), 4u);
    EXPECT_EQ(list.GetT(0), 10u);
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetCapacity(), 3);
}

TEST(ClockList, ToStringFormatsPeriodAndOffset) {
    ClockList list;
    list.Add(100, 0);
    list.Add(4294967295u, 7);
    EXPECT_STREQ(list.ToString(0), "T=100, O=0");
    EXPECT_STREQ(list.ToString(1), "T=4294967295, O=7");
    EXPECT_EQ(list.ToString(2), nullptr);
    EXPECT_EQ(list.ToString(-1), nullptr);
}

TEST(ClockList, RemoveMovesTheLaterClocksDown) {
    ClockList list;
    list.Add(1, 0);
    list.Add(2, 0);
    list.Add(3, 0);
    EXPECT_EQ(list.Remove(0), 1);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetT(0), 2u);
    EXPECT_EQ(list.GetT(1), 3u);
    EXPECT_EQ(list.Remove(2), -1);
    EXPECT_EQ(list.Remove(-1), -1);
}

struct OutsideCase {
    int index;
};

const OutsideCase kOutside[] = {{1}, {2}, {100}, {-1}};

TEST(ClockList, IndicesOutsideTheListAreRefused) {
    ClockList list;
    list.Add(100, 5);
    for (const OutsideCase& c : kOutside) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(list.GetT(c.index), 0u);
        EXPECT_EQ(list.GetO(c.index), 0u);
        EXPECT_EQ(list.Set(c.index, 1, 1), -1);
    }
    EXPECT_EQ(list.Set(0, 7, 8), 1);
    EXPECT_EQ(list.GetT(0), 7u);
    EXPECT_EQ(list.GetO(0), 8u);
}

TEST(ClockList, AssignmentCopiesClocksAndCapacity) {
    ClockList source;
    for (int i = 0; i < 4; ++i)
        source.Add(i, i);
    ClockList copy;
    copy.Add(99, 99);
    copy = source;
    EXPECT_EQ(copy.GetCount(), 4);
    EXPECT_EQ(copy.GetCapacity(), 6);
    EXPECT_EQ(copy.GetT(3), 3u);
    const ClockList& self = copy;
    copy = self;
    EXPECT_EQ(copy.GetCount(), 4);
    EXPECT_EQ(copy.GetO(2), 2u);
    ClockList constructed(source);
    EXPECT_EQ(constructed.GetT(1), 1u);
}

TEST(ClockTable, ResetLeavesOneClockOfPeriod100) {
    AddClock(5, 5);
    ResetClocks();
    EXPECT_EQ(GetClockCount(), 1);
    EXPECT_EQ(GetClockPeriod(0), 100u);
    EXPECT_EQ(GetClockOffset(0), 0u);
    EXPECT_STREQ(ClockString(0), "T=100, O=0");
    EXPECT_EQ(GetClockPeriod(-1), 0u); // clock number 0: no clock
    EXPECT_EQ(GetClockPeriod(1), 0u);
    EXPECT_EQ(ClockString(1), nullptr);

    EXPECT_EQ(AddClock(30, 10), 1);
    EXPECT_EQ(SetClock(1, 31, 11), 1);
    EXPECT_EQ(SetClock(2, 1, 1), -1);
    EXPECT_STREQ(ClockString(1), "T=31, O=11");

    ClockList edited;
    edited.Add(7, 1);
    SetClocks(edited);
    EXPECT_EQ(GetClockCount(), 1);
    EXPECT_EQ(GetClocks().GetT(0), 7u);
    SetClocks(GetClocks());
    EXPECT_EQ(GetClockCount(), 1);
    ResetClocks();
}

} // namespace
