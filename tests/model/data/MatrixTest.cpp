#include "model/data/Matrix.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"
#include "tests/support/AddressSpace.h"

namespace {

class Refreshed : public FileArgument {
public:
    void RefreshAfterRead() override { ++calls; }
    int calls = 0;
};

// The bits of a matrix as text, top row first, like a MATRIX block's data lines.
std::string Picture(const Matrix& m) {
    std::string text;
    for (int y = m.GetDimY() - 1; y >= 0; --y) {
        for (int x = 0; x < m.GetDimX(); ++x)
            text += m(x, y) ? '1' : '0';
        text += '\n';
    }
    return text;
}

Matrix FromPicture(int width, const std::vector<std::string>& rows) {
    Matrix m(width, static_cast<int>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r) {
        const int y = static_cast<int>(rows.size() - 1 - r);
        for (int x = 0; x < width; ++x)
            m.SetBit(x, y, rows[r][x] == '1');
    }
    return m;
}

// A plane of about four set cells in five, in a layout that differs with the seed.
Matrix Pattern(int width, int height, int seed) {
    Matrix plane(width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            plane.SetBit(x, y, (x * 7 + y * 3 + seed) % 5 != 0);
    return plane;
}

std::vector<uint32_t> Words(const Matrix& m) {
    std::vector<uint32_t> words(m.GetBufferSize() / 4);
    m.SetToBuffer(words.data(), m.GetBufferSize());
    return words;
}

const char* const kMatrix4x4 = R"(MATRIX {
  DIMENSION: (4,4)
  DATA {
    0101
    0011
    0000
    1111
  }
}
)";

TEST(Matrix, ReadsABlockTopRowFirst) {
    ClearParseError();
    std::istringstream in(kMatrix4x4);
    Matrix m(4, 4);
    Refreshed target;
    ASSERT_EQ(m.Read(in, &target), kNoError);
    EXPECT_EQ(Picture(m), "0101\n0011\n0000\n1111\n");
    EXPECT_EQ(m(1, 3), 1);
    EXPECT_EQ(m(0, 0), 1);
    EXPECT_EQ(target.calls, 1);
}

struct ReadCase {
    const char* name;
    int width;
    int height;
    const char* input;
    int code;
    int line;
    const char* token;
};

const ReadCase kReadErrors[] = {
    {"empty file", 4, 4, "", kUnexpectedEof, 0, nullptr},
    {"tab before keyword", 4, 4, "\tMATRIX {\n", kKeywordExpected, 1, "MATRIX"},
    {"no brace", 4, 4, "MATRIX\n  DIMENSION: (4,4)\n", kKeywordExpected, 2, "{"},
    {"end after brace", 4, 4, "MATRIX {\n", kUnexpectedEof, 1, nullptr},
    {"other dimension", 4, 4, "MATRIX {\n  DIMENSION: (5,4)\n", kDimensionError, 2, "DIMENSION:"},
    {"undefined dimension", 4, 4, "MATRIX {\n  DIMENSION: (-,-)\n", kNotDefined, 2, "DIMENSION:"},
    {"open pair", 4, 4, "MATRIX {\n  DIMENSION: (4,4\n", kUnexpectedEol, 2, "DIMENSION:"},
    {"bad separator", 4, 4, "MATRIX {\n  DIMENSION: (4;4)\n", kUnexpectedChar, 2, "DIMENSION:"},
    {"no pair", 4, 4, "MATRIX {\n  DIMENSION:\n", kUnexpectedEol, 2, "DIMENSION:"},
    {"no data", 2, 1, "MATRIX {\n  DIMENSION: (2,1)\n  ROWS {\n", kKeywordExpected, 3, "DATA"},
    {"height differs", 4, 2, "MATRIX {\n DIMENSION: (4,4)\n", kDimensionError, 2, "DIMENSION:"},
    {"row then junk", 4, 1, "MATRIX {\n DIMENSION: (4,1)\n DATA {\n  0101 x\n", kUnexpectedChar, 4,
     "DATA"},
    {"row too long", 4, 1, "MATRIX {\n DIMENSION: (4,1)\n DATA {\n  01012\n", kUnexpectedChar, 4,
     "DATA"},
    {"row too short", 4, 1, "MATRIX {\n DIMENSION: (4,1)\n DATA {\n  010\n", kUnexpectedChar, 4,
     "DATA"},
    {"other digit", 4, 1, "MATRIX {\n DIMENSION: (4,1)\n DATA {\n  0201\n", kUnexpectedChar, 4,
     "DATA"},
    {"end in rows", 4, 2, "MATRIX {\n DIMENSION: (4,2)\n DATA {\n  0101\n", kUnexpectedEof, 4,
     nullptr},
    {"no closing brace", 2, 1, "MATRIX {\n DIMENSION: (2,1)\n DATA {\n  01\n}\n", kUnexpectedEof, 5,
     nullptr},
    {"extra row", 2, 1, "MATRIX {\n DIMENSION: (2,1)\n DATA {\n  01\n  10\n  }\n}\n",
     kKeywordExpected, 5, "}"},
    {"comments count as lines", 2, 1, "# saved\n\nMATRIX {\n DIMENSION: (3,1)\n", kDimensionError,
     4, "DIMENSION:"},
};

