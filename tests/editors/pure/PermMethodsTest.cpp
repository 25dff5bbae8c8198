#include <gtest/gtest.h>

#include "editors/PermMethods.h"

#include <climits>
#include <string>

#include "model/elements/APermElem.h"

namespace {

// Every connection of the table, source by source (i outer, j inner), targets in list order.
std::string Connections(const D_PermElem& table) {
    std::string text;
    for (int i = 0; i < table.GetInputWidth(); i++) {
        for (int j = 0; j < table.GetInputHeight(); j++) {
            for (int k = 0; k < table.GetTargetCount(i, j); k++) {
                const PermTarget t = table.GetTarget(i, j, k);
                text += "(" + std::to_string(i) + "," + std::to_string(j) + ")->(" +
                        std::to_string(t.x) + "," + std::to_string(t.y) + ") ";
            }
        }
    }
    return text;
}

struct PowerCase {
    int a;
    int power;
    int log;
};

const PowerCase kPowers[] = {{0, 0, -1},  {-4, 0, -1},    {-1, 0, -1},      {1, 1, 0},
                             {2, 1, 1},   {3, 0, -1},     {6, 0, -1},       {8, 1, 3},
                             {12, 0, -1}, {65536, 1, 16}, {INT_MIN, 0, -1}, {1 << 30, 1, 30}};

struct MethodCase {
    const char* what;
    int method;
    int n;
    int bit;
    int i;
    int result;
};

const MethodCase kMethods[] = {
    {"none", kPermNone, 3, 0, 5, 5},
    {"exchange bit 1", kPermExchange, 3, 1, 0, 2},
    {"exchange bit 1", kPermExchange, 3, 1, 1, 3},
    {"exchange bit 1", kPermExchange, 3, 1, 2, 0},
    {"exchange bit 0", kPermExchange, 3, 0, 7, 6},
    {"shuffle 8", kPermShuffle, 3, 0, 0, 0},
    {"shuffle 8", kPermShuffle, 3, 0, 1, 2},
    {"shuffle 8", kPermShuffle, 3, 0, 3, 6},
    {"shuffle 8, upper half", kPermShuffle, 3, 0, 4, 1},
    {"shuffle 8, upper half", kPermShuffle, 3, 0, 6, 5},
    {"shuffle 8, last", kPermShuffle, 3, 0, 7, 7},
    {"shuffle 1", kPermShuffle, 0, 0, 0, 0},
    {"butterfly 8", kPermButterfly, 3, 0, 1, 4},
    {"butterfly 8", kPermButterfly, 3, 0, 4, 1},
    {"butterfly 8", kPermButterfly, 3, 0, 3, 6},
    {"butterfly 8, equal end bits", kPermButterfly, 3, 0, 0, 0},
    {"butterfly 8, equal end bits", kPermButterfly, 3, 0, 2, 2},
    {"butterfly 8, equal end bits", kPermButterfly, 3, 0, 5, 5},
    {"butterfly 8, equal end bits", kPermButterfly, 3, 0, 7, 7},
    {"butterfly 2: one bit", kPermButterfly, 1, 0, 1, 1},
    {"butterfly 1: no bit to exchange", kPermButterfly, 0, 0, 0, 0},
    {"butterfly 1, any position", kPermButterfly, 0, 0, 5, 5},
    {"bit reversed 8", kPermBitReverse, 3, 0, 1, 4},
    {"bit reversed 8", kPermBitReverse, 3, 0, 3, 6},
    {"bit reversed 8", kPermBitReverse, 3, 0, 6, 3},
    {"bit reversed 8", kPermBitReverse, 3, 0, 0, 0},
    {"bit reversed 8, high bits dropped", kPermBitReverse, 3, 0, 9, 4},
    {"bit reversed 16", kPermBitReverse, 4, 0, 1, 8},
    {"no line: exchange", kPermExchange, -1, 0, 2, 2},
    {"no line: shuffle", kPermShuffle, -1, 0, 2, 2},
    {"no line: butterfly", kPermButterfly, -1, 0, 1, 1},
    {"no line: bit reversed", kPermBitReverse, -1, 0, 1, 1},
};

// A table of the given sizes and one run of the vector method, printed.
struct VectorCase {
    const char* what;
    int inW, inH, outW, outH;
    PermVectorSettings settings;
    const char* connections;
};

const VectorCase kVectors[] = {
    {"row to row, shuffle",
     8,
     8,
     8,
     8,
     {kPermRow, kPermRow, kPermShuffle, kPermDefine, 0, 0, 0, 0},
     "(0,0)->(0,0) (1,0)->(2,0) (2,0)->(4,0) (3,0)->(6,0) (4,0)->(1,0) (5,0)->(3,0) "
     "(6,0)->(5,0) (7,0)->(7,0) "},
    {"row to row, a shift past the right edge drops those cells",
     4,
     4,
     4,
     4,
     {kPermRow, kPermRow, kPermNone, kPermDefine, 1, 3, 0, 2},
     "(0,1)->(2,3) (1,1)->(3,3) "},
    {"row to row, a negative shift drops the cells below 0",
     4,
     4,
     4,
     4,
     {kPermRow, kPermRow, kPermNone, kPermDefine, 1, 3, 0, -1},
     "(1,1)->(0,3) (2,1)->(1,3) (3,1)->(2,3) "},
    {"row to a narrower receiver row",
     4,
     1,
     2,
     3,
     {kPermRow, kPermRow, kPermNone, kPermDefine, 0, 2, 0, 0},
     "(0,0)->(0,2) (1,0)->(1,2) "},
    {"column to column, bit reversed",
     4,
     4,
     4,
     4,
     {kPermColumn, kPermColumn, kPermBitReverse, kPermDefine, 2, 1, 0, 0},
     "(2,0)->(1,0) (2,1)->(1,2) (2,2)->(1,1) (2,3)->(1,3) "},
    {"column to row, exchange bit 0",
     2,
     4,
     8,
     2,
     {kPermColumn, kPermRow, kPermExchange, kPermDefine, 1, 1, 0, 0},
     "(1,0)->(1,1) (1,1)->(0,1) (1,2)->(3,1) (1,3)->(2,1) "},
    {"row to column, shifted past the top",
     4,
     2,
     3,
     4,
     {kPermRow, kPermColumn, kPermNone, kPermDefine, 1, 2, 0, 1},
     "(0,1)->(2,1) (1,1)->(2,2) (2,1)->(2,3) "},
    {"row to a column the receiver lacks",
     4,
     2,
     3,
     4,
     {kPermRow, kPermColumn, kPermNone, kPermDefine, 1, 3, 0, 0},
     ""},
    {"a transmitter line the transmitter lacks",
     4,
     2,
     4,
     4,
     {kPermRow, kPermRow, kPermNone, kPermDefine, 2, 0, 0, 0},
     ""},
    {"the largest shift",
     4,
     4,
     4,
     4,
     {kPermRow, kPermRow, kPermNone, kPermDefine, 0, 0, 0, INT_MAX},
     ""},
    {"the smallest shift",
     4,
     4,
     4,
     4,
     {kPermRow, kPermRow, kPermBitReverse, kPermDefine, 0, 0, 0, INT_MIN},
     ""},
    {"a method on a line that is no power of two leaves the cells in place",
     3,
     1,
     3,
     1,
     {kPermRow, kPermRow, kPermShuffle, kPermDefine, 0, 0, 0, 0},
     "(0,0)->(0,0) (1,0)->(1,0) (2,0)->(2,0) "},
};

struct MatrixCase {
    const char* what;
    int inW, inH, outW, outH;
    PermMatrixSettings settings;
    const char* connections;
};

const MatrixCase kMatrices[] = {
    {"rows, shifted right and up, the right column dropped",
     4,
     2,
     4,
     3,
     {kPermRow, kPermNone, kPermDefine, 0, 1, 1},
     "(0,0)->(1,1) (0,1)->(1,2) (1,0)->(2,1) (1,1)->(2,2) (2,0)->(3,1) (2,1)->(3,2) "},
    {"rows below the receiver are dropped",
     2,
     2,
     2,
     2,
     {kPermRow, kPermNone, kPermDefine, 0, 0, -1},
     "(0,1)->(0,0) (1,1)->(1,0) "},
    {"rows, exchange bit 1",
     4,
     1,
     4,
     1,
     {kPermRow, kPermExchange, kPermDefine, 1, 0, 0},
     "(0,0)->(2,0) (1,0)->(3,0) (2,0)->(0,0) (3,0)->(1,0) "},
    {"columns, butterfly, shifted right",
     2,
     4,
     3,
     4,
     {kPermColumn, kPermButterfly, kPermDefine, 0, 1, 0},
     "(0,0)->(1,0) (0,1)->(1,2) (0,2)->(1,1) (0,3)->(1,3) (1,0)->(2,0) (1,1)->(2,2) "
     "(1,2)->(2,1) (1,3)->(2,3) "},
    {"columns, shifted down past the bottom",
     1,
     4,
     1,
     4,
     {kPermColumn, kPermNone, kPermDefine, 0, 0, -2},
     "(0,2)->(0,0) (0,3)->(0,1) "},
    {"columns pushed off the receiver",
     2,
     2,
     2,
     2,
     {kPermColumn, kPermNone, kPermDefine, 0, 5, 0},
     ""},
    {"the largest shifts", 2, 2, 2, 2, {kPermRow, kPermNone, kPermDefine, 0, INT_MAX, INT_MAX}, ""},
    {"the smallest shifts",
     2,
     2,
     2,
     2,
     {kPermColumn, kPermShuffle, kPermDefine, 0, INT_MIN, INT_MIN},
     ""},
};

} // namespace

