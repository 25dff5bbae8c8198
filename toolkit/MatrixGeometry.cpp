#include "toolkit/MatrixGeometry.h"

namespace {

constexpr int kGridOrigin = 10;

} // namespace

int CellPitch(int zoom) {
    return zoom / 4;
}

PixelRect MatrixFrameRect(int dimX, int dimY, int zoom) {
    const int c = CellPitch(zoom);
    return {kGridOrigin - 1, kGridOrigin - 1, c * dimX + 2, c * dimY + 2};
}

bool MatrixVerticalLine(int dimX, int dimY, int zoom, int k, PixelSegment* line) {
    const int c = CellPitch(zoom);
    const int x = kGridOrigin + k * c;
    if (c < 1 || k < 0 || x > c * dimX + 11) {
        return false;
    }
    *line = {x, kGridOrigin, x, c * dimY + 10};
    return true;
}

bool MatrixHorizontalLine(int dimX, int dimY, int zoom, int k, PixelSegment* line) {
    const int c = CellPitch(zoom);
    const int y = kGridOrigin + k * c;
    if (c < 1 || k < 0 || y > c * dimY + 11) {
        return false;
    }
    *line = {kGridOrigin, y, c * dimX + 10, y};
    return true;
}

PixelRect MatrixCellRect(int dimY, int zoom, int x, int y) {
    const int c = CellPitch(zoom);
    return {11 + c * x, 11 + c * (dimY - 1 - y), c - 1, c - 1};
}

PixelRect MatrixHighlightRect(int dimY, int zoom, int x, int y, int w, int h) {
    const int c = CellPitch(zoom);
    return {kGridOrigin + c * x, kGridOrigin + c * (dimY - y - h), c * w, c * h};
}

PixelRect MatrixTopMargin(int dimX, int zoom) {
    return {0, 0, CellPitch(zoom) * dimX + 19, 9};
}

PixelRect MatrixRightMargin(int dimX, int dimY, int zoom) {
    const int c = CellPitch(zoom);
    return {c * dimX + 12, 0, 9, c * dimY + 19};
}
