#include <gtest/gtest.h>

#include "toolkit/MatrixGeometry.h"

#include <string>

namespace {

void ExpectRect(const PixelRect& r, int x, int y, int width, int height) {
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.width, width);
    EXPECT_EQ(r.height, height);
}

struct CellCase {
    int dimY;
    int zoom;
    int x;
    int y;
    int left;
    int top;
    int size;
};

const CellCase kCells[] = {
    {4, 100, 0, 3, 11, 11, 24},                             // top row is drawn first
    {4, 100, 0, 0, 11, 86, 24},                             // row 0 at the bottom
    {4, 100, 3, 1, 86, 61, 24}, {16, 12, 5, 15, 26, 11, 2}, // pitch 3
    {16, 13, 5, 15, 26, 11, 2},                             // zoom 13 is still pitch 3
    {1, 150, 0, 0, 11, 11, 36},
};

TEST(MatrixGeometry, CellsCountRowsFromTheBottom) {
    for (const CellCase& c : kCells) {
        SCOPED_TRACE(std::to_string(c.zoom) + ": " + std::to_string(c.x) + "," +
                     std::to_string(c.y));
        ExpectRect(MatrixCellRect(c.dimY, c.zoom, c.x, c.y), c.left, c.top, c.size, c.size);
    }
}

TEST(MatrixGeometry, FrameAndHighlightEncloseTheGrid) {
    ExpectRect(MatrixFrameRect(4, 3, 100), 9, 9, 102, 77);
    // Block of 2 by 2 with lower left cell (1, 0) on a 4 by 3 matrix.
    ExpectRect(MatrixHighlightRect(3, 100, 1, 0, 2, 2), 35, 35, 50, 50);
    ExpectRect(MatrixHighlightRect(3, 100, 0, 0, 4, 3), 10, 10, 100, 75);
    ExpectRect(MatrixTopMargin(4, 100), 0, 0, 119, 9);
    ExpectRect(MatrixRightMargin(4, 3, 100), 112, 0, 9, 94);
}

TEST(MatrixGeometry, GridHasOneLinePerCellEdge) {
    struct LineCase {
        int cells;
        int zoom;
        int lines;
    };
    // Lines at 10 + k * pitch up to pitch * cells + 11: one more than cells, and at pitch 1
    // the last line one pixel beyond the frame.
    const LineCase cases[] = {{4, 100, 5}, {16, 12, 17}, {1, 8, 2}, {3, 4, 5}};
    for (const LineCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.cells) + " at " + std::to_string(c.zoom));
        int vertical = 0;
        PixelSegment s{};
        while (MatrixVerticalLine(c.cells, 2, c.zoom, vertical, &s)) {
            EXPECT_EQ(s.x1, 10 + vertical * CellPitch(c.zoom));
            EXPECT_EQ(s.y1, 10);
            EXPECT_EQ(s.y2, 2 * CellPitch(c.zoom) + 10);
            ++vertical;
        }
        EXPECT_EQ(vertical, c.lines);
        int horizontal = 0;
        while (MatrixHorizontalLine(2, c.cells, c.zoom, horizontal, &s)) {
            EXPECT_EQ(s.y1, 10 + horizontal * CellPitch(c.zoom));
            EXPECT_EQ(s.x2, 2 * CellPitch(c.zoom) + 10);
            ++horizontal;
        }
        EXPECT_EQ(horizontal, c.lines);
    }
}

TEST(MatrixGeometry, ZoomBelowFourDrawsNoGrid) {
    PixelSegment s{};
    EXPECT_EQ(CellPitch(3), 0);
    EXPECT_FALSE(MatrixVerticalLine(4, 4, 3, 0, &s));
    EXPECT_FALSE(MatrixHorizontalLine(4, 4, 0, 0, &s));
}

} // namespace