TEST(PermMethods, PowersOfTwoAndTheirLogarithms) {
    for (const PowerCase& c : kPowers) {
        SCOPED_TRACE(c.a);
        EXPECT_EQ(IsPowerOfTwo(c.a), c.power);
        EXPECT_EQ(Log2(c.a), c.log);
    }
    EXPECT_EQ(Max(3, -7), 3);
    EXPECT_EQ(Max(-7, 3), 3);
}

TEST(PermMethods, MapPositionsAlongALine) {
    for (const MethodCase& c : kMethods) {
        SCOPED_TRACE(std::string(c.what) + " of " + std::to_string(c.i));
        EXPECT_EQ(PermMethodOf(c.method, c.n, c.bit, c.i), c.result);
    }
    // The named functions are the methods the menu offers.
    EXPECT_EQ(PermExchange(2, 1), 5);
    EXPECT_EQ(PermShuffle(3, 5), 3);
    EXPECT_EQ(PermButterfly(3, 6), 3);
    EXPECT_EQ(PermBitReverse(3, 3), 6);
}

TEST(PermMethods, AShuffleIsAPermutation) {
    for (int n = 0; n <= 6; n++) {
        for (int method : {kPermShuffle, kPermButterfly, kPermBitReverse, kPermExchange}) {
            if (method == kPermExchange && n == 0) continue; // a line of one cell has no bit
            SCOPED_TRACE(std::to_string(method) + " n=" + std::to_string(n));
            std::string seen(static_cast<size_t>(1) << n, '0');
            for (int i = 0; i < (1 << n); i++) {
                const int a = PermMethodOf(method, n, n > 0 ? n - 1 : 0, i);
                ASSERT_GE(a, 0);
                ASSERT_LT(a, 1 << n);
                seen[static_cast<size_t>(a)] = '1';
            }
            EXPECT_EQ(seen.find('0'), std::string::npos);
        }
    }
}

