#pragma once

// Where the parts of a zoomed matrix drawing lie, in pixels of its drawing area. The cell pitch
// is zoom / 4 pixels, the grid starts at (10, 10), row 0 is at the bottom. A zoom below 4 gives
// a pitch of 0, for which nothing is drawn.

struct PixelRect {
    int x;
    int y;
    int width;
    int height;
};

struct PixelSegment {
    int x1;
    int y1;
    int x2;
    int y2;
};

int CellPitch(int zoom);

// The frame around the grid.
PixelRect MatrixFrameRect(int dimX, int dimY, int zoom);

// The k-th vertical and horizontal grid line (from 0); false when there is no such line.
bool MatrixVerticalLine(int dimX, int dimY, int zoom, int k, PixelSegment* line);
bool MatrixHorizontalLine(int dimX, int dimY, int zoom, int k, PixelSegment* line);

// The inside of cell (x, y), without its grid lines.
PixelRect MatrixCellRect(int dimY, int zoom, int x, int y);

// The outline of the block of w by h cells whose lower left cell is (x, y).
PixelRect MatrixHighlightRect(int dimY, int zoom, int x, int y, int w, int h);

// The margins above and to the right of the grid that erasing a highlight repaints.
PixelRect MatrixTopMargin(int dimX, int zoom);
PixelRect MatrixRightMargin(int dimX, int dimY, int zoom);
