#pragma once

// The coding of one integer as a row of bits along one line of a plane, as the plane stack
// windows read and write it: a row (East-West, West-East) or a column (South-North,
// North-South), from the end that holds the least significant cell, with cells left free between
// two value cells (interleave) and before the first one (offset), each bit held by one cell
// ("Dual") or by a complementary pair of cells ("Dual-Rail Ver", "Dual-Rail Hor"), unsigned ("+")
// or two's complement ("-/+").
//
// Pure functions on a plane and the settings; the window draws what they compute. Nothing here
// reads or writes outside the plane, and all arithmetic on sizes and settings is done in 64 bits,
// so settings of any value are safe (they give no value cells or cells outside, which are skipped).

#include <cstdint>
#include <vector>

class Matrix;

enum CodecDirection : int32_t {
    kEastWest = 0,   // row; least significant cell at the right end
    kWestEast = 1,   // row; least significant cell at the left end
    kSouthNorth = 2, // column; least significant cell at the bottom
    kNorthSouth = 3, // column; least significant cell at the top
};

enum CodecSign : int32_t {
    kUnsigned = 0,       // "+"
    kTwosComplement = 1, // "-/+"
};

enum CodecCoding : int32_t {
    kDual = 0,        // one cell per bit
    kDualRailVer = 1, // (x, y) and (x, y + 1); the upper cell holds the bit
    kDualRailHor = 2, // (x, y) and (x + 1, y); the left cell holds the bit
};

struct CodecSettings {
    int32_t direction;
    int32_t sign;
    int32_t coding;
    int32_t line;       // row (East-West, West-East) or column of the value cells' reference cells
    int32_t interleave; // free cells between two value cells, >= 0
    int32_t offset;     // >= 0: free cells before the least significant cell; < 0: see CellCount
};

// A cell of the plane.
struct CodecCell {
    int x;
    int y;
};

// Columns and rows one value cell covers: "Dual" 1 x 1, "Dual-Rail Ver" 1 x 2, "Dual-Rail Hor"
// 2 x 1, any other coding 0 x 0.
void CodingExtent(int32_t coding, int* cellWidth, int* cellHeight);

// The number of value cells on the line of a plane of width by height cells. With an offset o < 0
// the cells are counted back from the far end: the most significant cell ends
// ((L + g) mod (e + g)) + |o| cells before it (L the plane's extent along the line, e the value
// cell's, g the interleave).
int CodecCellCount(int width, int height, const CodecSettings& settings);

// Whether values can be read and written at all: there are value cells, the coding is one of the
// three, and a dual-rail pair fits across the plane.
bool CodecUsable(int width, int height, const CodecSettings& settings);

// The reference cell (lower left cell) of value cell index (0 the least significant) of the
// count value cells.
CodecCell CodecCellPosition(int width, int height, const CodecSettings& settings, int count,
                            int index);

// The reference cells of all value cells, least significant first; empty when not usable.
std::vector<CodecCell> CodecValueCells(int width, int height, const CodecSettings& settings);

// The range of values count cells hold: "+" 0..2^n - 1 (up to 2147483647), "-/+" -2^(n-1)..
// 2^(n-1) - 1 (-2147483646..2147483647 from 32 cells, the whole 32-bit range with no cells), any
// other sign 0..0.
void CodecValueRange(int count, int32_t sign, int32_t* minimum, int32_t* maximum);

// The limits of line, interleave and offset that keep at least one value cell on the plane.
// Only for the four directions (valid false otherwise: nothing is limited).
struct CodecLimits {
    bool valid;
    int32_t lineMax;
    int32_t interleaveMax;
    int32_t offsetMax;
    int32_t offsetMin;
};
CodecLimits CodecLineLimits(int width, int height, const CodecSettings& settings);

// The offset bounds for the settings' interleave (the Interleave field's own rule); the same as
// those of CodecLineLimits.
void CodecOffsetBounds(int width, int height, const CodecSettings& settings, int32_t* minimum,
                       int32_t* maximum);

// Pulls line, interleave and offset into the limits (nothing for a direction outside 0..3).
void CodecClampSettings(int width, int height, CodecSettings* settings);

// One value cell by its reference cell: its bit (0 out of range), and the cells that must be
// toggled to make it hold bit (none when it does already, or out of range).
int CodecGetValueCell(const Matrix& plane, int32_t coding, int x, int y);
std::vector<CodecCell> CodecValueCellChanges(const Matrix& plane, int32_t coding, int x, int y,
                                             int bit);

// Reads the value: bit i of value cell i, for the first 31 cells ("+") or 32 ("-/+"); with
// "-/+" and at most 32 cells the top cell's bit is the sign. 0 when not usable.
int32_t CodecReadValue(const Matrix& plane, const CodecSettings& settings);

// The cells to toggle so that the value cells hold value: bit i of value into cell i for the
// first 31 ("+") or 32 ("-/+") cells, 0 into the cells beyond. A value outside the range of the
// cells is first saturated to it. Empty when not usable.
std::vector<CodecCell> CodecWriteChanges(const Matrix& plane, const CodecSettings& settings,
                                         int32_t value);

// Writes the value into the plane as CodecWriteChanges says; returns the value written (the
// saturated one).
int32_t CodecWriteValue(Matrix& plane, const CodecSettings& settings, int32_t value);

// The value saturated to the range of the cells of the settings on that plane.
int32_t CodecSaturate(int width, int height, const CodecSettings& settings, int32_t value);