TEST(PermMethods, VectorMapsOneLineOntoAnother) {
    for (const VectorCase& c : kVectors) {
        SCOPED_TRACE(c.what);
        D_PermElem table(c.inW, c.inH, c.outW, c.outH);
        ApplyVectorMethod(table, c.settings);
        EXPECT_EQ(Connections(table), c.connections);
    }
}

TEST(PermMethods, MatrixMapsEveryRowOrColumn) {
    for (const MatrixCase& c : kMatrices) {
        SCOPED_TRACE(c.what);
        D_PermElem table(c.inW, c.inH, c.outW, c.outH);
        ApplyMatrixMethod(table, c.settings);
        EXPECT_EQ(Connections(table), c.connections);
    }
}

TEST(PermMethods, DeleteRemovesExactlyWhatDefineMade) {
    D_PermElem table(8, 8, 8, 8);
    table.Add(0, 0, 5, 5); // another target of a cell the method reaches
    table.Add(3, 3, 1, 1); // a cell it does not reach
    PermVectorSettings vector = {kPermRow, kPermRow, kPermShuffle, kPermDefine, 0, 0, 0, 0};
    ApplyVectorMethod(table, vector);
    // Made twice, held once.
    ApplyVectorMethod(table, vector);
    EXPECT_EQ(table.GetTargetCount(4, 0), 1);
    vector.mode = kPermDelete;
    ApplyVectorMethod(table, vector);
    EXPECT_EQ(Connections(table), "(0,0)->(5,5) (3,3)->(1,1) ");

    PermMatrixSettings matrix = {kPermColumn, kPermBitReverse, kPermDefine, 0, 0, 0};
    ApplyMatrixMethod(table, matrix);
    EXPECT_EQ(table.GetTargetCount(0, 0), 2);
    matrix.mode = kPermDelete;
    ApplyMatrixMethod(table, matrix);
    EXPECT_EQ(Connections(table), "(0,0)->(5,5) (3,3)->(1,1) ");
}
