#include "model/data/Matrix.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>
#include <string>
#include <utility>

#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"

namespace {

constexpr int kBitsPerWord = 1 << kLogBitsUnsigned;
constexpr int kBytesPerWord = 1 << kLogBytesUnsigned;

// to[i] := op(x[i], y[i]) for count words, four at a time where the compiler has vector types:
// the simulation runs these over every plane at every step. The loads come before the store, so
// the result may be one of the operands.
template <typename Op>
void CombineWords(uint32_t* to, const uint32_t* x, const uint32_t* y, size_t count, Op op) {
    size_t i = 0;
#if defined(__GNUC__)
    typedef uint32_t Quad __attribute__((vector_size(16)));
    for (; i + 4 <= count; i += 4) {
        Quad a, b;
        std::memcpy(&a, x + i, sizeof a);
        std::memcpy(&b, y + i, sizeof b);
        a = op(a, b);
        std::memcpy(to + i, &a, sizeof a);
    }
#endif
    for (; i < count; ++i)
        to[i] = op(x[i], y[i]);
}

// From this size on, words come straight from the system as fresh zero pages, which cost no
// memory until they are written, and zeroing gives them back for fresh ones.
constexpr size_t kFreshPagesWords = 64 * 1024;

// Every allocated store begins with its count of sharers; the words follow, 16-byte aligned.
struct StoreHead {
    uint32_t sharers;
    uint32_t unused[3];
};
static_assert(sizeof(StoreHead) == 16, "the words stay aligned for vector loads");

StoreHead* HeadOf(uint32_t* words) {
    return reinterpret_cast<StoreHead*>(words) - 1;
}
uint32_t* WordsOf(void* block) {
    return reinterpret_cast<uint32_t*>(static_cast<StoreHead*>(block) + 1);
}
size_t StoreBytes(size_t count) {
    return sizeof(StoreHead) + count * sizeof(uint32_t);
}

// Stores whose last sharer went, kept for the next store of their size: a run that latches by
// sharing hands stores back and forth between a source and its consumers at every step, and
// would otherwise allocate and free a whole plane each time.
class SpareStores {
public:
    // A store of count words with unknown values, or null.
    uint32_t* Take(size_t count) {
        for (size_t k = spares.size(); k-- > 0;) {
            if (spares[k].count != count) continue;
            uint32_t* words = spares[k].words;
            spares.erase(spares.begin() + static_cast<long>(k));
            bytes -= StoreBytes(count);
            return words;
        }
        return nullptr;
    }
    void Give(uint32_t* words, size_t count) {
        if (spares.size() < kMaxSpares && bytes + StoreBytes(count) <= kMaxBytes &&
            spares.size() < spares.capacity()) {
            spares.push_back(Spare{words, count});
            bytes += StoreBytes(count);
            return;
        }
        Free(words, count);
    }
    SpareStores() { spares.reserve(kMaxSpares); }

