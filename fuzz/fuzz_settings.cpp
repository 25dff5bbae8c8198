// Feeds arbitrary bytes to the readers of the two settings files: ".quiran" (DIRECTORIES, FILTER,
// GRID, STARTUP and COMPILER in turn) and ".quiran_times" (DEFAULT_TIMES).
//
// The first byte picks the file (even: options, odd: times); the rest is its text. A text that
// reads cleanly is written, read back after a reset and written again: both writings must be the
// same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "model/format/ParseError.h"
#include "shell/Settings.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

int ReadOptions(std::istream& in, GridOptions& grid) {
    int code = ReadDirectoriesOptions(in);
    if (code == kNoError) code = ReadGridOptions(in, grid);
    if (code == kNoError) code = ReadStartupOptions(in);
    if (code == kNoError) code = ReadCompilerSettings(in);
    return code;
}

std::string WriteOptions(const GridOptions& grid) {
    std::ostringstream out;
    Require(WriteSettingsHeader(out) == kNoError);
    Require(WriteDirectoriesOptions(out) == kNoError);
    Require(WriteGridOptions(out, grid) == kNoError);
    Require(WriteStartupOptions(out) == kNoError);
    Require(WriteCompilerSettings(out) == kNoError);
    return out.str();
}

std::string WriteTimes() {
    std::ostringstream out;
    Require(WriteSettingsHeader(out) == kNoError);
    Require(WriteDefaultTimes(out) == kNoError);
    return out.str();
}

// Reads the text after a reset; 0 or the code, and the settings written back when it read
// cleanly.
int ReadAndWrite(bool options, const std::string& text, std::string& written) {
    ResetSettings();
    ClearSettingsSkippedEntry();
    ClearParseError();
    GridOptions grid = {1, 15, 15, 1};
    std::istringstream in(text);
    const int result = options ? ReadOptions(in, grid) : ReadDefaultTimes(in);
    Require(result == GetParseError());
    if (result != kNoError) {
        Require(GetParseErrorLine() >= 0);
        return result;
    }
    written = options ? WriteOptions(grid) : WriteTimes();
    return kNoError;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool options = data[0] % 2 == 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string first;
    if (ReadAndWrite(options, text, first) != kNoError) return 0;
    std::string second;
    if (ReadAndWrite(options, first, second) != kNoError) {
        std::fprintf(stderr, "the writing does not read back (%d at line %d):\n%s\n",
                     GetParseError(), GetParseErrorLine(), first.c_str());
        std::abort();
    }
    if (first != second) {
        // What differs is what a finding needs to be understood.
        std::fprintf(stderr, "first writing:\n%s\nsecond writing:\n%s\n", first.c_str(),
                     second.c_str());
        std::abort();
    }
    return 0;
}