TEST(Matrix, ReadReportsTheFirstErrorWithLineAndToken) {
    for (const ReadCase& c : kReadErrors) {
        SCOPED_TRACE(c.name);
        ClearParseError();
        std::istringstream in(c.input);
        Matrix m(c.width, c.height, 1);
        const Matrix before = m;
        Refreshed target;
        EXPECT_EQ(m.Read(in, &target), c.code);
        EXPECT_EQ(GetParseError(), c.code);
        EXPECT_EQ(GetParseErrorLine(), c.line);
        if (c.token) {
            EXPECT_STREQ(GetParseErrorToken(), c.token);
        } else {
            EXPECT_EQ(GetParseErrorToken(), nullptr);
        }
        EXPECT_EQ(m, before); // a failed read changes nothing
        EXPECT_EQ(target.calls, 0);
    }
}

// A reader that has taken the dimension line itself reads on from its cursor; a failure there
// leaves the matrix as it was too.
TEST(Matrix, ReadAfterDimensionTakesTheRowsOrNothing) {
    Matrix m(2, 1, 1);
    const Matrix before = m;
    std::istringstream broken(" DATA {\n  1x\n }\n}\n");
    char* cursor = EmptyCursor();
    ClearParseError();
    EXPECT_EQ(m.ReadAfterDimension(broken, cursor), kUnexpectedChar);
    EXPECT_STREQ(GetParseErrorToken(), "DATA");
    EXPECT_EQ(m, before);

    std::istringstream good(" DATA {\n  01\n }\n}\n");
    cursor = EmptyCursor();
    ClearParseError();
    ASSERT_EQ(m.ReadAfterDimension(good, cursor), 0);
    EXPECT_EQ(m(0, 0), 0);
    EXPECT_EQ(m(1, 0), 1);
}

struct AcceptCase {
    const char* name;
    const char* input;
};

const AcceptCase kAccepted[] = {
    {"keywords on one line", "MATRIX { DIMENSION: (2,1) DATA {\n 10\n} }\n"},
    {"brackets and blanks", "MATRIX\n{\nDIMENSION: [ 2 , 1 )\nDATA\n{\n10   \n}\n}\n"},
    {"comments between rows", "MATRIX {\n# c\n DIMENSION: (2,1)\n DATA {\n\n  10\n }\n}\n"},
    {"last line without line feed", "MATRIX {\n DIMENSION: (2,1)\n DATA {\n  10\n }\n}"},
};

TEST(Matrix, ReadAcceptsTheFormatsFreedoms) {
    for (const AcceptCase& c : kAccepted) {
        SCOPED_TRACE(c.name);
        ClearParseError();
        std::istringstream in(c.input);
        Matrix m(2, 1);
        EXPECT_EQ(m.Read(in, nullptr), kNoError);
        EXPECT_EQ(Picture(m), "10\n");
    }
}

TEST(Matrix, ARowLongerThanTheMatrixIsAnUnexpectedCharOnItsLine) {
    ClearParseError();
    const std::string row(60000, '0');
    std::istringstream in("MATRIX {\n DIMENSION: (2,1)\n DATA {\n" + row + "\n }\n}\n");
    Matrix m(2, 1);
    EXPECT_EQ(m.Read(in, nullptr), kUnexpectedChar);
    EXPECT_EQ(GetParseErrorLine(), 4);
    EXPECT_STREQ(GetParseErrorToken(), "DATA");
}

