#include "toolkit/GridViewport.h"

#include <algorithm>

namespace {

const int kDrawMargin = 21; // pixels around a drawn matrix

} // namespace

int64_t GridVirtualSize(int zoom, int cells) {
    return static_cast<int64_t>(std::max(zoom / 4, 0)) * std::max(cells, 0) + kDrawMargin;
}

int GridAreaExtent(int64_t virtualSize) {
    return static_cast<int>(std::clamp<int64_t>(virtualSize, 1, kMaxAreaSide));
}

int64_t GridViewportOffset(int64_t virtualSize, int areaSize, int clipSize, int scroll) {
    const int64_t range = static_cast<int64_t>(areaSize) - clipSize;
    if (virtualSize <= areaSize || range <= 0) return 0;
    const int64_t s = std::clamp<int64_t>(scroll, 0, range);
    return s * (virtualSize - clipSize) / range - s;
}