    // Frees every kept store; whether there was one.
    bool FreeAll() {
        const bool any = !spares.empty();
        for (const Spare& spare : spares)
            Free(spare.words, spare.count);
        spares.clear();
        bytes = 0;
        return any;
    }
    static void Free(uint32_t* words, size_t count);

private:
    struct Spare {
        uint32_t* words;
        size_t count;
    };
    static const size_t kMaxSpares = 8;
    static const size_t kMaxBytes = 64u << 20;
    std::vector<Spare> spares;
    size_t bytes = 0;
};

// Never destroyed, so that planes destroyed late at exit still find it; the stores it keeps stay
// reachable.
SpareStores& Spares() {
    static SpareStores* spares = new SpareStores;
    return *spares;
}

// count words with their count of sharers set to 1; zero words when zeroed is set, else any
// values. Out of memory is handled as operator new handles it.
uint32_t* AllocateStore(size_t count, bool zeroed) {
    // Zero words of the fresh-pages size come from the system, so that they cost no memory.
    if (!zeroed || count < kFreshPagesWords) {
        uint32_t* spare = Spares().Take(count);
        if (spare != nullptr) {
            HeadOf(spare)->sharers = 1;
            if (zeroed) std::memset(spare, 0, count * sizeof(uint32_t));
            return spare;
        }
    }
    for (;;) {
        void* block = nullptr;
        if (count >= kFreshPagesWords) {
            block = mmap(nullptr, StoreBytes(count), PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (block == MAP_FAILED) block = nullptr;
        } else {
            block = std::calloc(StoreBytes(count), 1);
        }
        if (block != nullptr) {
            static_cast<StoreHead*>(block)->sharers = 1;
            return WordsOf(block);
        }
        // Memory is not used up while stores are kept for reuse.
        if (Spares().FreeAll()) continue;
        std::new_handler handler = std::get_new_handler();
        if (handler == nullptr) throw std::bad_alloc();
        handler();
    }
}

void SpareStores::Free(uint32_t* words, size_t count) {
    void* block = HeadOf(words);
    if (count >= kFreshPagesWords) {
        if (munmap(block, StoreBytes(count)) != 0) {
            std::cerr << "Matrix: munmap failed\n";
        }
    } else {
        std::free(block);
    }
}

// The rows of a matrix block read so far, top row first. Only the rows that hold a set cell are
// kept, in blocks of whole rows, so that what a read holds grows with its text and no copy of
// what was read is made while it grows.
class RowsRead {
public:
    explicit RowsRead(size_t rowWords)
        : rowWords(rowWords), rowsPerBlock(std::max<size_t>(1, kBlockWords / rowWords)) {}

    // The words of row y, all 0, for its set cells.
    uint32_t* Add(int32_t y) {
        if (blocks.empty() || blocks.back().rows.size() == rowsPerBlock) blocks.emplace_back();
        Block& block = blocks.back();
        block.rows.push_back(y);
        block.words.resize(block.words.size() + rowWords, 0);
        return block.words.data() + block.words.size() - rowWords;
    }

    // Every row into its place in words of the matrix's layout, each block given back once it is
    // in.
    void MoveInto(MatrixWords& words) {
        for (Block& block : blocks) {
            uint32_t* to = words.data();
            for (size_t k = 0; k < block.rows.size(); ++k) {
                std::memcpy(to + static_cast<size_t>(block.rows[k]) * rowWords,
                            block.words.data() + k * rowWords, rowWords * sizeof(uint32_t));
            }
            block = Block();
        }
    }

private:
    static const size_t kBlockWords = 64 * 1024;
    struct Block {
        std::vector<int32_t> rows;
        std::vector<uint32_t> words;
    };
    size_t rowWords;
    size_t rowsPerBlock;
    std::vector<Block> blocks;
};

} // namespace

MatrixWords::Word* MatrixWords::NewStore(size_t wanted, bool zeroed) {
    return AllocateStore(wanted, zeroed);
}

MatrixWords::MatrixWords(const MatrixWords& other) {
    if (other.IsUnmade()) {
        SetUnmade(other.count, other.inlineWords[kUnmadeRowWords], other.inlineWords[kUnmadeValue],
                  other.inlineWords[kUnmadeLast]);
        return;
    }
    Allocate(other.count, false);
    std::memcpy(words, other.words, count * sizeof(Word));
}

MatrixWords::MatrixWords(MatrixWords&& other) noexcept {
    swap(other);
}

MatrixWords& MatrixWords::operator=(const MatrixWords& other) {
    if (this == &other || SharesWith(other)) return *this;
    if (other.IsUnmade()) {
        Release();
        SetUnmade(other.count, other.inlineWords[kUnmadeRowWords], other.inlineWords[kUnmadeValue],
                  other.inlineWords[kUnmadeLast]);
        return *this;
    }
    if (count != other.count || IsUnmade()) {
        Release();
        Allocate(other.count, false);
    }
    std::memcpy(Overwrite(), other.words, count * sizeof(Word));
    return *this;
}

MatrixWords& MatrixWords::operator=(MatrixWords&& other) noexcept {
    if (this != &other) swap(other);
    return *this;
}

bool MatrixWords::IsShared() const {
    return !IsInline() && !IsUnmade() && HeadOf(words)->sharers > 1;
}

void MatrixWords::SetUnmade(size_t wanted, Word rowWords, Word value, Word last) {
    words = nullptr;
    count = wanted;
    inlineWords[kUnmadeRowWords] = rowWords;
    inlineWords[kUnmadeValue] = value;
    inlineWords[kUnmadeLast] = last;
}

void MatrixWords::Make() const {
    const size_t rowWords = inlineWords[kUnmadeRowWords];
    const Word value = inlineWords[kUnmadeValue];
    const Word last = inlineWords[kUnmadeLast];
    const bool zero = value == 0 && last == 0;
    Word* made = AllocateStore(count, zero);
    if (!zero) {
        for (size_t row = 0; row < count; row += rowWords) {
            std::fill(made + row, made + row + rowWords - 1, value);
            made[row + rowWords - 1] = last;
        }
    }
    words = made;
}

void MatrixWords::Release(bool keepSpare) {
    if (!IsInline() && !IsUnmade() && --HeadOf(words)->sharers == 0) {
        if (keepSpare) {
            Spares().Give(words, count);
        } else {
            SpareStores::Free(words, count);
        }
    }
    words = inlineWords;
    count = 0;
}

void MatrixWords::Unshare(bool keep) {
    Word* own = AllocateStore(count, false);
    if (keep) std::memcpy(own, words, count * sizeof(Word));
    HeadOf(words)->sharers--; // others still hold them
    words = own;
}

void MatrixWords::Share(const MatrixWords& other) {
    if (this == &other || SharesWith(other)) return;
    if (other.IsInline() || other.IsUnmade()) {
        *this = other;
        return;
    }
    Release();
    words = other.words;
    count = other.count;
    HeadOf(words)->sharers++;
}

void MatrixWords::Allocate(size_t wanted, bool zeroed) {
    count = wanted;
    if (wanted <= kInlineWords) {
        words = inlineWords;
        std::memset(inlineWords, 0, sizeof inlineWords);
    } else {
        words = AllocateStore(wanted, zeroed);
    }
}

void MatrixWords::assign(size_t wanted, Word value) {
    if (wanted != count || (value == 0 && (wanted >= kFreshPagesWords || IsShared()))) {
        // Pages given back by zeroing leave memory.
        Release(value != 0 || wanted < kFreshPagesWords);
        Allocate(wanted, value == 0);
        if (value == 0) return;
    }
    Word* own = Overwrite();
    std::fill(own, own + count, value);
}

void MatrixWords::AssignOnFirstUse(size_t wanted, size_t rowWords, Word value, Word last) {
    rowWords = std::max<size_t>(rowWords, 1);
    if (wanted <= kInlineWords) {
        assign(wanted, value);
        Word* own = data();
        for (size_t end = rowWords; end <= wanted; end += rowWords)
            own[end - 1] = last;
        return;
    }
    Release();
    SetUnmade(wanted, static_cast<Word>(rowWords), value, last);
}

void MatrixWords::Zero() {
    if (IsUnmade()) {
        inlineWords[kUnmadeValue] = 0;
        inlineWords[kUnmadeLast] = 0;
        return;
    }
    assign(count, 0);
}

void MatrixWords::swap(MatrixWords& other) noexcept {
    if (this == &other) return;
    // Inline words move with their object; allocated ones only change hands.
    Word mine[kInlineWords];
    std::memcpy(mine, inlineWords, sizeof mine);
    const bool mineInline = IsInline();
    const bool otherInline = other.IsInline();
    Word* otherWords = other.words;
    std::memcpy(inlineWords, other.inlineWords, sizeof inlineWords);
    std::memcpy(other.inlineWords, mine, sizeof mine);
    other.words = mineInline ? other.inlineWords : words;
    words = otherInline ? inlineWords : otherWords;
    std::swap(count, other.count);
}

bool MatrixWords::operator==(const MatrixWords& other) const {
    if (count != other.count) return false;
    if (IsUnmade() && other.IsUnmade() &&
        std::memcmp(inlineWords, other.inlineWords, kUnmadeSize * sizeof(Word)) == 0) {
        return true;
    }
    return std::memcmp(data(), other.data(), count * sizeof(Word)) == 0;
}

Matrix::Matrix(int width, int height, int fill) : Matrix(width, height, 0, OnFirstUse()) {
    mat.assign(static_cast<size_t>(anz_elements) * static_cast<size_t>(dimY), fill ? ~Word{0} : 0);
    if (fill) ClearPadding();
}

// The dimensions, and words that are made when something first reaches them.
Matrix::Matrix(int width, int height, int fill, OnFirstUse)
    : dimX(std::max(width, 1)), dimY(std::max(height, 1)) {
    if (width < 1 || height < 1) {
        std::cerr << "Matrix::Matrix: dimension (" << width << "," << height << ") taken as ("
                  << dimX << "," << dimY << ")\n";
    }
    anz_elements = ((dimX - 1) >> kLogBitsUnsigned) + 1;
    size_of_mat = static_cast<uint32_t>(anz_elements) * static_cast<uint32_t>(dimY) *
                  static_cast<uint32_t>(kBytesPerWord);
    const Word value = fill ? ~Word{0} : 0;
    mat.AssignOnFirstUse(static_cast<size_t>(anz_elements) * static_cast<size_t>(dimY),
                         static_cast<size_t>(anz_elements), value, value & LastWordMask());
}

Matrix Matrix::MadeOnFirstUse(int width, int height, int fill) {
    return Matrix(width, height, fill, OnFirstUse());
}

Matrix::Word Matrix::LastWordMask() const {
    const int usedBits = dimX % kBitsPerWord;
    return usedBits == 0 ? ~Word{0} : (Word{1} << usedBits) - 1;
}

Matrix::Matrix(Matrix&& other) noexcept
    : LoadSaveObject(other), dimX(other.dimX), dimY(other.dimY), size_of_mat(other.size_of_mat),
      anz_elements(other.anz_elements), mat(std::move(other.mat)) {
    other.Reset();
}

Matrix& Matrix::operator=(Matrix&& other) noexcept {
    if (this == &other) return *this;
    LoadSaveObject::operator=(other);
    std::swap(dimX, other.dimX);
    std::swap(dimY, other.dimY);
    std::swap(size_of_mat, other.size_of_mat);
    std::swap(anz_elements, other.anz_elements);
    mat.swap(other.mat);
    return *this;
}

// An all-zero 1 x 1 matrix, for a matrix whose words have been moved away.
void Matrix::Reset() {
    dimX = 1;
    dimY = 1;
    anz_elements = 1;
    size_of_mat = kBytesPerWord;
    mat.assign(1, 0);
}

void Matrix::Share(const Matrix& source) {
    if (this == &source) return;
    LoadSaveObject::operator=(source);
    dimX = source.dimX;
    dimY = source.dimY;
    anz_elements = source.anz_elements;
    size_of_mat = source.size_of_mat;
    mat.Share(source.mat);
}

Matrix& Matrix::operator=(const Matrix& other) {
    if (this == &other) return *this;
    LoadSaveObject::operator=(other);
    dimX = other.dimX;
    dimY = other.dimY;
    anz_elements = other.anz_elements;
    size_of_mat = other.size_of_mat;
    mat = other.mat;
    return *this;
}

void Matrix::CopyOverlap(const Matrix& source) {
    if (this == &source) return;
    UnsetAll();
    const int width = std::min(dimX, source.dimX);
    const int height = std::min(dimY, source.dimY);
    const int fullWords = width / kBitsPerWord;
    const int restBits = width % kBitsPerWord;
    for (int y = 0; y < height; ++y) {
        Word* to = Row(y);
        const Word* from = source.Row(y);
        std::copy(from, from + fullWords, to);
        if (restBits) to[fullWords] = from[fullWords] & ((Word{1} << restBits) - 1);
    }
}

int Matrix::operator()(int x, int y) const {
    if (!Inside(x, y)) return 0;
    return (Row(y)[x >> kLogBitsUnsigned] >> (x & (kBitsPerWord - 1))) & 1;
}

void Matrix::SetBit(int x, int y, int value) {
    if (!Inside(x, y)) return;
    const Word bit = Word{1} << (x & (kBitsPerWord - 1));
    Word& word = Row(y)[x >> kLogBitsUnsigned];
    word = value ? (word | bit) : (word & ~bit);
}

void Matrix::ClearBit(int x, int y) {
    SetBit(x, y, 0);
}

int Matrix::ToggleBit(int x, int y) {
    if (!Inside(x, y)) return 0;
    Row(y)[x >> kLogBitsUnsigned] ^= Word{1} << (x & (kBitsPerWord - 1));
    return (*this)(x, y);
}

void Matrix::SetAll() {
    mat.assign(mat.size(), ~Word{0});
    ClearPadding();
}

void Matrix::UnsetAll() {
    mat.Zero();
}

bool Matrix::operator==(const Matrix& other) const {
    return SameSize(other) && mat == other.mat;
}

const char* Matrix::OpName(Op op, bool binary) {
    switch (op) {
        case Op::kAnd:
            return binary ? "AndOf" : "And";
        case Op::kOr:
            return binary ? "OrOf" : "Or";
        case Op::kXor:
            return binary ? "XorOf" : "Xor";
        case Op::kNand:
            return binary ? "NandOf" : "Nand";
        case Op::kNor:
            return binary ? "NorOf" : "Nor";
    }
    return "";
}

void Matrix::Combine(Op op, bool binary, const Matrix& a, const Matrix& b) {
    if (!SameSize(a) || !SameSize(b)) {
        std::cerr << "Matrix::" << OpName(op, binary) << ": dimension mismatch\n";
        return;
    }
    const size_t count = mat.size();
    // The operands first: a binary operation overwrites every word, so the target may take
    // fresh words in place of shared ones while an operand still reads the old.
    const Word* x = a.mat.data();
    const Word* y = b.mat.data();
    Word* to = binary ? mat.Overwrite() : mat.data();
    switch (op) {
        case Op::kAnd:
            CombineWords(to, x, y, count, [](auto p, auto q) { return p & q; });
            break;
        case Op::kOr:
            CombineWords(to, x, y, count, [](auto p, auto q) { return p | q; });
            break;
        case Op::kXor:
            CombineWords(to, x, y, count, [](auto p, auto q) { return p ^ q; });
            break;
        case Op::kNand:
            CombineWords(to, x, y, count, [](auto p, auto q) { return ~(p & q); });
            ClearPadding();
            break;
        case Op::kNor:
            CombineWords(to, x, y, count, [](auto p, auto q) { return ~(p | q); });
            ClearPadding();
            break;
    }
}

void Matrix::And(const Matrix& b) {
    Combine(Op::kAnd, false, *this, b);
}
void Matrix::Or(const Matrix& b) {
    Combine(Op::kOr, false, *this, b);
}
void Matrix::Xor(const Matrix& b) {
    Combine(Op::kXor, false, *this, b);
}
void Matrix::Nand(const Matrix& b) {
    Combine(Op::kNand, false, *this, b);
}
void Matrix::Nor(const Matrix& b) {
    Combine(Op::kNor, false, *this, b);
}
void Matrix::AndOf(const Matrix& a, const Matrix& b) {
    Combine(Op::kAnd, true, a, b);
}
void Matrix::OrOf(const Matrix& a, const Matrix& b) {
    Combine(Op::kOr, true, a, b);
}
void Matrix::XorOf(const Matrix& a, const Matrix& b) {
    Combine(Op::kXor, true, a, b);
}
void Matrix::NandOf(const Matrix& a, const Matrix& b) {
    Combine(Op::kNand, true, a, b);
}
void Matrix::NorOf(const Matrix& a, const Matrix& b) {
    Combine(Op::kNor, true, a, b);
}

void Matrix::ShiftRowsDown(int n) {
    if (n <= 0) return;
    n = std::min(n, dimY);
    const size_t rowWords = static_cast<size_t>(anz_elements);
    std::memmove(Row(0), Row(n), (dimY - n) * rowWords * sizeof(Word));
    std::memset(Row(dimY - n), 0, n * rowWords * sizeof(Word));
}

void Matrix::ShiftRowsUp(int n) {
    if (n <= 0) return;
    n = std::min(n, dimY);
    const size_t rowWords = static_cast<size_t>(anz_elements);
    std::memmove(Row(n), Row(0), (dimY - n) * rowWords * sizeof(Word));
    std::memset(Row(0), 0, n * rowWords * sizeof(Word));
}

void Matrix::ShiftRight(int n) {
    if (n <= 0) return;
    n = std::min(n, dimX);
    const int wordShift = n / kBitsPerWord;
    const int bitShift = n % kBitsPerWord;
    for (int y = 0; y < dimY; ++y) {
        Word* row = Row(y);
        for (int i = 0; i < anz_elements; ++i) {
            const int from = i + wordShift;
            const Word low = from < anz_elements ? row[from] : 0;
            const Word high = from + 1 < anz_elements ? row[from + 1] : 0;
            row[i] = bitShift ? (low >> bitShift) | (high << (kBitsPerWord - bitShift)) : low;
        }
    }
}

void Matrix::ShiftLeft(int n) {
    if (n <= 0) return;
    n = std::min(n, dimX);
    const int wordShift = n / kBitsPerWord;
    const int bitShift = n % kBitsPerWord;
    for (int y = 0; y < dimY; ++y) {
        Word* row = Row(y);
        for (int i = anz_elements - 1; i >= 0; --i) {
            const int from = i - wordShift;
            const Word high = from >= 0 ? row[from] : 0;
            const Word low = from - 1 >= 0 ? row[from - 1] : 0;
            row[i] = bitShift ? (high << bitShift) | (low >> (kBitsPerWord - bitShift)) : high;
        }
    }
    ClearPadding();
}

void Matrix::AndMoved(const Matrix& source, int columns, int rows) {
    if (!SameSize(source)) {
        std::cerr << "Matrix::AndMoved: dimension mismatch\n";
        return;
    }
    const int n = std::clamp(columns, 0, dimX);
    const int down = std::clamp(rows, 0, dimY);
    const int wordShift = n / kBitsPerWord;
    const int bitShift = n % kBitsPerWord;
    const int words = anz_elements;
    // Rows and words ascending: each reads only what lies at or after what it writes, so the
    // source may be this matrix.
    for (int y = 0; y < dimY; ++y) {
        Word* row = Row(y);
        if (y + down >= dimY) {
            std::fill(row, row + words, Word{0});
            continue;
        }
        const Word* from = source.Row(y + down);
        int i = 0;
        // Two source words each; the double shift gives 0 for a bit shift of 0.
        for (; i + wordShift + 1 < words; ++i) {
            row[i] &= (from[i + wordShift] >> bitShift) |
                      ((from[i + wordShift + 1] << (kBitsPerWord - 1 - bitShift)) << 1);
        }
        for (; i < words; ++i)
            row[i] &= i + wordShift < words ? from[i + wordShift] >> bitShift : Word{0};
    }
}

void Matrix::OrMoved(const Matrix& source, int columns, int rows) {
    if (!SameSize(source)) {
        std::cerr << "Matrix::OrMoved: dimension mismatch\n";
        return;
    }
    if (&source == this) {
        // The moves read earlier words than they write.
        const Matrix copy(source);
        OrMoved(copy, columns, rows);
        return;
    }
    const int n = std::clamp(columns, 0, dimX);
    const int up = std::clamp(rows, 0, dimY);
    const int wordShift = n / kBitsPerWord;
    const int bitShift = n % kBitsPerWord;
    const int words = anz_elements;
    const int usedBits = dimX % kBitsPerWord;
    const Word keep = usedBits == 0 ? ~Word{0} : (Word{1} << usedBits) - 1;
    for (int y = up; y < dimY; ++y) {
        Word* row = Row(y);
        const Word* from = source.Row(y - up);
        if (wordShift >= words) continue;
        Word last = row[words - 1];
        row[wordShift] |= from[0] << bitShift;
        for (int i = wordShift + 1; i < words; ++i) {
            row[i] |= (from[i - wordShift] << bitShift) |
                      ((from[i - wordShift - 1] >> (kBitsPerWord - 1 - bitShift)) >> 1);
        }
        // The moved copy's padding bits are cleared before it is combined.
        row[words - 1] = (row[words - 1] & keep) | last;
    }
}

void Matrix::ClearPadding() {
    if (dimX % kBitsPerWord == 0) return;
    const Word keep = LastWordMask();
    for (int y = 0; y < dimY; ++y)
        Row(y)[anz_elements - 1] &= keep;
}

int Matrix::SetToBuffer(void* buffer, uint32_t bufferSize) const {
    if (bufferSize < size_of_mat) {
        std::cerr << "Matrix::SetToBuffer: buf_size(" << bufferSize << ")<size_of_mat("
                  << size_of_mat << ")\n";
        return 0;
    }
    std::memcpy(buffer, mat.data(), size_of_mat);
    return 1;
}

int Matrix::GetFromBuffer(const void* buffer, uint32_t bufferSize) {
    if (bufferSize < size_of_mat) {
        std::cerr << "Matrix::GetFromBuffer: buf_size(" << bufferSize << ")<size_of_mat("
                  << size_of_mat << ")\n";
        return 0;
    }
    std::memcpy(mat.Overwrite(), buffer, size_of_mat); // every word: no copy of shared ones
    ClearPadding(); // a client may hand back stray bits beyond the last column
    return 1;
}

int Matrix::PixelToCell(int& cellX, int& cellY, int pixelX, int pixelY, int zoom) const {
    const int pitch = zoom / 4;
    if (pitch <= 0) return 0;
    if (pixelX < 11 || pixelY < 11) return 0;
    const int dx = pixelX - 10;
    const int dy = pixelY - 10;
    if (dx % pitch == 0 || dy % pitch == 0) return 0;
    if (dx / pitch >= dimX || dy / pitch >= dimY) return 0;
    cellX = dx / pitch;
    cellY = dimY - dy / pitch - 1;
    return 1;
}

int Matrix::Write(std::ostream& out, int level, FileArgument*) {
    if (!out.good()) return SetWriteError(out, kIoError, nullptr);
    Indent(out, level) << "MATRIX {\n";
    Indent(out, level + 1) << "DIMENSION: (" << dimX << "," << dimY << ")\n";
    Indent(out, level + 1) << "DATA {\n";
    std::string line(static_cast<size_t>(dimX), '0');
    for (int y = dimY - 1; y >= 0; --y) {
        for (int x = 0; x < dimX; ++x)
            line[x] = (*this)(x, y) ? '1' : '0';
        Indent(out, level + 2) << line << '\n';
    }
    Indent(out, level + 1) << "}\n";
    Indent(out, level) << "}\n";
    return FinishWrite(out);
}

int Matrix::Read(std::istream& in, FileArgument* target) {
    MatrixWords words;
    const int result = ReadBlock(in, words);
    if (result != kNoError) return result;
    mat.swap(words);
    if (target) target->RefreshAfterRead();
    return kNoError;
}

int Matrix::ReadBlock(std::istream& in, MatrixWords& words) const {
    char* cursor = EmptyCursor();
    int result;
    if ((result = ExpectKeywords(in, cursor, {"MATRIX", "{"})) != kNoError) return result;
    if ((result = ExpectKeyword(in, cursor, "DIMENSION:")) != kNoError) return result;
    int32_t width = 0;
    int32_t height = 0;
    if ((result = ParsePair(cursor, width, height)) != kNoError) {
        return SetReadError(in, result, "DIMENSION:");
    }
    if (width != dimX || height != dimY) return SetReadError(in, kDimensionError, "DIMENSION:");
    return ReadRows(in, cursor, words);
}

int Matrix::ReadAfterDimension(std::istream& in, char*& cursor) {
    MatrixWords words;
    const int result = ReadRows(in, cursor, words);
    if (result == kNoError) mat.swap(words);
    return result;
}

// The "DATA" block and the block's closing brace.
int Matrix::ReadRows(std::istream& in, char*& cursor, MatrixWords& words) const {
    int result;
    if ((result = ExpectKeywords(in, cursor, {"DATA", "{"})) != kNoError) return result;

    // The first line is the top row, so the block reads like the picture on screen.
    RowsRead rows(static_cast<size_t>(anz_elements));
    for (int y = dimY - 1; y >= 0; --y) {
        if ((result = ReadRequiredLine(in, cursor)) != kNoError) return result;
        Word* row = nullptr; // kept from the row's first set cell on
        for (int x = 0; x < dimX; ++x) {
            const char c = cursor[x]; // the line's end stops the loop before it is passed
            if (c == '1') {
                if (row == nullptr) row = rows.Add(y);
                row[x >> kLogBitsUnsigned] |= Word{1} << (x & (kBitsPerWord - 1));
            } else if (c != '0') {
                return SetReadError(in, kUnexpectedChar, "DATA");
            }
        }
        cursor += dimX;
        SkipBlanks(cursor);
        if (*cursor != '\0') return SetReadError(in, kUnexpectedChar, "DATA");
    }

    if ((result = ExpectKeyword(in, cursor, "}")) != kNoError) return result;
    if ((result = ExpectKeyword(in, cursor, "}")) != kNoError) return result;
    if (StreamFailed(in)) return SetReadError(in, kIoError, nullptr);
    // Every row is in: now the words are made, and only the rows with set cells are written.
    words.assign(mat.size(), 0);
    rows.MoveInto(words);
    return kNoError;
}