TEST(Matrix, WritesTheBlockAtItsLevel) {
    const Matrix m = FromPicture(3, {"110", "001"});
    std::ostringstream out;
    ClearParseError();
    ASSERT_EQ(Matrix(m).Write(out, 1, nullptr), kNoError);
    EXPECT_EQ(out.str(), "  MATRIX {\n"
                         "    DIMENSION: (3,2)\n"
                         "    DATA {\n"
                         "      110\n"
                         "      001\n"
                         "    }\n"
                         "  }\n");
}

TEST(Matrix, WriteThenReadGivesTheSameBytes) {
    ClearParseError();
    std::istringstream in(kMatrix4x4);
    Matrix m(4, 4);
    ASSERT_EQ(m.Read(in, nullptr), kNoError);
    std::ostringstream out;
    ASSERT_EQ(m.Write(out, 0, nullptr), kNoError);
    EXPECT_EQ(out.str(), kMatrix4x4);

    Matrix wide(70, 3);
    for (int x = 0; x < 70; x += 3)
        wide.SetBit(x, x % 3, 1);
    std::ostringstream first;
    ASSERT_EQ(wide.Write(first, 2, nullptr), kNoError);
    std::istringstream back(first.str());
    Matrix reread(70, 3);
    ASSERT_EQ(reread.Read(back, nullptr), kNoError);
    EXPECT_EQ(reread, wide);
    std::ostringstream second;
    ASSERT_EQ(reread.Write(second, 2, nullptr), kNoError);
    EXPECT_EQ(second.str(), first.str());
}

TEST(Matrix, WriteToAFailedStreamRecordsIoError) {
    ClearParseError();
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    Matrix m(2, 2);
    EXPECT_EQ(m.Write(out, 0, nullptr), kIoError);
    EXPECT_EQ(GetParseError(), kIoError);
}

struct SizeCase {
    int width;
    int height;
    uint32_t bytes;
};

const SizeCase kSizes[] = {{32, 1, 4}, {33, 1, 8}, {33, 2, 16}, {1, 1, 4}, {64, 3, 24}};

TEST(Matrix, RowsArePaddedToWholeWords) {
    for (const SizeCase& c : kSizes) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(Matrix(c.width, c.height).GetBufferSize(), c.bytes);
    }
}

TEST(Matrix, BitXIsBitXMod32OfWordXDiv32) {
    Matrix m(40, 2);
    m.SetBit(33, 1, 1);
    m.SetBit(0, 0, 1);
    EXPECT_EQ(Words(m), (std::vector<uint32_t>{1u, 0u, 0u, 2u}));
}

TEST(Matrix, ReadsOutsideAreZeroAndWritesOutsideAreIgnored) {
    Matrix m(3, 3, 1);
    EXPECT_EQ(m(-1, 0), 0);
    EXPECT_EQ(m(3, 0), 0);
    EXPECT_EQ(m(0, 3), 0);
    Matrix n(3, 3);
    n.SetBit(3, 0, 1);
    n.SetBit(0, -1, 1);
    EXPECT_EQ(n.ToggleBit(5, 5), 0);
    EXPECT_EQ(n, Matrix(3, 3));
}

TEST(Matrix, PaddingBitsStayZero) {
    EXPECT_EQ(Words(Matrix(3, 1, 1)), std::vector<uint32_t>{0x7u});
    Matrix m(35, 1);
    m.SetAll();
    EXPECT_EQ(Words(m), (std::vector<uint32_t>{0xFFFFFFFFu, 0x7u}));
    Matrix zero(3, 1);
    m = Matrix(3, 1);
    m.Nor(zero);
    EXPECT_EQ(Words(m), std::vector<uint32_t>{0x7u});
    m.NandOf(zero, zero);
    EXPECT_EQ(Words(m), std::vector<uint32_t>{0x7u});
    m.NorOf(zero, zero);
    EXPECT_EQ(Words(m), std::vector<uint32_t>{0x7u});
}

