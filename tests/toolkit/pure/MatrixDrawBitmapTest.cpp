#include <gtest/gtest.h>

#include "toolkit/MatrixDrawBitmap.h"

#include "model/data/Matrix.h"

#include <vector>

namespace {

bool Pixel(const std::vector<uint32_t>& bits, int wordsPerRow, int x, int y) {
    return bits[static_cast<size_t>(y) * wordsPerRow + x / 32] >> (x % 32) & 1u;
}

struct StippleCase {
    int width;
    int height;
    uint32_t rows[3];
    int originX;
    int originY;
};

// The program's checkerboard, a solid fill, and one of odd sides tiled from origins that are not
// multiples of its sides, negative ones included.
const StippleCase kStipples[] = {
    {2, 2, {0x1, 0x2, 0}, 0, 0},
    {1, 1, {0x1, 0, 0}, 0, 0},
    {3, 3, {0x1, 0x6, 0x3}, 1, 2},
    {3, 3, {0x1, 0x6, 0x3}, -4, -5},
};

// Parts at odd places, across word edges and reaching beyond the drawing.
const PixelRect kParts[] = {
    {0, 0, 1, 1}, {5, 7, 33, 9}, {31, 0, 2, 40}, {37, 11, 64, 30}, {60, 40, 50, 30},
};

// A part seen of a drawing is the same pixels as that part of the drawing of it all, whatever
// the stipple and its origin: the stipple stays tied to the window, not to the part.
TEST(MatrixDrawBitmap, EveryPartSeenIsThatPartOfTheWholeDrawing) {
    Matrix plane(23, 17);
    unsigned seed = 11;
    for (int y = 0; y < 17; y++) {
        for (int x = 0; x < 23; x++) {
            seed = seed * 1103515245u + 12345u;
            plane.SetBit(x, y, (seed >> 16) & 1);
        }
    }
    for (const StippleCase& s : kStipples) {
        CellStipple stipple{};
        stipple.width = s.width;
        stipple.height = s.height;
        for (int r = 0; r < s.height; r++)
            stipple.rows[r] = s.rows[r];
        stipple.originX = s.originX;
        stipple.originY = s.originY;
        for (const int zoom : {12, 21, 50}) {
            SCOPED_TRACE(testing::Message() << s.width << "x" << s.height << " from " << s.originX
                                            << "," << s.originY << " zoom " << zoom);
            const PixelRect all = {0, 0, 200, 120};
            const int allWords = (all.width + 31) / 32;
            std::vector<uint32_t> whole;
            RenderMatrixBitmap(plane, zoom, stipple, true, all, allWords, &whole);
            for (const PixelRect& part : kParts) {
                const int words = (part.width + 31) / 32;
                std::vector<uint32_t> seen;
                RenderMatrixBitmap(plane, zoom, stipple, true, part, words, &seen);
                ASSERT_EQ(seen.size(), static_cast<size_t>(words) * part.height);
                int differing = 0;
                for (int y = 0; y < part.height; y++) {
                    for (int x = 0; x < part.width; x++) {
                        const bool expected = Pixel(whole, allWords, part.x + x, part.y + y);
                        if (Pixel(seen, words, x, y) != expected) differing++;
                    }
                }
                EXPECT_EQ(differing, 0) << "part at " << part.x << "," << part.y;
            }
        }
    }
}

} // namespace
