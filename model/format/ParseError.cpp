#include "model/format/ParseError.h"

#include <istream>
#include <limits>
#include <ostream>
#include <string>

namespace {

const char* const kMessages[kParseErrorCount] = {
    "",
    "IO Error",
    "Unexpected char",
    "expected",
    "expected",
    "Number out of range",
    "Unknown element-type",
    "Unknown logical operation",
    "Unexpected EOF",
    "Unexpected EOL",
    "Unexpected EOF",
    "Not defined",
    "You have to define at least one clock!",
    "Unknown Simulation-Mode\n(possible values are: MODE1 | MODE2)",
    "Dimension error",
    "Dimension error",
    "Transmitter/receiver not in dimension",
    "Dimension error",
    "Unallowed character in name",
    "Identifier is to long",
    "Invalid Identifier",
    "Wrong number",
    "Bad matrix-dimension",
    "Can't compile the equations",
    "Not enough planes",
    "Not enough planes",
    "Directory does not exist",
    "Number out of range",
    "Dimension of input and corresponding element differs",
    "Dimension of output and corresponding element differs",
    "Number of inputs and corresponding elements differs",
    "Number of outputs and corresponding elements differs",
    "Compiler error",
};

struct FirstError {
    int32_t code = kNoError;
    int32_t line = 0;
    bool hasToken = false;
    std::string token;
};

FirstError gError;

void Record(int code, int line, const char* token) {
    gError.code = code;
    gError.line = line;
    gError.hasToken = token != nullptr;
    gError.token = token ? token : "";
}

// The 1-based number of the last line read before the current position; 0 when nothing was
// read or the stream cannot be repositioned.
int32_t CountLines(std::istream& in) {
    in.clear();
    const std::streampos end = in.tellg();
    if (end <= 0) return 0;
    in.seekg(0);
    int32_t count = 0;
    for (;;) {
        const std::streampos at = in.tellg();
        if (at < 0 || at >= end) break;
        in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        ++count;
    }
    return count;
}

} // namespace

bool StreamFailed(const std::ios& stream) {
    return stream.bad() || (stream.fail() && !stream.eof());
}

const char* ParseErrorMessage(int code) {
    if (code < 0 || code >= kParseErrorCount) return "";
    return kMessages[code];
}

void ClearParseError() {
    Record(kNoError, 0, nullptr);
}

int SetReadError(std::istream& in, int code, const char* token) {
    if (gError.code != kNoError) return gError.code;
    if (StreamFailed(in)) {
        Record(kIoError, 0, token);
    } else {
        Record(code, CountLines(in), token);
    }
    in.clear();
    in.setstate(std::ios::failbit);
    return gError.code;
}

int SetWriteError(std::ostream& out, int code, const char* token) {
    if (gError.code != kNoError) return gError.code;
    Record(StreamFailed(out) ? kIoError : code, 0, token);
    out.setstate(std::ios::failbit);
    return gError.code;
}

int GetParseError() {
    return gError.code;
}

int GetParseErrorLine() {
    return gError.line;
}

const char* GetParseErrorToken() {
    return gError.hasToken ? gError.token.c_str() : nullptr;
}