TEST(Matrix, ShiftRightAfterNandBringsInZero) {
    Matrix a(3, 1);
    const Matrix b(3, 1);
    a.Nand(b);
    a.ShiftRight(1);
    EXPECT_EQ(Picture(a), "110\n"); // columns 0 and 1 set, column 2 clear
}

TEST(Matrix, ShiftsMoveBitsAcrossWordBoundaries) {
    Matrix m(40, 1);
    m.SetBit(31, 0, 1);
    Matrix left = m;
    left.ShiftLeft(1);
    EXPECT_EQ(left(32, 0), 1);
    EXPECT_EQ(left(31, 0), 0);
    Matrix right = m;
    right.ShiftRight(1);
    EXPECT_EQ(right(30, 0), 1);
    EXPECT_EQ(right(31, 0), 0);

    Matrix far(70, 1);
    far.SetBit(69, 0, 1);
    far.ShiftRight(66);
    EXPECT_EQ(far(3, 0), 1);
    far.ShiftLeft(40);
    EXPECT_EQ(far(43, 0), 1);
}

TEST(Matrix, ShiftLeftDropsTheLastColumnIntoNothing) {
    Matrix m = FromPicture(5, {"10001"});
    m.ShiftLeft(1);
    EXPECT_EQ(Picture(m), "01000\n");
    EXPECT_EQ(Words(m), std::vector<uint32_t>{0x2u});
    m.ShiftLeft(10);
    EXPECT_EQ(m, Matrix(5, 1));
}

TEST(Matrix, RowShiftsMoveThePictureDownAndUp) {
    const Matrix m = FromPicture(2, {"11", "10", "01"});
    Matrix down = m;
    down.ShiftRowsDown(1);
    EXPECT_EQ(Picture(down), "00\n11\n10\n");
    Matrix up = m;
    up.ShiftRowsUp(2);
    EXPECT_EQ(Picture(up), "01\n00\n00\n");
    up.ShiftRowsUp(7);
    EXPECT_EQ(up, Matrix(2, 3));
}

TEST(Matrix, LogicalOperationsWorkWordWise) {
    const Matrix a = FromPicture(4, {"1100"});
    const Matrix b = FromPicture(4, {"1010"});
    Matrix m = a;
    m.And(b);
    EXPECT_EQ(Picture(m), "1000\n");
    m = a;
    m.Or(b);
    EXPECT_EQ(Picture(m), "1110\n");
    m = a;
    m.Xor(b);
    EXPECT_EQ(Picture(m), "0110\n");
    m = a;
    m.Nand(b);
    EXPECT_EQ(Picture(m), "0111\n");
    m = a;
    m.Nor(b);
    EXPECT_EQ(Picture(m), "0001\n");
    m.AndOf(a, b);
    EXPECT_EQ(Picture(m), "1000\n");
    m.OrOf(a, b);
    EXPECT_EQ(Picture(m), "1110\n");
    m.XorOf(a, b);
    EXPECT_EQ(Picture(m), "0110\n");
}

TEST(Matrix, OperationsOnOtherSizesChangeNothing) {
    Matrix m(4, 2, 1);
    const Matrix other(40, 9);
    ::testing::internal::CaptureStderr();
    m.And(other);
    m.XorOf(other, other);
    m.AndOf(m, other); // named by the operation called, also when one operand is the target
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Matrix::And: dimension mismatch\nMatrix::XorOf: dimension mismatch\n"
              "Matrix::AndOf: dimension mismatch\n");
    EXPECT_EQ(m, Matrix(4, 2, 1));
}

TEST(Matrix, AssignmentTakesTheSourcesDimensions) {
    Matrix m(2, 2);
    const Matrix wide = FromPicture(40, {std::string(40, '1')});
    m = wide;
    EXPECT_EQ(m.GetDimX(), 40);
    EXPECT_EQ(m.GetDimY(), 1);
    EXPECT_EQ(m, wide);
    const Matrix& same = m;
    m = same;
    EXPECT_EQ(m, wide);
}

