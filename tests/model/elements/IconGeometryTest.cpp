#include "model/elements/IconGeometry.h"

#include <gtest/gtest.h>

#include "model/elements/ElementType.h"

struct SizeCase {
    uint32_t type;
    int inputs, outputs, width, height;
};
const SizeCase kSizes[] = {
    {kMask, 1, 1, 60, 30},  {kJoin, 3, 1, 60, 60},       {kSplit, 1, 2, 60, 45},
    {kMacro, 0, 0, 60, 30}, {kMacroInput, 0, 1, 25, 18}, {kMacroOutput, 1, 0, 25, 18},
};

TEST(IconGeometry, IconSizeGrowsWithTheTallerSide) {
    for (const SizeCase& c : kSizes) {
        SCOPED_TRACE(c.inputs * 10 + c.outputs);
        int width, height;
        IconSize(c.type, c.inputs, c.outputs, width, height);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
    }
}

struct HitCase {
    int px, py, inputs, outputs, code;
};
const HitCase kHits[] = {
    {3, 11, 1, 1, 2},  {3, 20, 1, 1, 0},  {3, 19, 1, 1, 2},  {3, 10, 1, 1, 0},  {57, 26, 1, 2, 5},
    {57, 26, 1, 1, 0}, {54, 11, 1, 1, 3}, {53, 11, 1, 1, 0}, {60, 26, 1, 2, 5}, {0, 26, 2, 1, 4},
    {6, 26, 2, 1, 4},  {7, 26, 2, 1, 0},  {30, 11, 1, 1, 0},
};

TEST(IconGeometry, PinAtFindsTheBoxUnderThePoint) {
    for (const HitCase& c : kHits) {
        SCOPED_TRACE(testing::Message() << c.px << "," << c.py);
        EXPECT_EQ(PinAt(c.px, c.py, 60, c.inputs, c.outputs), c.code);
    }
}

TEST(IconGeometry, PinEndPointsLieJustOutsideTheIcon) {
    int px = 0, py = 0;
    EXPECT_EQ(PinEndPoint(2, 100, 40, 60, 1, 1, px, py), 0);
    EXPECT_EQ(px, 99);
    EXPECT_EQ(py, 55);
    EXPECT_EQ(PinEndPoint(5, 100, 40, 60, 1, 2, px, py), 0);
    EXPECT_EQ(px, 161);
    EXPECT_EQ(py, 70);
    const int kMissing[] = {0, 1, 5, 4};
    for (int code : kMissing)
        EXPECT_EQ(PinEndPoint(code, 100, 40, 60, 1, 1, px, py), -1);
}

TEST(IconGeometry, ContainsLeavesOutRightAndBottomEdgesIntersectsCountsThem) {
    EXPECT_TRUE(IconContains(10, 10, 60, 30, 10, 10));
    EXPECT_TRUE(IconContains(10, 10, 60, 30, 69, 39));
    EXPECT_FALSE(IconContains(10, 10, 60, 30, 70, 20));
    EXPECT_FALSE(IconContains(10, 10, 60, 30, 20, 40));
    EXPECT_TRUE(IconIntersects(10, 10, 60, 30, 70, 40, 5, 5));
    EXPECT_TRUE(IconIntersects(10, 10, 60, 30, 0, 0, 10, 10));
    EXPECT_FALSE(IconIntersects(10, 10, 60, 30, 71, 10, 5, 5));
    EXPECT_FALSE(IconIntersects(10, 10, 60, 30, 10, 0, 5, 9));
}

TEST(IconGeometry, NamesAreCentredButKeepTheMargin) {
    EXPECT_EQ(NameX(60, 20), 20);
    EXPECT_EQ(NameX(60, 44), 8);
    EXPECT_EQ(NameX(60, 100), 8);
    EXPECT_EQ(NameBaseline(30, 10), 20);
}
