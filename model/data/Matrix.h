// A rectangle of bits, the plane that travels along the wires, makes up element data and is
// saved as a "MATRIX" block. Owns its words.
//
// Stored row by row in 32-bit words, row 0 first, each row padded to a whole word: bit (x, y) is
// bit x mod 32 of word y * anz_elements + x / 32, bit 0 the least significant. The padding bits are
// always 0, so shifts only bring in 0 and the raw words handed to a client carry no stray bits.
// This layout is shared with the Matrix of the generated C++ client program.
//
// Reads outside the rectangle give 0 and writes outside it are ignored. On screen row 0 is drawn
// at the bottom and column 0 at the left.
#pragma once

#include <cstdint>
#include <vector>

#include "model/data/BlockPool.h"
#include "model/format/LoadSaveObject.h"

constexpr int kLogBytesUnsigned = 2; // bytes per word: 4
constexpr int kLogBitsUnsigned = 5;  // bits per word: 32

// The words of a matrix. Small planes (16 x 16 and below) keep them inside the object, so that
// reaching them takes no further pointer; large ones are allocated zero-filled without touching
// their pages, so that a plane that stays all zero costs no memory until it is written.
//
// Large words may be shared (Share): a latch takes its source's plane without copying it, and the
// first write to either side gives the writer words of its own. Every write reaches the words
// through the non-const accessors, which make them the writer's own first, so a shared plane
// behaves exactly like a copy. The simulator is single-threaded; so is the count of sharers.
//
// Large words may also be made on first use (AssignOnFirstUse): until anything reaches them they
// are only their count and the value of their rows, so that a reader can hold a plane of the size
// a file declares before the file has shown that it holds it. Copies stay unmade too.
class MatrixWords {
public:
    using Word = uint32_t;
    static const size_t kInlineWords = 16;

    MatrixWords() = default;
    MatrixWords(const MatrixWords& other);
    MatrixWords(MatrixWords&& other) noexcept;
    MatrixWords& operator=(const MatrixWords& other);
    MatrixWords& operator=(MatrixWords&& other) noexcept;
    ~MatrixWords() { Release(); }

    // count words, each value; the old words are gone.
    void assign(size_t count, Word value);
    // count words in rows of rowWords, each value but the last of every row, which is last; made
    // when they are first reached. Small stores are made at once.
    void AssignOnFirstUse(size_t count, size_t rowWords, Word value, Word last);
    // Every word 0; a large store is given back fresh pages instead of being written.
    void Zero();
    void swap(MatrixWords& other) noexcept;
    // The same words as other's: large ones are shared until either side writes, small ones
    // copied.
    void Share(const MatrixWords& other);
    // Words of this object's own, for writing; their values are kept.
    Word* data() {
        if (IsUnmade()) {
            Make();
        } else if (IsShared()) {
            Unshare(true);
        }
        return words;
    }
    const Word* data() const {
        if (IsUnmade()) Make();
        return words;
    }
    // Words of this object's own whose old values are about to be overwritten completely.
    Word* Overwrite() {
        if (IsUnmade()) {
            words = NewStore(count, false);
        } else if (IsShared()) {
            Unshare(false);
        }
        return words;
    }
    size_t size() const { return count; }
    Word* begin() { return data(); }
    Word* end() { return data() + count; }
    bool operator==(const MatrixWords& other) const;
    // Whether other holds these very words (a test's view of sharing).
    bool SharesWith(const MatrixWords& other) const {
        return !IsInline() && !IsUnmade() && words == other.words;
    }
    // Whether the words are still to be made (a test's view of making on first use).
    bool IsUnmade() const { return words == nullptr; }

private:
    // count words of a store of their own, zero when zeroed is set.
    static Word* NewStore(size_t count, bool zeroed);
    bool IsInline() const { return words == inlineWords; }
    // Makes unmade words, with the values of their rows.
    void Make() const;
    // While the words are unmade (large stores only), the inline words, unused then, hold what
    // their rows are: the words of a row, the value of each word, the value of each row's last.
    enum { kUnmadeRowWords, kUnmadeValue, kUnmadeLast, kUnmadeSize };
    void SetUnmade(size_t wanted, Word rowWords, Word value, Word last);
    bool IsShared() const;
    // Drops these words; the last sharer keeps them for a store of the same size unless
    // keepSpare is clear.
    void Release(bool keepSpare = true);
    // Room for count words, zero when zeroed is set.
    void Allocate(size_t count, bool zeroed = true);
    // Words of this object's own in place of shared ones, the values copied when keep is set.
    void Unshare(bool keep);

    Word inlineWords[kInlineWords] = {};
    // Null while the words are unmade: made by the first reader too, hence mutable.
    mutable Word* words = inlineWords;
    size_t count = 0;
};

class Matrix : public LoadSaveObject, public PooledObject {
public:
    // All bits 0, or all bits 1 when fill is non-zero. Dimensions below 1 are taken as 1.
    Matrix(int width, int height, int fill = 0);
    // The same, but the words of a large matrix are made only when something first reaches them:
    // for the planes a reader holds before the text has shown that it holds their cells.
    static Matrix MadeOnFirstUse(int width, int height, int fill = 0);
    Matrix(const Matrix& other) = default;
    // A moved-from matrix is left a valid all-zero 1 x 1 matrix (or the target's old contents).
    Matrix(Matrix&& other) noexcept;
    Matrix& operator=(Matrix&& other) noexcept;
    // Copies the words; takes the source's dimensions first when they differ.
    Matrix& operator=(const Matrix& other);
    ~Matrix() override = default;