TEST(Matrix, AMovedFromMatrixStaysUsable) {
    Matrix source(40, 2, 1);
    Matrix moved(std::move(source));
    EXPECT_EQ(moved, Matrix(40, 2, 1));
    EXPECT_EQ(source.GetDimX(), 1); // NOLINT: the state after a move is defined
    EXPECT_EQ(source.GetBufferSize(), 4u);
    source.SetBit(0, 0, 1);
    EXPECT_EQ(source(0, 0), 1);

    Matrix target(3, 3);
    target = std::move(moved);
    EXPECT_EQ(target, Matrix(40, 2, 1));
    moved.SetBit(2, 2, 1); // NOLINT: holds the target's former 3 x 3 words
    EXPECT_EQ(moved(2, 2), 1);
    EXPECT_EQ(Words(moved).size(), 3u);
}

TEST(Matrix, CopyOverlapCopiesTheCommonRectangle) {
    Matrix m(3, 3, 1);
    m.CopyOverlap(FromPicture(2, {"01", "11"}));
    EXPECT_EQ(Picture(m), "000\n010\n110\n");
    Matrix wide(40, 1);
    wide.CopyOverlap(Matrix(70, 2, 1));
    EXPECT_EQ(wide, Matrix(40, 1, 1));
    m.CopyOverlap(m);
    EXPECT_EQ(Picture(m), "000\n010\n110\n");
}

TEST(Matrix, RawWordExchangeChecksTheBufferSize) {
    Matrix m = FromPicture(33, {std::string(33, '1')});
    std::vector<unsigned char> buffer(m.GetBufferSize());
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(m.SetToBuffer(buffer.data(), m.GetBufferSize() - 1), 0);
    EXPECT_EQ(m.GetFromBuffer(buffer.data(), 3), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Matrix::SetToBuffer: buf_size(7)<size_of_mat(8)\n"
              "Matrix::GetFromBuffer: buf_size(3)<size_of_mat(8)\n");
    EXPECT_EQ(m.SetToBuffer(buffer.data(), m.GetBufferSize()), 1);

    const uint32_t stray[2] = {0x5u, 0xFFFFFFFFu}; // bits beyond column 32 are padding
    Matrix back(33, 1);
    EXPECT_EQ(back.GetFromBuffer(stray, sizeof stray), 1);
    EXPECT_EQ(Words(back), (std::vector<uint32_t>{0x5u, 0x1u}));
}

struct PixelCase {
    int pixelX;
    int pixelY;
    int result;
    int cellX;
    int cellY;
};

const PixelCase kPixels[] = {
    {10, 20, 0, -1, -1}, {35, 20, 0, -1, -1},  {11, 11, 1, 0, 3},    {36, 11, 1, 1, 3},
    {11, 109, 1, 0, 0},  {110, 20, 0, -1, -1}, {111, 20, 0, -1, -1}, {20, 35, 0, -1, -1},
};

TEST(Matrix, PixelToCellFindsTheCellUnderThePointer) {
    const Matrix m(4, 4);
    for (const PixelCase& c : kPixels) {
        SCOPED_TRACE(::testing::Message() << c.pixelX << "," << c.pixelY);
        int x = -1;
        int y = -1;
        EXPECT_EQ(m.PixelToCell(x, y, c.pixelX, c.pixelY, 100), c.result);
        EXPECT_EQ(x, c.cellX);
        EXPECT_EQ(y, c.cellY);
    }
    int x = -1;
    int y = -1;
    EXPECT_EQ(m.PixelToCell(x, y, 20, 20, 3), 0); // zoom below one pixel per cell
}

} // namespace

namespace {

// Resident bytes of the process.
long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

} // namespace

namespace {

// Keeps 56 MB of stores for reuse, limits the address space to what the process holds plus less
// than a 16 MB plane needs, and makes such a plane: exits with 0 when it was had.
void MakeAPlaneAfterKeepingStores() {
    {
        std::vector<Matrix> kept;
        kept.reserve(7);
        for (int i = 0; i < 7; i++)
            kept.emplace_back(16384, 4096); // 8 MB each, kept when they go
    }
    LimitAddressSpaceToHeldPlus(std::size_t{12} << 20);
    Matrix plane(16384, 8192);
    plane.SetBit(16383, 8191, 1);
    std::exit(plane(16383, 8191) == 1 ? 0 : 4);
}

} // namespace

// The stores kept for reuse are given back before memory counts as used up.
TEST(Matrix, KeptStoresAreGivenBackBeforeMemoryRunsOut) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the address sanitizer reserves address space that no limit can follow";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(MakeAPlaneAfterKeepingStores(), testing::ExitedWithCode(0), "");
}

