#pragma once

#include <cstdint>
#include <vector>

// What an element's show-data window carries to the next one it opens: the viewport width and
// one viewport height per output (pixels), and the zoom (percent; 0 until a window sets it).
struct ShowDataGeometry {
    int32_t zoom;
    short width;
    std::vector<short> heights; // one per output
};
