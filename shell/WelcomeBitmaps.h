#pragma once

// The artwork of the welcome splash and the About window: one-bit bitmaps in X bitmap layout
// (rows padded to whole bytes, the leftmost pixel in the least significant bit), each with its
// fixed place and colour in its window's drawing area. The tables are drawn in order, so a later
// bitmap covers an earlier one where they overlap.

struct PlacedBitmap {
    const unsigned char* bits;
    int width; // pixels
    int height;
    int x; // top-left corner in the drawing area
    int y;
    int red; // 1 red, 0 black
};

extern const PlacedBitmap kWelcomeBitmaps[];
extern const int kWelcomeBitmapCount;
extern const PlacedBitmap kAboutBitmaps[];
extern const int kAboutBitmapCount;
