#include <gtest/gtest.h>

#include "toolkit/GridViewport.h"

namespace {

struct SizeCase {
    int zoom;
    int cells;
    int64_t virtualSize;
    int area;
};

// The sizes that 16 bits wrapped to 0 or to a small width, and the largest plane at both ends
// of the zoom scale.
const SizeCase kSizes[] = {
    {100, 1, 46, 46},
    {12, 65529, 196608, kMaxAreaSide}, // 3 x 65536
    {108, 7281, 196608, kMaxAreaSide}, // pitch 27
    {111, 7281, 196608, kMaxAreaSide},
    {12, 65536, 196629, kMaxAreaSide},
    {150, 65536, 2424853, kMaxAreaSide},
    {12, 10915, 32766, 32766}, // just below the limit: the area is the drawing
    {100, 1309, 32746, 32746},
    {0, 5, 21, 21},
};

TEST(GridViewport, AreaIsTheDrawingUpToTheLimitAndNeverWraps) {
    for (const SizeCase& c : kSizes) {
        SCOPED_TRACE(c.zoom);
        SCOPED_TRACE(c.cells);
        EXPECT_EQ(GridVirtualSize(c.zoom, c.cells), c.virtualSize);
        EXPECT_EQ(GridAreaExtent(GridVirtualSize(c.zoom, c.cells)), c.area);
    }
    EXPECT_EQ(GridAreaExtent(0), 1);
}

struct OffsetCase {
    int64_t virtualSize;
    int area;
    int clip;
    int scroll;
    int64_t offset;
};

const OffsetCase kOffsets[] = {
    {500, 500, 200, 300, 0},             // below the limit: no offset
    {196629, 32767, 767, 0, 0},          // the start shows the start
    {196629, 32767, 767, 32000, 163862}, // the end shows the end: 32000 + o = V - C
    {196629, 32767, 767, 16000, 81931},  // half way shows half way
    {196629, 32767, 767, 40000, 163862}, // a scroll past the end is the end
    {196629, 32767, 767, -5, 0},
    {2424853, 32767, 300, 32467, 2424553 - 32467},
    {40000, 32767, 40000, 0, 0}, // a clip wider than the area shows what it can
};

TEST(GridViewport, OffsetSpansTheWholeDrawing) {
    for (const OffsetCase& c : kOffsets) {
        SCOPED_TRACE(c.scroll);
        SCOPED_TRACE(c.virtualSize);
        EXPECT_EQ(GridViewportOffset(c.virtualSize, c.area, c.clip, c.scroll), c.offset);
    }
}

TEST(GridViewport, OffsetNeverMovesTheViewBackwards) {
    int64_t last = -1;
    for (int s = 0; s <= 32000; s += 7) {
        const int64_t shown = s + GridViewportOffset(196629, 32767, 767, s);
        EXPECT_GE(shown, last);
        last = shown;
    }
}

} // namespace
