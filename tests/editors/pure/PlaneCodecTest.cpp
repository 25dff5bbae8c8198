#include <gtest/gtest.h>

#include "editors/PlaneCodec.h"

#include <climits>
#include <string>
#include <vector>

#include "model/data/Matrix.h"

namespace {

CodecSettings Settings(int32_t direction, int32_t coding, int32_t interleave, int32_t offset,
                       int32_t sign = kUnsigned, int32_t line = 0) {
    return {direction, sign, coding, line, interleave, offset};
}

// The coordinate along the line of every value cell, least significant first.
std::vector<int> Positions(int width, int height, const CodecSettings& settings) {
    std::vector<int> positions;
    const bool row = settings.direction == kEastWest || settings.direction == kWestEast;
    for (const CodecCell& cell : CodecValueCells(width, height, settings))
        positions.push_back(row ? cell.x : cell.y);
    return positions;
}

struct LayoutCase {
    const char* what;
    int width;
    int height;
    CodecSettings settings;
    std::vector<int> positions;
};

} // namespace

TEST(PlaneCodec, LaysTheValueCellsAlongTheLine) {
    const LayoutCase cases[] = {
        {"east-west", 8, 1, Settings(kEastWest, kDual, 0, 0), {7, 6, 5, 4, 3, 2, 1, 0}},
        {"east-west, offset 2", 8, 1, Settings(kEastWest, kDual, 0, 2), {5, 4, 3, 2, 1, 0}},
        {"east-west, offset -2", 8, 1, Settings(kEastWest, kDual, 0, -2), {7, 6, 5, 4, 3, 2}},
        {"west-east", 8, 1, Settings(kWestEast, kDual, 0, 0), {0, 1, 2, 3, 4, 5, 6, 7}},
        {"west-east, offset -3", 8, 1, Settings(kWestEast, kDual, 0, -3), {0, 1, 2, 3, 4}},
        {"pairs", 8, 1, Settings(kWestEast, kDualRailHor, 0, 0), {0, 2, 4, 6}},
        {"pairs, interleave 1", 8, 1, Settings(kWestEast, kDualRailHor, 1, 0), {0, 3, 6}},
        // (8 + 1) mod 3 = 0 cells are left over at the far end, then one more for the offset.
        {"pairs, interleave 1, offset -1", 8, 1, Settings(kWestEast, kDualRailHor, 1, -1), {2, 5}},
        {"east-west, interleave 2", 8, 1, Settings(kEastWest, kDual, 2, 0), {7, 4, 1}},
        // (8 + 2) mod 3 = 1: the most significant cell ends 1 + 1 cells before the west end.
        {"east-west, interleave 2, offset -1", 8, 1, Settings(kEastWest, kDual, 2, -1), {5, 2}},
        {"south-north", 1, 5, Settings(kSouthNorth, kDual, 0, 1), {1, 2, 3, 4}},
        {"north-south", 1, 5, Settings(kNorthSouth, kDual, 0, 1), {3, 2, 1, 0}},
        {"north-south pairs", 1, 6, Settings(kNorthSouth, kDualRailVer, 0, 0), {4, 2, 0}},
        {"bad direction", 8, 1, Settings(4, kDual, 0, 0), {}},
        {"bad coding", 8, 1, Settings(kWestEast, 3, 1, 0), {}},
        {"one column, pairs", 1, 8, Settings(kSouthNorth, kDualRailHor, 0, 0), {}},
        {"one row, vertical pairs", 8, 1, Settings(kWestEast, kDualRailVer, 0, 0), {}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Positions(c.width, c.height, c.settings), c.positions);
    }
}

TEST(PlaneCodec, LinePicksTheRowOrColumn) {
    const std::vector<CodecCell> row =
        CodecValueCells(4, 3, Settings(kWestEast, kDual, 0, 0, kUnsigned, 2));
    ASSERT_EQ(row.size(), 4u);
    EXPECT_EQ(row[3].x, 3);
    EXPECT_EQ(row[3].y, 2);
    const std::vector<CodecCell> column =
        CodecValueCells(4, 3, Settings(kSouthNorth, kDual, 0, 0, kUnsigned, 1));
    ASSERT_EQ(column.size(), 3u);
    EXPECT_EQ(column[2].x, 1);
    EXPECT_EQ(column[2].y, 2);
}

struct RangeCase {
    int count;
    int32_t sign;
    int32_t minimum;
    int32_t maximum;
};

