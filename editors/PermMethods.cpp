#include "editors/PermMethods.h"

#include "model/elements/APermElem.h"

namespace {

// Address bits a line can have: positions are ints.
const int kMaxBits = 30;

// One pair made or removed; a pair outside the planes is skipped. The sums are taken in 64 bits,
// so no shift overflows.
void Connect(D_PermElem& table, int mode, int64_t i, int64_t j, int64_t x, int64_t y) {
    if (i < 0 || i >= table.GetInputWidth() || j < 0 || j >= table.GetInputHeight()) return;
    if (x < 0 || x >= table.GetOutputWidth() || y < 0 || y >= table.GetOutputHeight()) return;
    const int ii = static_cast<int>(i), jj = static_cast<int>(j);
    const int xx = static_cast<int>(x), yy = static_cast<int>(y);
    if (mode == kPermDelete) {
        table.Remove(ii, jj, xx, yy);
    } else {
        table.Add(ii, jj, xx, yy);
    }
}

} // namespace

int IsPowerOfTwo(int a) {
    return a > 0 && (a & (a - 1)) == 0 ? 1 : 0;
}

int Log2(int a) {
    if (!IsPowerOfTwo(a)) return -1;
    int k = 0;
    while ((1 << k) != a)
        k++;
    return k;
}

int Max(int a, int b) {
    return a > b ? a : b;
}

int PermExchange(int bit, int i) {
    if (bit < 0 || bit > kMaxBits) return i;
    return i ^ (1 << bit);
}

int PermShuffle(int n, int i) {
    if (n < 0 || n > kMaxBits) return i;
    const int64_t size = int64_t{1} << n;
    const int64_t twice = int64_t{2} * i;
    if (twice < size) return static_cast<int>(twice);
    return static_cast<int>(twice % size + 1);
}

int PermButterfly(int n, int i) {
    if (n < 2 || n > kMaxBits + 1) return i; // bit 0 is bit n - 1, or there is no line
    const int high = n - 1;
    const int low = i & 1;
    const int top = (i >> high) & 1;
    if (low == top) return i;
    return i ^ 1 ^ (1 << high);
}

int PermBitReverse(int n, int i) {
    if (n < 0) return i;
    if (n > kMaxBits + 1) n = kMaxBits + 1;
    int reversed = 0;
    for (int k = 0; k < n; k++) {
        if ((i >> k) & 1) reversed |= 1 << (n - 1 - k);
    }
    return reversed;
}

int PermMethodOf(int method, int n, int bit, int i) {
    if (n < 0) return i;
    switch (method) {
        case kPermExchange:
            return PermExchange(bit, i);
        case kPermShuffle:
            return PermShuffle(n, i);
        case kPermButterfly:
            return PermButterfly(n, i);
        case kPermBitReverse:
            return PermBitReverse(n, i);
        default:
            return i;
    }
}

void ApplyVectorMethod(D_PermElem& table, const PermVectorSettings& s) {
    const bool fromRow = s.transmitterDirection == kPermRow;
    const bool toRow = s.receiverDirection == kPermRow;
    const int length = fromRow ? table.GetInputWidth() : table.GetInputHeight();
    const int n = Log2(length);
    for (int i = 0; i < length; i++) {
        const int64_t a = int64_t{PermMethodOf(s.method, n, s.bit, i)} + s.shift;
        const int64_t si = fromRow ? i : s.transmitterNumber;
        const int64_t sj = fromRow ? s.transmitterNumber : i;
        const int64_t tx = toRow ? a : s.receiverNumber;
        const int64_t ty = toRow ? s.receiverNumber : a;
        Connect(table, s.mode, si, sj, tx, ty);
    }
}

void ApplyMatrixMethod(D_PermElem& table, const PermMatrixSettings& s) {
    const int width = table.GetInputWidth();
    const int height = table.GetInputHeight();
    if (s.direction == kPermRow) {
        const int n = Log2(width);
        for (int y = 0; y < height; y++) {
            const int64_t ty = int64_t{y} + s.verticalShift;
            if (ty < 0 || ty >= table.GetOutputHeight()) continue;
            for (int x = 0; x < width; x++) {
                const int64_t a = int64_t{PermMethodOf(s.method, n, s.bit, x)} + s.horizontalShift;
                Connect(table, s.mode, x, y, a, ty);
            }
        }
    } else {
        const int n = Log2(height);
        for (int x = 0; x < width; x++) {
            const int64_t tx = int64_t{x} + s.horizontalShift;
            if (tx < 0 || tx >= table.GetOutputWidth()) continue;
            for (int y = 0; y < height; y++) {
                const int64_t a = int64_t{PermMethodOf(s.method, n, s.bit, y)} + s.verticalShift;
                Connect(table, s.mode, x, y, tx, a);
            }
        }
    }
}
