#pragma once

// Which icons of a working area need not be sent to the server when they are drawn in order:
// those that later opaque icons paint over whole. An architecture of 100 000 elements on a
// working area of 1500 x 1000 pixels has nearly all of its icons under others, and sending every
// one of them cost the X server more than the rest of the load. Leaving them out changes no pixel.

#include <vector>

// The pixels an icon paints: x .. x + width - 1 and y .. y + height - 1 (an element's pixmap is its
// icon size plus one). Opaque: the drawing paints every pixel of the footprint and nothing
// outside it, whatever lies below (a plain icon copy, its frame drawn onto it); an icon that draws
// nothing, or beyond its footprint, is not.
struct IconFootprint {
    int x;
    int y;
    int width;
    int height;
    bool opaque;
};

// One flag per footprint, in drawing order: 1 where the footprint lies within the window
// (0 .. windowWidth - 1, 0 .. windowHeight - 1) and every one of its pixels is painted by opaque
// footprints drawn after it. Such an icon cannot be seen once the others are drawn. Costs time in
// proportion to the pixels of the footprints, and memory to the area they span in the window.
std::vector<char> FindHiddenIcons(const std::vector<IconFootprint>& icons, int windowWidth,
                                  int windowHeight);
