#pragma once

#include <cstdint>

// The arithmetic of a matrix drawing that may be larger than an X window can be. Its virtual size
// along a side is zoom / 4 pixels per cell and 21 of margin, which at the largest planes and zooms
// is far beyond the 32767 pixels that X takes for a side. The drawing area is then given that
// limit, and the part of the drawing shown moves with the scroll position so that the scroll
// bars span the whole drawing: widget pixel w shows virtual pixel w + offset. Below the limit the
// area is the drawing and the offset is 0.

// The largest side, in pixels, that a window may have.
const int kMaxAreaSide = 32767;

// Pixels of the whole drawing along a side of that many cells, in 64 bits: nothing wraps.
int64_t GridVirtualSize(int zoom, int cells);

// The drawing area's side for a drawing of virtualSize pixels: 1 .. kMaxAreaSide.
int GridAreaExtent(int64_t virtualSize);

// The offset of the shown part along one side: the area of areaSize pixels is scrolled to scroll
// (0 .. areaSize - clipSize) under a clip of clipSize pixels; the virtual origin of the view is
// scroll * (virtualSize - clipSize) / (areaSize - clipSize), so that the area's start shows the
// drawing's start and its end the drawing's end. The scroll is pulled into its range first.
int64_t GridViewportOffset(int64_t virtualSize, int areaSize, int clipSize, int scroll);
