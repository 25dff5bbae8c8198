#include "editors/PlaneCodec.h"

#include <algorithm>
#include <cstdlib>

#include "model/data/Matrix.h"

namespace {

bool AlongRow(int32_t direction) {
    return direction == kEastWest || direction == kWestEast;
}

bool ValidDirection(int32_t direction) {
    return direction >= kEastWest && direction <= kNorthSouth;
}

// The extents along the line: the plane's (L) and one value cell's (e).
void LineExtents(int width, int height, const CodecSettings& settings, int64_t* planeExtent,
                 int64_t* cellExtent) {
    int cellWidth = 0;
    int cellHeight = 0;
    CodingExtent(settings.coding, &cellWidth, &cellHeight);
    const bool row = AlongRow(settings.direction);
    *planeExtent = row ? width : height;
    *cellExtent = row ? cellWidth : cellHeight;
}

int64_t Interleave(const CodecSettings& settings) {
    return std::max<int64_t>(settings.interleave, 0);
}

// The free cells at the far end that no whole value cell and gap fits into: (L + g) mod (e + g).
int64_t Rest(int64_t planeExtent, int64_t cellExtent, int64_t interleave) {
    const int64_t pitch = cellExtent + interleave;
    return pitch > 0 ? (planeExtent + interleave) % pitch : 0;
}

int32_t Clamp32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// Two's complement without relying on the conversion of an out-of-range unsigned value.
int32_t FromBits(uint32_t bits) {
    if (bits <= static_cast<uint32_t>(INT32_MAX)) return static_cast<int32_t>(bits);
    return -static_cast<int32_t>(~bits) - 1;
}

uint32_t ToBits(int32_t value) {
    return static_cast<uint32_t>(value);
}

// Cells read and written: 31 with "+", 32 with "-/+".
int ReadableBits(int32_t sign) {
    return sign == kTwosComplement ? 32 : 31;
}

bool SetCell(const Matrix& plane, int x, int y) {
    return x >= 0 && y >= 0 && x < plane.GetDimX() && y < plane.GetDimY() && plane(x, y) != 0;
}

} // namespace

void CodingExtent(int32_t coding, int* cellWidth, int* cellHeight) {
    switch (coding) {
        case kDual:
            *cellWidth = 1;
            *cellHeight = 1;
            break;
        case kDualRailVer:
            *cellWidth = 1;
            *cellHeight = 2;
            break;
        case kDualRailHor:
            *cellWidth = 2;
            *cellHeight = 1;
            break;
        default:
            *cellWidth = 0;
            *cellHeight = 0;
            break;
    }
}

int CodecCellCount(int width, int height, const CodecSettings& settings) {
    if (!ValidDirection(settings.direction)) return 0;
    int cellWidth = 0;
    int cellHeight = 0;
    CodingExtent(settings.coding, &cellWidth, &cellHeight);
    if (cellWidth > width || cellHeight > height) return 0;
    int64_t planeExtent = 0;
    int64_t cellExtent = 0;
    LineExtents(width, height, settings, &planeExtent, &cellExtent);
    // A cell of no extent (no coding) holds no bit, whatever the gap between cells.
    if (cellExtent <= 0) return 0;
    const int64_t interleave = Interleave(settings);
    const int64_t pitch = cellExtent + interleave;
    const int64_t offset = settings.offset;
    int64_t count = 0;
    if (offset >= 0) {
        count = (planeExtent + interleave - offset) / pitch;
    } else {
        const int64_t rest = Rest(planeExtent, cellExtent, interleave);
        count = (planeExtent + interleave - rest + offset) / pitch;
    }
    return static_cast<int>(std::clamp<int64_t>(count, 0, INT32_MAX));
}

bool CodecUsable(int width, int height, const CodecSettings& settings) {
    if (settings.coding != kDual && settings.coding != kDualRailVer &&
        settings.coding != kDualRailHor) {
        return false;
    }
    if (settings.coding == kDualRailHor && width <= 1) return false;
    if (settings.coding == kDualRailVer && height <= 1) return false;
    return CodecCellCount(width, height, settings) > 0;
}

