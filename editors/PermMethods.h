#pragma once

// The interconnection methods of the permutation editor and the two ways it applies them to a
// PERM element's connection table: one line of the transmitter (input plane) onto one line of the
// receiver (output plane), or every row or every column of the transmitter onto the receiver.
// A method maps a position i along a transmitter line of 2^n cells; a shift then moves the result.
//
// Pure functions on the table and the settings; the editor reads its dialogs and draws what these
// change. Pairs whose source or target would lie outside the planes are skipped, so settings of
// any value never write outside the table.

#include <cstdint>

class D_PermElem;

enum PermDirection : int {
    kPermRow = 0,    // the cells of one y
    kPermColumn = 1, // the cells of one x
};

enum PermMethod : int {
    kPermNone = 0,
    kPermExchange = 1,
    kPermShuffle = 2,
    kPermButterfly = 3,
    kPermBitReverse = 4,
};

const int kPermMethodCount = 5;

enum PermMode : int {
    kPermDefine = 0, // make the connections
    kPermDelete = 1, // remove them
};

// 1 for 1, 2, 4, 8, ...; 0 for every other value, 0 and negatives included.
int IsPowerOfTwo(int a);
// k with 2^k = a; -1 when a is not a power of two.
int Log2(int a);
int Max(int a, int b);

// i XOR 2^bit; i for a bit outside 0..30.
int PermExchange(int bit, int i);
// The perfect shuffle of 2^n positions: 2i when 2i < 2^n, else (2i mod 2^n) + 1.
int PermShuffle(int n, int i);
// i with bits 0 and n - 1 exchanged.
int PermButterfly(int n, int i);
// The n low bits of i in reverse order; the bits at n and above are dropped.
int PermBitReverse(int n, int i);
// One of the five methods by index. Without a valid line (n < 0, the length is not a power of
// two) every method leaves i as it is.
int PermMethodOf(int method, int n, int bit, int i);

// The "Perm - Vector" dialog's settings.
struct PermVectorSettings {
    int transmitterDirection; // PermDirection
    int receiverDirection;
    int method;                // PermMethod
    int mode;                  // PermMode
    int32_t transmitterNumber; // the row or column of the transmitter
    int32_t receiverNumber;
    int32_t bit;
    int32_t shift;
};

// For each position i of the transmitter line, a := method(i) + shift (n = Log2 of the line's
// length), and (cell i of that line) -> (cell a of the receiver line) is made or removed when
// cell a exists.
void ApplyVectorMethod(D_PermElem& table, const PermVectorSettings& settings);

// The "Perm - Matrix" dialog's settings.
struct PermMatrixSettings {
    int direction; // PermDirection: every row or every column
    int method;
    int mode;
    int32_t bit;
    int32_t horizontalShift;
    int32_t verticalShift;
};

// Row: every row y whose row y + vs exists: (x, y) -> (method(x) + hs, y + vs), n = Log2(W_in).
// Column: every column x whose column x + hs exists: (x, y) -> (x + hs, method(y) + vs),
// n = Log2(H_in). Pairs whose target does not exist are skipped.
void ApplyMatrixMethod(D_PermElem& table, const PermMatrixSettings& settings);
