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
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "fuzz/FuzzInput.h"
#include "model/elements/ACElem.h"
#include "model/elements/AElement.h"
#include "model/elements/AInputElem.h"
#include "model/elements/AJoinElem.h"
#include "model/elements/ALogicElem.h"
#include "model/elements/AMacroInputElem.h"
#include "model/elements/AMacroOutputElem.h"
#include "model/elements/AMaskElem.h"
#include "model/elements/AOutputElem.h"
#include "model/elements/APermElem.h"
#include "model/elements/ARuleElem.h"
#include "model/elements/ASSeedElem.h"
#include "model/elements/ASplitElem.h"
#include "model/format/ParseError.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

using Maker = std::function<AElement*()>;

const Maker kMakers[] = {
    [] { return new AMaskElem(nullptr, 0, 0); },
    [] { return new ARuleElem(nullptr, 0, 0); },
    [] { return new APermElem(nullptr, 0, 0); },
    [] { return new ALogicElem(nullptr, 0, 0); },
    [] { return new ASSeedElem(nullptr, 0, 0); },
    [] { return new ASplitElem(nullptr, 0, 0); },
    [] { return new AJoinElem(nullptr, 0, 0); },
    [] { return new AInputElem(nullptr, 0, 0); },
    [] { return new AOutputElem(nullptr, 0, 0); },
    [] { return new ACElem(nullptr, 0, 0); },
    [] { return new AMacroInputElem(nullptr, 0, 0); },
    [] { return new AMacroOutputElem(nullptr, 0, 0); },
};
const size_t kTypes = sizeof kMakers / sizeof kMakers[0];
const size_t kPermIndex = 2;
const size_t kCElemIndex = 9;

// Reads the block into a fresh element (a C++ element into a code copy); 0 or the code, and the
// block written back when it read cleanly.
int ReadAndWrite(size_t type, const std::string& block, std::string& written) {
    std::unique_ptr<AElement> element(kMakers[type]());
    element->CreateData();
    std::unique_ptr<D_CElem> code;
    if (type == kCElemIndex) code = std::make_unique<D_CElem>(nullptr);
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
    const size_t type = data[0] % kTypes;
    const std::string block(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (AsksForHugePlanes(block)) return 0;
    std::string first;
    if (ReadAndWrite(type, block, first) != kNoError) return 0;
    // A PERM list is written last target first and read in file order: its writing comes back
    // after two round trips.
    const int trips = type == kPermIndex ? 2 : 1;
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