CodecCell CodecCellPosition(int width, int height, const CodecSettings& settings, int count,
                            int index) {
    int64_t planeExtent = 0;
    int64_t cellExtent = 0;
    LineExtents(width, height, settings, &planeExtent, &cellExtent);
    const int64_t interleave = Interleave(settings);
    const int64_t pitch = cellExtent + interleave;
    const int64_t offset = settings.offset;
    const int64_t rest = Rest(planeExtent, cellExtent, interleave);
    const int64_t span = count * cellExtent + (count - 1) * interleave;
    int64_t position = 0;
    if (settings.direction == kEastWest || settings.direction == kNorthSouth) {
        // From the high end downwards.
        const int64_t start =
            offset >= 0 ? planeExtent - cellExtent - offset : span + rest - offset - cellExtent;
        position = start - index * pitch;
    } else {
        const int64_t start = offset >= 0 ? offset : planeExtent - rest - span + offset;
        position = start + index * pitch;
    }
    const int p = Clamp32(position);
    if (AlongRow(settings.direction)) return {p, settings.line};
    return {settings.line, p};
}

std::vector<CodecCell> CodecValueCells(int width, int height, const CodecSettings& settings) {
    std::vector<CodecCell> cells;
    if (!CodecUsable(width, height, settings)) return cells;
    const int count = CodecCellCount(width, height, settings);
    cells.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; i++)
        cells.push_back(CodecCellPosition(width, height, settings, count, i));
    return cells;
}

void CodecValueRange(int count, int32_t sign, int32_t* minimum, int32_t* maximum) {
    if (sign == kUnsigned) {
        *minimum = 0;
        *maximum = count >= 32 ? INT32_MAX : static_cast<int32_t>((int64_t{1} << count) - 1);
    } else if (sign == kTwosComplement) {
        if (count >= 32) {
            // NOTE: one above the lowest 32-bit number, as the field has always offered.
            *minimum = -2147483646;
            *maximum = INT32_MAX;
        } else if (count >= 1) {
            *minimum = static_cast<int32_t>(-(int64_t{1} << (count - 1)));
            *maximum = static_cast<int32_t>((int64_t{1} << (count - 1)) - 1);
        } else {
            *minimum = INT32_MIN;
            *maximum = INT32_MAX;
        }
    } else {
        *minimum = 0;
        *maximum = 0;
    }
}

CodecLimits CodecLineLimits(int width, int height, const CodecSettings& settings) {
    CodecLimits limits = {false, 0, 0, 0, 0};
    if (!ValidDirection(settings.direction)) return limits;
    limits.valid = true;
    int cellWidth = 0;
    int cellHeight = 0;
    CodingExtent(settings.coding, &cellWidth, &cellHeight);
    const bool row = AlongRow(settings.direction);
    // Across the line: the value cells must fit between the line and the plane's edge.
    const int64_t across = row ? int64_t{height} - cellHeight : int64_t{width} - cellWidth;
    limits.lineMax = Clamp32(std::max<int64_t>(across, 0));
    CodecOffsetBounds(width, height, settings, &limits.offsetMin, &limits.offsetMax);
    limits.interleaveMax = limits.offsetMax;
    return limits;
}

void CodecOffsetBounds(int width, int height, const CodecSettings& settings, int32_t* minimum,
                       int32_t* maximum) {
    *minimum = 0;
    *maximum = 0;
    int cellWidth = 0;
    int cellHeight = 0;
    CodingExtent(settings.coding, &cellWidth, &cellHeight);
    const bool row = AlongRow(settings.direction);
    const int64_t planeExtent = row ? width : height;
    const int64_t cellExtent = row ? cellWidth : cellHeight;
    const bool fits =
        row ? (width > 1 && height >= cellHeight) : (height > 1 && width >= cellWidth);
    if (!fits || cellExtent > planeExtent) return;
    const int64_t interleave = Interleave(settings);
    *maximum = Clamp32(planeExtent - cellExtent);
    *minimum = Clamp32(cellExtent + Rest(planeExtent, cellExtent, interleave) - planeExtent);
}