TEST(PlaneCodec, RangeFollowsCellsAndSign) {
    const RangeCase cases[] = {
        {3, kUnsigned, 0, 7},
        {3, kTwosComplement, -4, 3},
        {1, kTwosComplement, -1, 0},
        {0, kUnsigned, 0, 0},
        {0, kTwosComplement, INT32_MIN, INT32_MAX},
        {31, kUnsigned, 0, INT32_MAX},
        {31, kTwosComplement, -1073741824, 1073741823},
        {32, kUnsigned, 0, INT32_MAX},
        {40, kUnsigned, 0, INT32_MAX},
        {32, kTwosComplement, -2147483646, INT32_MAX},
        {40, kTwosComplement, -2147483646, INT32_MAX},
        {5, 2, 0, 0},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.count);
        SCOPED_TRACE(c.sign);
        int32_t minimum = 1;
        int32_t maximum = 1;
        CodecValueRange(c.count, c.sign, &minimum, &maximum);
        EXPECT_EQ(minimum, c.minimum);
        EXPECT_EQ(maximum, c.maximum);
    }
}

TEST(PlaneCodec, ThreeSetCellsReadBySign) {
    Matrix plane(3, 1);
    plane.SetAll();
    EXPECT_EQ(CodecReadValue(plane, Settings(kWestEast, kDual, 0, 0, kUnsigned)), 7);
    EXPECT_EQ(CodecReadValue(plane, Settings(kWestEast, kDual, 0, 0, kTwosComplement)), -1);
    plane.ClearBit(2, 0); // the top cell: no sign
    EXPECT_EQ(CodecReadValue(plane, Settings(kWestEast, kDual, 0, 0, kTwosComplement)), 3);
    plane.ClearBit(0, 0);
    plane.SetBit(2, 0, 1); // cells 0, 1, 1: -4 + 2
    EXPECT_EQ(CodecReadValue(plane, Settings(kWestEast, kDual, 0, 0, kTwosComplement)), -2);
}

struct WriteCase {
    const char* what;
    int width;
    CodecSettings settings;
    int32_t value;
    const char* cells; // the row after writing into an empty one, column 0 first
    int32_t written;
};

TEST(PlaneCodec, WritesValuesAndReadsThemBack) {
    const WriteCase cases[] = {
        {"-1 into three", 3, Settings(kWestEast, kDual, 0, 0, kTwosComplement), -1, "111", -1},
        {"-4 into three", 3, Settings(kWestEast, kDual, 0, 0, kTwosComplement), -4, "001", -4},
        {"6 east-west", 4, Settings(kEastWest, kDual, 0, 0), 6, "0110", 6},
        {"5 with gaps", 6, Settings(kWestEast, kDual, 1, 0), 5, "100010", 5},
        {"2 in pairs", 6, Settings(kWestEast, kDualRailHor, 0, 0), 2, "011001", 2},
        {"too wide saturates", 3, Settings(kWestEast, kDual, 0, 0), 100, "111", 7},
        {"negative into +", 3, Settings(kWestEast, kDual, 0, 0), -5, "000", 0},
        {"too low saturates", 3, Settings(kWestEast, kDual, 0, 0, kTwosComplement), -9, "001", -4},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.what);
        Matrix plane(c.width, 1);
        EXPECT_EQ(CodecWriteValue(plane, c.settings, c.value), c.written);
        std::string row;
        for (int x = 0; x < c.width; x++)
            row += plane(x, 0) ? '1' : '0';
        EXPECT_EQ(row, c.cells);
        EXPECT_EQ(CodecReadValue(plane, c.settings), c.written);
    }
}

TEST(PlaneCodec, FortyCellsReadThirtyOneAndClearTheRest) {
    const CodecSettings settings = Settings(kWestEast, kDual, 0, 0, kUnsigned);
    Matrix plane(40, 1);
    plane.SetAll();
    EXPECT_EQ(CodecCellCount(40, 1, settings), 40);
    EXPECT_EQ(CodecValueCells(40, 1, settings).size(), 40u);
    EXPECT_EQ(CodecReadValue(plane, settings), INT32_MAX);
    CodecWriteValue(plane, settings, INT32_MAX);
    for (int x = 0; x < 40; x++)
        EXPECT_EQ(plane(x, 0), x < 31 ? 1 : 0) << x;
    // "-/+" reads 32 cells and takes no sign beyond them.
    plane.SetAll();
    const CodecSettings signedSettings = Settings(kWestEast, kDual, 0, 0, kTwosComplement);
    EXPECT_EQ(CodecReadValue(plane, signedSettings), -1);
    plane.ClearBit(31, 0);
    EXPECT_EQ(CodecReadValue(plane, signedSettings), INT32_MAX);
    plane.SetBit(31, 0, 1);
    plane.ClearBit(0, 0);
    EXPECT_EQ(CodecReadValue(plane, signedSettings), -2);
}

