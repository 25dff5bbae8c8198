// Feeds arbitrary bytes to the architecture body reader: REMARKS, OPTIONS, the global data of an
// architecture file (plane size, clocks, simulation settings) when the input has it, the
// elements of every type with their links and positions, and macros with their own bodies nested
// in them. The window it reads into has no widgets, so no display is needed.
//
// A body that reads cleanly is written, read into a fresh window and written again: both
// writings must be the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "fuzz/FuzzInput.h"
#include "model/elements/AElement.h"
#include "model/format/ParseError.h"
#include "shell/ArchitectureFile.h"
#include "shell/ArchitectureWindow.h"
#include "shell/GlobalArchitectureData.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// A library-like window without widgets that keeps an architecture file's global data itself:
// the body works on the model alone.
class BodyWindow : public ArchitectureWindow {
public:
    BodyWindow() { windowKind = kLibraryWindowKind; }
    ~BodyWindow() override { Clear(); }
    Widget GetShell() override { return nullptr; }
    int ReadGlobalData(std::istream& in) override { return ReadGlobalArchitectureData(in, global); }
    int WriteGlobalData(std::ostream& out, int level) override {
        return WriteGlobalArchitectureData(out, level, global);
    }

private:
    GlobalArchitectureData global;
};

int ReadAndWrite(const std::string& body, std::string& written) {
    BodyWindow window;
    ClearParseError();
    std::istringstream in(body);
    // An architecture file's body has the global data, a library's has none.
    const int withGlobalData = body.find("GLOBAL_ARCHITECTURE_DATA") != std::string::npos;
    const int result = ReadArchitectureBody(window, in, withGlobalData);
    if (result != kNoError) {
        Require(GetParseError() != kNoError);
        Require(GetParseErrorLine() >= 0);
        return result;
    }
    std::ostringstream out;
    Require(WriteArchitectureBody(window, out, 0, withGlobalData) == kNoError);
    written = out.str();
    return kNoError;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string body(reinterpret_cast<const char*>(data), size);
    if (AsksForHugePlanes(body)) return 0;
    AElement::SetDefaultPlaneSize(8, 8);
    std::string first;
    if (ReadAndWrite(body, first) != kNoError) return 0;
    std::string second;
    Require(ReadAndWrite(first, second) == kNoError);
    if (first != second) {
        // What differs is what a finding needs to be understood.
        std::fprintf(stderr, "first writing:\n%s\nsecond writing:\n%s\n", first.c_str(),
                     second.c_str());
        std::abort();
    }
    return 0;
}