// An 8 MB plane that is never written stays out of memory: made, cleared and cleared again after
// it was filled, it costs no more than a little.
TEST(Matrix, LargeAllZeroPlanesCostNoMemoryUntilWritten) {
    const long kLittle = 2 * 1024 * 1024;
    const long before = ResidentBytes();
    Matrix plane(16384, 4096);
    EXPECT_LT(ResidentBytes() - before, kLittle);
    plane.UnsetAll();
    EXPECT_LT(ResidentBytes() - before, kLittle);
    EXPECT_EQ(plane(16383, 4095), 0);
    plane.SetAll();
    EXPECT_EQ(plane(16383, 4095), 1);
    plane.UnsetAll();
    EXPECT_LT(ResidentBytes() - before, kLittle);
    EXPECT_EQ(plane(16383, 4095), 0);
    EXPECT_EQ(plane, Matrix(16384, 4096));
}

// Small planes keep their words inside the object, large ones elsewhere: every mix of the two
// copies, moves and swaps with its bits.
TEST(Matrix, SmallAndLargePlanesKeepTheirBitsThroughCopiesAndMoves) {
    const int kSizes[][2] = {{1, 1}, {16, 16}, {32, 16}, {33, 16}, {17, 17}, {300, 200}};
    auto pattern = [](int width, int height, int seed) {
        Matrix plane(width, height);
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++)
                plane.SetBit(x, y, (x * 7 + y * 3 + seed) % 5 == 0);
        return plane;
    };
    for (const auto& a : kSizes) {
        for (const auto& b : kSizes) {
            SCOPED_TRACE(std::to_string(a[0]) + "x" + std::to_string(a[1]) + " and " +
                         std::to_string(b[0]) + "x" + std::to_string(b[1]));
            const Matrix first = pattern(a[0], a[1], 1);
            const Matrix second = pattern(b[0], b[1], 2);
            Matrix copy = first;
            copy = second;
            EXPECT_EQ(copy, second);
            Matrix moved = first;
            Matrix source = second;
            moved = std::move(source);
            EXPECT_EQ(moved, second);
            Matrix built(std::move(moved));
            EXPECT_EQ(built, second);
            Matrix x = first, y = second;
            std::swap(x, y);
            EXPECT_EQ(x, second);
            EXPECT_EQ(y, first);
            x.SetBit(0, 0, 1 - x(0, 0)); // the words are x's own
            EXPECT_NE(x, second);
        }
    }
}

