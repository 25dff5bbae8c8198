#include "toolkit/MatrixDrawBitmap.h"

#include <algorithm>

#include "model/data/Matrix.h"

namespace {

int Modulo(long long value, int by) {
    const long long rest = value % by;
    return static_cast<int>(rest < 0 ? rest + by : rest);
}

// One row of the part seen: pixels left .. left + width - 1, in words of a buffer the drawing
// keeps.
class BitRow {
public:
    BitRow(int left, int width, uint32_t* bits, int words)
        : left(left), right(left + width - 1), bits(bits), words(words) {}

    // Sets pixels from .. to (inclusive) that lie in the row.
    void SetRun(long long from, long long to) {
        from = std::max<long long>(from, left);
        to = std::min<long long>(to, right);
        for (long long x = from; x <= to;) {
            const long long j = x - left;
            const int bit = static_cast<int>(j & 31);
            const long long n = std::min<long long>(32 - bit, to - x + 1);
            const uint32_t run = n == 32 ? ~0u : ((1u << n) - 1) << bit;
            bits[static_cast<size_t>(j >> 5)] |= run;
            x += n;
        }
    }
    void Clear() { std::fill(bits, bits + words, 0u); }
    void CopyFrom(const BitRow& other) { std::copy(other.bits, other.bits + words, bits); }

    int left;
    int right;
    uint32_t* bits;
    int words;
};

} // namespace

void RenderMatrixBitmap(const Matrix& matrix, int zoom, const CellStipple& stipple, bool frame,
                        const PixelRect& seen, int wordsPerRow, std::vector<uint32_t>* bits) {
    bits->assign(static_cast<size_t>(wordsPerRow) * std::max(seen.height, 0), 0u);
    const int c = CellPitch(zoom);
    if (c < 1 || seen.width <= 0 || seen.height <= 0) return;
    const int dimX = matrix.GetDimX();
    const int dimY = matrix.GetDimY();
    const long long gridRight = 10 + static_cast<long long>(c) * dimX;  // last vertical line
    const long long gridBottom = 10 + static_cast<long long>(c) * dimY; // last horizontal line

    // The rows every pixel row of the drawing is made of, in one buffer kept between drawings: a
    // refresh during a run allocates nothing.
    enum { kFrame, kLine, kColumns, kCells, kStipple };
    static std::vector<uint32_t> rows;
    rows.assign(static_cast<size_t>(kStipple + stipple.height) * wordsPerRow, 0u);
    auto row = [&](int k) {
        return BitRow(seen.x, seen.width, rows.data() + static_cast<size_t>(k) * wordsPerRow,
                      wordsPerRow);
    };
    BitRow frameRow = row(kFrame);
    BitRow lineRow = row(kLine);
    BitRow columns = row(kColumns);
    if (frame) {
        frameRow.SetRun(9, gridRight + 1);
        columns.SetRun(9, 9);
        columns.SetRun(gridRight + 1, gridRight + 1);
    }
    const long long firstLine = std::max<long long>(0, (seen.x - 10) / c);
    for (long long k = firstLine; k <= dimX && 10 + k * c <= frameRow.right; k++)
        columns.SetRun(10 + k * c, 10 + k * c);
    lineRow.CopyFrom(columns);
    lineRow.SetRun(10, gridRight);
    for (int s = 0; s < stipple.height; s++) {
        // The stipple row repeated over 64 pixels holds the 32 pixels from any of its columns.
        uint64_t repeated = 0;
        for (int k = 0; k < 64; k++)
            repeated |= static_cast<uint64_t>(stipple.rows[s] >> (k % stipple.width) & 1u) << k;
        // The stipple's column under the first pixel of each word.
        int phase = Modulo(static_cast<long long>(seen.x) - stipple.originX, stipple.width);
        const int step = 32 % stipple.width;
        uint32_t* ink = rows.data() + static_cast<size_t>(kStipple + s) * wordsPerRow;
        for (int w = 0; w < wordsPerRow; w++) {
            ink[w] = static_cast<uint32_t>(repeated >> phase);
            phase += step;
            if (phase >= stipple.width) phase -= stipple.width;
        }
    }

    // The pixels of the set cells of one matrix row, for the rows of pixels inside them.
    BitRow cells = row(kCells);
    const int firstColumn = std::max(0, (seen.x - 11) / c);
    const int lastColumn = static_cast<int>(
        std::min<long long>(dimX - 1, (static_cast<long long>(cells.right) - 11) / c));
    long long cellsRow = -1;
    for (int i = 0; i < seen.height; i++) {
        const long long y = static_cast<long long>(seen.y) + i;
        const BitRow* same = nullptr; // a frame or grid line across the whole row
        uint32_t* out = bits->data() + static_cast<size_t>(i) * wordsPerRow;
        if (frame && (y == 9 || y == gridBottom + 1)) {
            same = &frameRow;
        } else if (y < 10 || y > gridBottom) {
            continue;
        } else if ((y - 10) % c == 0) {
            same = &lineRow;
        }
        if (same != nullptr) {
            std::copy(same->bits, same->bits + wordsPerRow, out);
            continue;
        }
        const long long fromTop = (y - 10) / c;
        if (fromTop != cellsRow) {
            cellsRow = fromTop;
            cells.Clear();
            const uint32_t* words = matrix.GetRowWords(dimY - 1 - static_cast<int>(fromTop));
            for (int w = firstColumn >> 5; w <= lastColumn >> 5 && firstColumn <= lastColumn; w++) {
                uint32_t set = words[w];
                while (set != 0) {
                    const int x = (w << 5) + __builtin_ctz(set);
                    set &= set - 1;
                    if (x < firstColumn || x > lastColumn) continue;
                    const long long left = 11 + static_cast<long long>(c) * x;
                    cells.SetRun(left, left + c - 2);
                }
            }
        }
        const uint32_t* ink =
            rows.data() +
            static_cast<size_t>(kStipple + Modulo(y - stipple.originY, stipple.height)) *
                wordsPerRow;
        for (int w = 0; w < wordsPerRow; w++)
            out[w] = columns.bits[w] | (cells.bits[w] & ink[w]);
    }
}