void CodecClampSettings(int width, int height, CodecSettings* settings) {
    const CodecLimits limits = CodecLineLimits(width, height, *settings);
    if (!limits.valid) return;
    settings->line = std::clamp(settings->line, 0, limits.lineMax);
    settings->interleave = std::clamp(settings->interleave, 0, limits.interleaveMax);
    // The offset's lower bound depends on the interleave just set.
    int32_t minimum = 0;
    int32_t maximum = 0;
    CodecOffsetBounds(width, height, *settings, &minimum, &maximum);
    settings->offset = std::min(settings->offset, maximum);
    settings->offset = std::max(settings->offset, minimum);
}

int CodecGetValueCell(const Matrix& plane, int32_t coding, int x, int y) {
    switch (coding) {
        case kDual:
            return SetCell(plane, x, y) ? 1 : 0;
        case kDualRailHor:
            if (x >= plane.GetDimX() - 1) return 0;
            return SetCell(plane, x, y) ? 1 : 0;
        case kDualRailVer:
            if (y >= plane.GetDimY() - 1) return 0;
            return SetCell(plane, x, y + 1) ? 1 : 0;
        default:
            return 0;
    }
}

std::vector<CodecCell> CodecValueCellChanges(const Matrix& plane, int32_t coding, int x, int y,
                                             int bit) {
    std::vector<CodecCell> changes;
    if (x < 0 || y < 0) return changes;
    const int want = bit != 0 ? 1 : 0;
    auto wantCell = [&](int cx, int cy, int value) {
        if ((SetCell(plane, cx, cy) ? 1 : 0) != value) changes.push_back({cx, cy});
    };
    switch (coding) {
        case kDual:
            if (x < plane.GetDimX() && y < plane.GetDimY()) wantCell(x, y, want);
            break;
        case kDualRailHor:
            if (x < plane.GetDimX() - 1 && y < plane.GetDimY()) {
                wantCell(x, y, want);
                wantCell(x + 1, y, 1 - want);
            }
            break;
        case kDualRailVer:
            if (x < plane.GetDimX() && y < plane.GetDimY() - 1) {
                wantCell(x, y + 1, want);
                wantCell(x, y, 1 - want);
            }
            break;
        default:
            break;
    }
    return changes;
}

int32_t CodecReadValue(const Matrix& plane, const CodecSettings& settings) {
    const std::vector<CodecCell> cells =
        CodecValueCells(plane.GetDimX(), plane.GetDimY(), settings);
    const int count = static_cast<int>(cells.size());
    const int readable = ReadableBits(settings.sign);
    uint32_t bits = 0;
    for (int i = 0; i < count && i < readable; i++) {
        if (CodecGetValueCell(plane, settings.coding, cells[i].x, cells[i].y)) {
            bits |= uint32_t{1} << i;
        }
    }
    if (settings.sign == kTwosComplement && count >= 1 && count < 32 &&
        (bits & (uint32_t{1} << (count - 1))) != 0) {
        bits |= ~((uint32_t{1} << count) - 1);
    }
    return FromBits(bits);
}

int32_t CodecSaturate(int width, int height, const CodecSettings& settings, int32_t value) {
    int32_t minimum = 0;
    int32_t maximum = 0;
    CodecValueRange(CodecCellCount(width, height, settings), settings.sign, &minimum, &maximum);
    return std::clamp(value, minimum, maximum);
}

std::vector<CodecCell> CodecWriteChanges(const Matrix& plane, const CodecSettings& settings,
                                         int32_t value) {
    std::vector<CodecCell> changes;
    const std::vector<CodecCell> cells =
        CodecValueCells(plane.GetDimX(), plane.GetDimY(), settings);
    const uint32_t bits = ToBits(CodecSaturate(plane.GetDimX(), plane.GetDimY(), settings, value));
    const int readable = ReadableBits(settings.sign);
    for (int i = 0; i < static_cast<int>(cells.size()); i++) {
        const int bit = i < readable ? static_cast<int>((bits >> i) & 1u) : 0;
        for (const CodecCell& cell :
             CodecValueCellChanges(plane, settings.coding, cells[i].x, cells[i].y, bit)) {
            changes.push_back(cell);
        }
    }
    return changes;
}

int32_t CodecWriteValue(Matrix& plane, const CodecSettings& settings, int32_t value) {
    for (const CodecCell& cell : CodecWriteChanges(plane, settings, value))
        plane.ToggleBit(cell.x, cell.y);
    return CodecSaturate(plane.GetDimX(), plane.GetDimY(), settings, value);
}
