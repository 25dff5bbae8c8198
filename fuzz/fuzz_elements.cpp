// Feeds arbitrary bytes to the block reader of every element type: the header, the LOGICAL_DATA
// of each type, LOGIC equations through the equation compiler, and the C++ LISTING (read into a
// code copy, so nothing is compiled).
//
// The first byte picks the type; the rest is the block. A block that reads cleanly is written,
// read into a fresh element and written again: both writings must be the same bytes (a PERM
// block's after a second round trip, as its lists come back reversed from each).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "model/elements/ACElem.h"
#include "model/elements/AElement.h"
#include "model/elements/ElementType.h"
#include "model/format/ParseError.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// The types the model can make, in list order (MACRO's maker belongs to the shell).
std::vector<const ElementRow*> ReadableTypes() {
    std::vector<const ElementRow*> types;
    for (const ElementRow& row : ElementRows()) {
        if (row.make != nullptr) types.push_back(&row);
    }
    return types;
}
const std::vector<const ElementRow*> kTypes = ReadableTypes();

// Reads the block into a fresh element (a C++ element into a code copy); 0 or the code, and the
// block written back when it read cleanly.
int ReadAndWrite(const ElementRow& type, const std::string& block, std::string& written) {
    std::unique_ptr<AElement> element(type.make(nullptr, 0, 0));
    element->CreateData();
    std::unique_ptr<D_CElem> code;
    if (type.type == kCElem) code = std::make_unique<D_CElem>(nullptr);
    ClearParseError();
    std::istringstream in(block);
    const int result = element->Read(in, code.get());
    Require(result == GetParseError());
    if (result != kNoError) {
        Require(GetParseErrorLine() >= 0);
        return result;
    }
    std::ostringstream out;
    Require(element->Write(out, 0, code.get()) == kNoError);
    written = out.str();
    return kNoError;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    AElement::SetDefaultPlaneSize(8, 8);
    const ElementRow& type = *kTypes[data[0] % kTypes.size()];
    const std::string block(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (AsksForHugePlanes(block)) return 0;
    std::string first;
    if (ReadAndWrite(type, block, first) != kNoError) return 0;
    // A PERM list is written last target first and read in file order: its writing comes back
    // after two round trips.
    const int trips = type.type == kPerm ? 2 : 1;
    std::string second = first;
    for (int trip = 0; trip < trips; trip++) {
        const std::string previous = second;
        if (ReadAndWrite(type, previous, second) != kNoError) {
            std::fprintf(stderr, "the writing does not read back (%d at line %d):\n%s\n",
                         GetParseError(), GetParseErrorLine(), previous.c_str());
            std::abort();
        }
    }
    if (first != second) {
        // What differs is what a finding needs to be understood.
        std::fprintf(stderr, "first writing:\n%s\nsecond writing:\n%s\n", first.c_str(),
                     second.c_str());
        std::abort();
    }
    return 0;
}
