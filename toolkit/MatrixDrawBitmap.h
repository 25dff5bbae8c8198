#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/MatrixGeometry.h"

class Matrix;

// A cleared matrix drawing as a bitmap: 1 where the grid's ink goes (the frame, the grid lines,
// the stipple's set bits inside set cells), 0 where the window's background shows. It is what the
// frame, grid and cell requests of MatrixDraw paint after a clear, pixel for pixel, so that one
// bitmap request of one bit a pixel can stand for thousands of small stippled rectangles.

// The stipple the set cells are filled through: width and height at most 32, row y's bit x set
// where the ink goes, tiled from the origin (in the window's pixels).
struct CellStipple {
    int width;
    int height;
    uint32_t rows[32];
    int originX;
    int originY;
};

// The part seen of the drawing of matrix at zoom (pitch at least 1), in its window's pixels,
// as rows of 32-bit words (bit j of word i is pixel 32 i + j of the row), wordsPerRow words a row
// from the part's top row down. frame says whether the frame is drawn (it is not where it would
// not fit X's 16-bit coordinates).
void RenderMatrixBitmap(const Matrix& matrix, int zoom, const CellStipple& stipple, bool frame,
                        const PixelRect& seen, int wordsPerRow, std::vector<uint32_t>* bits);