TEST(PlaneCodec, AOneCellWidePlaneHasNoHorizontalPairs) {
    // Across a row the pair still fits below the top row (H - 1); across a column nothing fits.
    const struct {
        int32_t direction;
        int32_t lineMax;
    } kDirections[] = {{kEastWest, 3}, {kWestEast, 3}, {kSouthNorth, 0}, {kNorthSouth, 0}};
    for (const auto& d : kDirections) {
        SCOPED_TRACE(d.direction);
        const CodecSettings settings = Settings(d.direction, kDualRailHor, 0, 0);
        Matrix plane(1, 4);
        plane.SetAll();
        EXPECT_EQ(CodecCellCount(1, 4, settings), 0);
        EXPECT_FALSE(CodecUsable(1, 4, settings));
        EXPECT_EQ(CodecReadValue(plane, settings), 0);
        EXPECT_TRUE(CodecWriteChanges(plane, settings, 1).empty());
        const CodecLimits limits = CodecLineLimits(1, 4, settings);
        EXPECT_TRUE(limits.valid);
        EXPECT_EQ(limits.lineMax, d.lineMax);
        EXPECT_EQ(limits.offsetMin, 0);
        EXPECT_EQ(limits.offsetMax, 0);
    }
}

// A coding outside the three has value cells of no extent: there are none, whatever the gap.
TEST(PlaneCodec, ACellOfNoExtentGivesNoValueCells) {
    for (int32_t coding : {-1, 3}) {
        for (int32_t interleave : {0, 1, 2, 7}) {
            for (int32_t direction : {kEastWest, kSouthNorth}) {
                SCOPED_TRACE(std::to_string(coding) + " " + std::to_string(interleave));
                const CodecSettings settings = Settings(direction, coding, interleave, 0);
                EXPECT_EQ(CodecCellCount(8, 4, settings), 0);
                EXPECT_TRUE(CodecValueCells(8, 4, settings).empty());
            }
        }
    }
}

// The Interleave field's offset bounds come from the same rule as the limits: the minimum never
// exceeds the maximum, for every interleave the field allows.
TEST(PlaneCodec, OffsetBoundsNeverCross) {
    for (int width = 1; width <= 9; width++) {
        for (int height = 1; height <= 9; height++) {
            for (int32_t direction = kEastWest; direction <= kNorthSouth; direction++) {
                for (int32_t coding = kDual; coding <= kDualRailHor; coding++) {
                    const CodecLimits limits =
                        CodecLineLimits(width, height, Settings(direction, coding, 0, 0));
                    for (int32_t interleave = 0; interleave <= limits.interleaveMax; interleave++) {
                        int32_t minimum = 0;
                        int32_t maximum = 0;
                        CodecOffsetBounds(width, height, Settings(direction, coding, interleave, 0),
                                          &minimum, &maximum);
                        ASSERT_LE(minimum, maximum) << width << "x" << height << " d" << direction
                                                    << " c" << coding << " g" << interleave;
                    }
                }
            }
        }
    }
}

TEST(PlaneCodec, DualRailCellsHoldComplementaryPairs) {
    // Vertical: the upper cell holds the bit.
    Matrix plane(1, 2);
    plane.SetBit(0, 0, 1);
    EXPECT_EQ(CodecGetValueCell(plane, kDualRailVer, 0, 0), 0);
    const std::vector<CodecCell> swap = CodecValueCellChanges(plane, kDualRailVer, 0, 0, 1);
    ASSERT_EQ(swap.size(), 2u);
    CodecWriteValue(plane, Settings(kWestEast, kDualRailVer, 0, 0), 1);
    EXPECT_EQ(plane(0, 1), 1);
    EXPECT_EQ(plane(0, 0), 0);
    EXPECT_TRUE(CodecValueCellChanges(plane, kDualRailVer, 0, 0, 1).empty());
    // Horizontal: the left cell holds it; a pair needs two columns.
    Matrix row(3, 1);
    CodecWriteValue(row, Settings(kWestEast, kDualRailHor, 0, 0), 0);
    EXPECT_EQ(row(0, 0), 0);
    EXPECT_EQ(row(1, 0), 1);
    EXPECT_EQ(row(2, 0), 0); // no room for a second pair
    EXPECT_TRUE(CodecValueCellChanges(row, kDualRailHor, 2, 0, 1).empty());
    EXPECT_EQ(CodecGetValueCell(row, kDualRailHor, 2, 0), 0);
}