// The one-pass moves give exactly what a moved copy gives, across word boundaries, on planes
// with and without padding, with moves up to the whole plane and beyond, and onto the source
// itself.
TEST(Matrix, MovedOperationsEqualACombinedMovedCopy) {
    struct Move {
        int width, height, columns, rows;
    };
    const Move kMoves[] = {{5, 3, 0, 0},    {5, 3, 2, 1},   {5, 3, 5, 3},    {5, 3, 9, 7},
                           {32, 4, 1, 0},   {32, 4, 31, 2}, {33, 4, 32, 1},  {70, 5, 33, 0},
                           {70, 5, 64, 4},  {70, 5, 69, 0}, {100, 6, 37, 2}, {96, 3, 40, 1},
                           {96, 3, -1, -1}, {1, 1, 0, 0},   {1, 1, 1, 1},    {64, 2, 63, 1}};
    for (const Move& m : kMoves) {
        SCOPED_TRACE(std::to_string(m.width) + "x" + std::to_string(m.height) + " by " +
                     std::to_string(m.columns) + "," + std::to_string(m.rows));
        const Matrix source = Pattern(m.width, m.height, 1);
        const Matrix target = Pattern(m.width, m.height, 2);

        Matrix moved = source;
        moved.ShiftRight(m.columns);
        moved.ShiftRowsDown(m.rows);
        Matrix expected = target;
        expected.And(moved);
        Matrix got = target;
        got.AndMoved(source, m.columns, m.rows);
        EXPECT_EQ(Words(got), Words(expected));
        Matrix self = source;
        expected = source;
        expected.And(moved);
        self.AndMoved(self, m.columns, m.rows);
        EXPECT_EQ(Words(self), Words(expected));

        moved = source;
        moved.ShiftLeft(m.columns);
        moved.ShiftRowsUp(m.rows);
        expected = target;
        expected.Or(moved);
        got = target;
        got.OrMoved(source, m.columns, m.rows);
        EXPECT_EQ(Words(got), Words(expected));
        self = source;
        expected = source;
        expected.Or(moved);
        self.OrMoved(self, m.columns, m.rows);
        EXPECT_EQ(Words(self), Words(expected));
    }
    Matrix small(4, 2, 1);
    ::testing::internal::CaptureStderr();
    small.AndMoved(Matrix(5, 2), 1, 0);
    small.OrMoved(Matrix(4, 3), 1, 0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Matrix::AndMoved: dimension mismatch\nMatrix::OrMoved: dimension mismatch\n");
    EXPECT_EQ(small, Matrix(4, 2, 1));
}

// A latch shares a large plane with its source instead of copying it. Whichever side is written
// afterwards, by any write, the other keeps exactly the bits it had, as with a copy.
TEST(Matrix, ASharedPlaneBehavesAsACopyUnderEveryWrite) {
    struct Write {
        const char* name;
        void (*write)(Matrix& m, const Matrix& other);
    };
    const Write kWrites[] = {
        {"SetBit", [](Matrix& m, const Matrix&) { m.SetBit(3, 1, 1 - m(3, 1)); }},
        {"ClearBit", [](Matrix& m, const Matrix&) { m.ClearBit(1, 0); }},
        {"ToggleBit", [](Matrix& m, const Matrix&) { m.ToggleBit(2, 2); }},
        {"SetAll", [](Matrix& m, const Matrix&) { m.SetAll(); }},
        {"UnsetAll", [](Matrix& m, const Matrix&) { m.UnsetAll(); }},
        {"And", [](Matrix& m, const Matrix& o) { m.And(o); }},
        {"Nor", [](Matrix& m, const Matrix& o) { m.Nor(o); }},
        {"AndOf", [](Matrix& m, const Matrix& o) { m.AndOf(m, o); }},
        {"XorOf", [](Matrix& m, const Matrix& o) { m.XorOf(o, m); }},
        {"NandOf", [](Matrix& m, const Matrix& o) { m.NandOf(o, o); }},
        {"ShiftRight", [](Matrix& m, const Matrix&) { m.ShiftRight(33); }},
        {"ShiftLeft", [](Matrix& m, const Matrix&) { m.ShiftLeft(1); }},
        {"ShiftRowsDown", [](Matrix& m, const Matrix&) { m.ShiftRowsDown(2); }},
        {"ShiftRowsUp", [](Matrix& m, const Matrix&) { m.ShiftRowsUp(1); }},
        {"AndMoved", [](Matrix& m, const Matrix& o) { m.AndMoved(o, 5, 1); }},
        {"OrMoved", [](Matrix& m, const Matrix&) { m.OrMoved(m, 3, 1); }},
        {"CopyOverlap", [](Matrix& m, const Matrix& o) { m.CopyOverlap(o); }},
        {"assignment", [](Matrix& m, const Matrix& o) { m = o; }},
        {"GetFromBuffer",
         [](Matrix& m, const Matrix& o) {
             std::vector<uint32_t> words = Words(o);
             m.GetFromBuffer(words.data(), o.GetBufferSize());
         }},
        {"Share of another", [](Matrix& m, const Matrix& o) { m.Share(o); }},
    };
    const int kSizes[][2] = {{70, 20}, {33, 16}, {16, 16}, {5, 3}};
    for (const auto& size : kSizes) {
        const Matrix original = Pattern(size[0], size[1], 1);
        const Matrix other = Pattern(size[0], size[1], 2);
        const bool large = size[0] > 32 || size[1] > 16;
        for (const Write& w : kWrites) {
            for (const bool writeSource : {false, true}) {
                SCOPED_TRACE(std::string(w.name) + " on the " +
                             (writeSource ? "source " : "latch ") + std::to_string(size[0]) + "x" +
                             std::to_string(size[1]));
                Matrix source = original;
                Matrix latch(1, 1);
                latch.Share(source);
                EXPECT_EQ(latch.SharesWordsWith(source), large);
                EXPECT_EQ(Words(latch), Words(original));
                Matrix expected = original;
                w.write(expected, other);
                w.write(writeSource ? source : latch, other);
                EXPECT_EQ(Words(writeSource ? source : latch), Words(expected));
                EXPECT_EQ(Words(writeSource ? latch : source), Words(original));
            }
        }
    }
}

// A plane whose words are made on first use reads, writes, copies and shares exactly as one made
// at once, small or large, all zero or all ones (padding bits 0 either way).
TEST(Matrix, APlaneMadeOnFirstUseBehavesAsOneMadeAtOnce) {
    struct Use {
        const char* name;
        void (*use)(Matrix& m, const Matrix& other);
    };
    const Use kUses[] = {
        {"nothing", [](Matrix&, const Matrix&) {}},
        {"SetBit", [](Matrix& m, const Matrix&) { m.SetBit(1, 1, 1 - m(1, 1)); }},
        {"ShiftRight", [](Matrix& m, const Matrix&) { m.ShiftRight(1); }},
        {"ShiftRowsDown", [](Matrix& m, const Matrix&) { m.ShiftRowsDown(1); }},
        {"UnsetAll", [](Matrix& m, const Matrix&) { m.UnsetAll(); }},
        {"SetAll", [](Matrix& m, const Matrix&) { m.SetAll(); }},
        {"Xor", [](Matrix& m, const Matrix& o) { m.Xor(o); }},
        {"NorOf", [](Matrix& m, const Matrix& o) { m.NorOf(o, m); }},
        {"assignment", [](Matrix& m, const Matrix& o) { m = o; }},
        {"Share of another", [](Matrix& m, const Matrix& o) { m.Share(o); }},
        {"GetFromBuffer",
         [](Matrix& m, const Matrix& o) {
             std::vector<uint32_t> words = Words(o);
             m.GetFromBuffer(words.data(), o.GetBufferSize());
         }},
    };
    const int kSizes[][2] = {{5, 3}, {33, 16}, {70, 20}, {2048, 1024}, {2049, 1024}};
    for (const auto& size : kSizes) {
        const Matrix other = Pattern(size[0], size[1], 2);
        for (const int fill : {0, 1}) {
            for (const Use& u : kUses) {
                SCOPED_TRACE(std::string(u.name) + " with fill " + std::to_string(fill) + " on " +
                             std::to_string(size[0]) + "x" + std::to_string(size[1]));
                const Matrix atOnce(size[0], size[1], fill);
                Matrix expected = atOnce;
                u.use(expected, other);
                Matrix later = Matrix::MadeOnFirstUse(size[0], size[1], fill);
                const Matrix copyBefore = later;
                Matrix shared(1, 1);
                shared.Share(later);
                u.use(later, other);
                EXPECT_EQ(Words(later), Words(expected));
                EXPECT_TRUE(later == expected);
                EXPECT_EQ(Words(copyBefore), Words(atOnce));
                EXPECT_EQ(Words(shared), Words(atOnce));
            }
        }
    }
}

// Rows are read whatever their number and width, rows without a set cell included, into a matrix
// made at once and holding other bits, or into one made on first use.
TEST(Matrix, ReadTakesEveryRowOfLargeAndLongBlocks) {
    const int kSizes[][2] = {{3, 4}, {40000, 120}, {1, 70000}, {2049, 1030}};
    for (const auto& size : kSizes) {
        SCOPED_TRACE(std::to_string(size[0]) + "x" + std::to_string(size[1]));
        Matrix written = Pattern(size[0], size[1], 1);
        for (int y = 0; y < size[1]; y += 4) {
            for (int x = 0; x < size[0]; x++)
                written.ClearBit(x, y);
        }
        std::ostringstream out;
        ASSERT_EQ(written.Write(out, 0, nullptr), 0);
        Matrix atOnce = Pattern(size[0], size[1], 3);
        Matrix later = Matrix::MadeOnFirstUse(size[0], size[1]);
        for (Matrix* target : {&atOnce, &later}) {
            ClearParseError();
            std::istringstream in(out.str());
            ASSERT_EQ(target->Read(in, nullptr), 0);
            EXPECT_EQ(Words(*target), Words(written));
        }
    }
}
