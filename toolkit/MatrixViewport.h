#pragma once

#include <X11/Intrinsic.h>

#include <cstdint>

class Matrix;

// The drawing areas of matrices as viewports (arithmetic in GridViewport.h): an area sized here
// for a drawing larger than X takes gets the largest side X takes, and from then on its offset
// follows the scroll position of the scrolled window it is in. Every drawing into the area and
// every pointer position on it goes through the offset, so they refer to the true cell; when the
// offset changes with a scroll or a resize of the clip window, the part seen is exposed again and
// the area's own expose callback redraws it. Below the limit the offset is 0 and nothing changes.

// Widget pixel (x, y) of an area shows pixel (x + x, y + y) of the whole drawing.
struct ViewOffset {
    int64_t x;
    int64_t y;
};

// Sizes the drawing area draw for cellsX by cellsY cells at zoom, when it is not so already.
void SizeMatrixArea(Widget draw, int zoom, int cellsX, int cellsY);

// The area's offset now (0, 0 for an area never sized here, or one that is not a viewport).
ViewOffset MatrixAreaOffset(Widget draw);

// The offset for a drawing of the whole part seen, which the area then shows; stale is set when
// the area still shows another part (after a scroll), which the drawing must clear first.
ViewOffset BeginAreaDrawing(Widget draw, bool* stale);

// Whether the area shows less than its whole drawing along some side.
bool IsMatrixViewport(Widget draw);

// Matrix::PixelToCell for pixel (px, py) of the area draw.
int AreaPixelToCell(const Matrix& matrix, Widget draw, int px, int py, int zoom, int& cellX,
                    int& cellY);