struct LimitCase {
    const char* what;
    int width;
    int height;
    CodecSettings settings;
    CodecLimits limits;
};

TEST(PlaneCodec, LimitsKeepAValueCellOnThePlane) {
    const LimitCase cases[] = {
        {"dual row", 8, 4, Settings(kEastWest, kDual, 0, 0), {true, 3, 7, 7, -7}},
        {"pairs, interleave 1", 8, 4, Settings(kWestEast, kDualRailHor, 1, 0), {true, 3, 6, 6, -6}},
        {"vertical pairs in rows",
         8,
         4,
         Settings(kWestEast, kDualRailVer, 0, 0),
         {true, 2, 7, 7, -7}},
        {"column", 3, 6, Settings(kSouthNorth, kDual, 2, 0), {true, 2, 5, 5, -3}},
        {"one column", 1, 6, Settings(kWestEast, kDual, 0, 0), {true, 5, 0, 0, 0}},
        {"bad direction", 8, 4, Settings(7, kDual, 0, 0), {false, 0, 0, 0, 0}},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.what);
        const CodecLimits limits = CodecLineLimits(c.width, c.height, c.settings);
        EXPECT_EQ(limits.valid, c.limits.valid);
        EXPECT_EQ(limits.lineMax, c.limits.lineMax);
        EXPECT_EQ(limits.interleaveMax, c.limits.interleaveMax);
        EXPECT_EQ(limits.offsetMax, c.limits.offsetMax);
        EXPECT_EQ(limits.offsetMin, c.limits.offsetMin);
        if (!limits.valid) continue;
        // Both ends of the offset range leave at least one value cell.
        for (int32_t offset : {limits.offsetMin, limits.offsetMax}) {
            CodecSettings s = c.settings;
            s.offset = offset;
            EXPECT_GE(CodecCellCount(c.width, c.height, s), 1) << offset;
        }
    }
}

TEST(PlaneCodec, ClampPullsSettingsIntoTheLimits) {
    CodecSettings settings = Settings(kEastWest, kDual, 50, -40, kUnsigned, 9);
    CodecClampSettings(8, 4, &settings);
    EXPECT_EQ(settings.line, 3);
    EXPECT_EQ(settings.interleave, 7);
    // With interleave 7 the offset's minimum is 1 + (15 mod 8) - 8 = 0.
    EXPECT_EQ(settings.offset, 0);
    EXPECT_GE(CodecCellCount(8, 4, settings), 1);
    settings = Settings(kWestEast, kDual, 0, 99);
    CodecClampSettings(8, 4, &settings);
    EXPECT_EQ(settings.offset, 7);
}

TEST(PlaneCodec, NoSettingsReachOutsideThePlane) {
    // Settings the limits never allow still give cells inside the plane or none at all.
    const int32_t values[] = {INT32_MIN, -100000, -9, -3, -1, 0, 1, 2, 5, 9, 100000, INT32_MAX};
    const int sizes[][2] = {{1, 1}, {2, 1}, {1, 2}, {5, 3}, {8, 8}};
    for (const auto& size : sizes) {
        Matrix plane(size[0], size[1], 1);
        for (int32_t direction = -1; direction <= 4; direction++) {
            for (int32_t coding = -1; coding <= 3; coding++) {
                for (int32_t interleave : values) {
                    for (int32_t offset : values) {
                        for (int32_t line : {INT32_MIN, -1, 0, 1, 7, INT32_MAX}) {
                            const CodecSettings s = {direction, kTwosComplement, coding,
                                                     line,      interleave,      offset};
                            for (const CodecCell& cell : CodecWriteChanges(plane, s, INT32_MIN)) {
                                ASSERT_GE(cell.x, 0);
                                ASSERT_GE(cell.y, 0);
                                ASSERT_LT(cell.x, size[0]);
                                ASSERT_LT(cell.y, size[1]);
                            }
                            CodecReadValue(plane, s);
                            CodecSettings clamped = s;
                            CodecClampSettings(size[0], size[1], &clamped);
                            if (direction < 0 || direction > 3 || coding < 0 || coding > 2) {
                                continue;
                            }
                            if (!CodecUsable(size[0], size[1], clamped)) continue;
                            for (const CodecCell& cell :
                                 CodecValueCells(size[0], size[1], clamped)) {
                                ASSERT_GE(cell.x, 0);
                                ASSERT_GE(cell.y, 0);
                                ASSERT_LT(cell.x, size[0]);
                                ASSERT_LT(cell.y, size[1]);
                            }
                        }
                    }
                }
            }
        }
    }
}