    // Takes the source's dimensions and bits like an assignment, sharing large words with the
    // source until either writes: what a latch does.
    void Share(const Matrix& source);
    // Whether the two hold the same words, shared.
    bool SharesWordsWith(const Matrix& other) const { return mat.SharesWith(other.mat); }

    // Clears every bit, then copies the bits that lie inside both matrices.
    void CopyOverlap(const Matrix& source);

    int GetDimX() const { return dimX; }
    int GetDimY() const { return dimY; }
    uint32_t GetBufferSize() const { return size_of_mat; } // bytes
    // The words of row y (0 <= y < dimY), for drawing word by word.
    int GetWordsPerRow() const { return anz_elements; }
    const uint32_t* GetRowWords(int y) const { return Row(y); }

    int operator()(int x, int y) const; // 0 or 1
    int GetBit(int x, int y) const { return (*this)(x, y); }
    void SetBit(int x, int y, int value);
    void ClearBit(int x, int y);
    int ToggleBit(int x, int y); // the new value
    void SetAll();
    void UnsetAll();
    bool operator==(const Matrix& other) const;
    bool operator!=(const Matrix& other) const { return !(*this == other); }

    // Whole-word logical operations on matrices of this matrix's dimensions. On a dimension
    // mismatch they write "Matrix::<Op>: dimension mismatch" to std::cerr and change nothing.
    void And(const Matrix& b);
    void Or(const Matrix& b);
    void Xor(const Matrix& b);
    void Nand(const Matrix& b);
    void Nor(const Matrix& b);
    void AndOf(const Matrix& a, const Matrix& b);
    void OrOf(const Matrix& a, const Matrix& b);
    void XorOf(const Matrix& a, const Matrix& b);
    void NandOf(const Matrix& a, const Matrix& b);
    void NorOf(const Matrix& a, const Matrix& b);

    // Row shifts by n rows (0..dimY; more empties the matrix). Down: row y := row y + n and the top
    // n rows become 0 (the picture moves down). Up: row y + n := row y, rows 0..n-1 become 0.
    void ShiftRowsDown(int n);
    void ShiftRowsUp(int n);
    // Column shifts by n columns within every row. Right: bit x := bit x + n, the picture moves
    // left. Left: bit x + n := bit x, columns 0..n-1 become 0, the picture moves right.
    void ShiftRight(int n);
    void ShiftLeft(int n);
    // The same moves combined with a plane of this matrix's dimensions in one pass, without the
    // moved copy: AndMoved gives what And of a copy of source after ShiftRight (columns) and
    // ShiftRowsDown (rows) gives, OrMoved what Or of a copy after ShiftLeft (columns) and
    // ShiftRowsUp (rows) gives. A dimension mismatch is reported and changes nothing.
    void AndMoved(const Matrix& source, int columns, int rows);
    void OrMoved(const Matrix& source, int columns, int rows);

    // The raw words for a client process. Each returns 1, or 0 with a message on std::cerr when
    // the buffer holds fewer than GetBufferSize() bytes.
    int SetToBuffer(void* buffer, uint32_t bufferSize) const;
    int GetFromBuffer(const void* buffer, uint32_t bufferSize);

    // The cell under a pixel of a drawing of the matrix at the given zoom (cell pitch zoom / 4,
    // grid origin (10, 10)). Returns 1 and the cell, or 0 on a grid line or outside the grid.
    int PixelToCell(int& cellX, int& cellY, int pixelX, int pixelY, int zoom) const;

    // The "MATRIX" block at the given level; the argument is not used.
    int Write(std::ostream& out, int level, FileArgument* source) override;
    // Reads a "MATRIX" block whose dimensions must equal this matrix's. On success an argument is
    // told with RefreshAfterRead; on failure the matrix is left exactly as it was. Errors of a
    // value quote its keyword: "DIMENSION:" for the pair (14 when it differs), "DATA" for a row
    // (2). What a read holds grows with the rows it has read: the words of the matrix are made
    // once every row is in, and a row without a set cell costs nothing on the way.
    int Read(std::istream& in, FileArgument* target) override;
    // Reads the rest of a "MATRIX" block whose "DIMENSION:" line the caller has read and found to
    // be this matrix's: its "DATA" block and the closing braces, from the cursor on. On failure
    // the matrix is left as it was.
    int ReadAfterDimension(std::istream& in, char*& cursor);

private:
    using Word = uint32_t;
    enum class Op { kAnd, kOr, kXor, kNand, kNor };
    struct OnFirstUse {};

    Matrix(int width, int height, int fill, OnFirstUse);
    // The bits of a row's last word that lie inside the matrix.
    Word LastWordMask() const;

    static const char* OpName(Op op, bool binary);
    void Reset();
    bool SameSize(const Matrix& other) const { return dimX == other.dimX && dimY == other.dimY; }
    bool Inside(int x, int y) const { return x >= 0 && x < dimX && y >= 0 && y < dimY; }
    Word* Row(int y) { return mat.data() + static_cast<size_t>(y) * anz_elements; }
    const Word* Row(int y) const { return mat.data() + static_cast<size_t>(y) * anz_elements; }
    void Combine(Op op, bool binary, const Matrix& a, const Matrix& b);
    void ClearPadding();
    // Read into words of this matrix's layout; the matrix itself is not touched.
    int ReadBlock(std::istream& in, MatrixWords& words) const;
    int ReadRows(std::istream& in, char*& cursor, MatrixWords& words) const;

    int32_t dimX;
    int32_t dimY;
    uint32_t size_of_mat; // bytes: anz_elements * dimY * 4
    int32_t anz_elements; // words per row
    MatrixWords mat;
};
