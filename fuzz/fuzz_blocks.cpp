// Feeds arbitrary bytes to the MATRIX and XY_PLANE_DATA block readers, and through them to the
// line and token readers of the common text format.
//
// The first line of an input gives the plane size the readers expect as two numbers ("4 3",
// clamped to 1..64 by 1..8); the rest is the block. A block that reads cleanly is written, read
// back and written again: both readings must agree and both writings must be the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "model/data/Matrix.h"
#include "model/data/PlaneList.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

int Clamp(long value, int low, int high) {
    return value < low ? low : value > high ? high : static_cast<int>(value);
}

void SplitSize(const std::string& input, int& width, int& height, std::string& block) {
    const size_t end = input.find('\n');
    const std::string first = input.substr(0, end);
    block = end == std::string::npos ? std::string() : input.substr(end + 1);
    char* next = nullptr;
    width = Clamp(std::strtol(first.c_str(), &next, 10), 1, 64);
    height = Clamp(std::strtol(next, nullptr, 10), 1, 8);
}

template <typename Block, typename ReadFn, typename WriteFn>
void CheckRoundTrip(const std::string& block, Block fresh, ReadFn read, WriteFn write) {
    ClearParseError();
    std::istringstream in(block);
    Block object = fresh;
    const int result = read(object, in);
    Require(result == GetParseError());
    if (result != kNoError) {
        Require(GetParseErrorLine() >= 0);
        return;
    }
    std::ostringstream first;
    Require(write(object, first) == kNoError);
    std::istringstream back(first.str());
    Block reread = fresh;
    Require(read(reread, back) == kNoError);
    std::ostringstream second;
    Require(write(reread, second) == kNoError);
    Require(first.str() == second.str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int width;
    int height;
    std::string block;
    SplitSize(std::string(reinterpret_cast<const char*>(data), size), width, height, block);

    CheckRoundTrip(
        block, Matrix(width, height),
        [](Matrix& m, std::istream& in) { return m.Read(in, nullptr); },
        [](Matrix& m, std::ostream& out) { return m.Write(out, 1, nullptr); });
    CheckRoundTrip(
        block, PlaneList(width, height, 1),
        [](PlaneList& p, std::istream& in) { return p.Read(in); },
        [](PlaneList& p, std::ostream& out) { return p.Write(out, 0); });
    return 0;
}
