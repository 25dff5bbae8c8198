#include "model/format/TextFormat.h"

#include <algorithm>
#include <cstring>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <utility>

#include "model/format/ParseError.h"

namespace {

// The current line. It grows with the longest line read; a buffer grown beyond kKeptCapacity is
// given back on the next shorter line, so a long line costs memory only while it is read.
std::string gLine;
constexpr size_t kKeptCapacity = 64 * 1024;
size_t gFirst = 0;     // where the current line's text starts after its blanks
bool gHasLine = false; // the buffer holds a line that ReadLine returned
bool gRepeat = false;  // the next ReadLine returns the current line again
char gEmptyLine[1];

#if defined(__SANITIZE_ADDRESS__)
#define QUIRAN_FRESH_LINES 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUIRAN_FRESH_LINES 1
#endif
#endif

#ifdef QUIRAN_FRESH_LINES
// Under AddressSanitizer every line gets a block of its own and the previous one is freed, so a
// cursor kept across a line read is reported wherever it is used, not only when the line grows.
std::unique_ptr<char[]> gFreshLine;

char* LineText() {
    std::unique_ptr<char[]> fresh(new char[gLine.size() + 1]);
    std::memcpy(fresh.get(), gLine.c_str(), gLine.size() + 1);
    gFreshLine = std::move(fresh);
    return gFreshLine.get();
}
#else
char* LineText() {
    return &gLine[0];
}
#endif

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The white space that the standard conversion skips before a number.
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads sign and digits after white space. The magnitude stops growing once it is beyond any
// 32-bit value, which is all that saturation needs to know.
bool ConvertDecimal(char*& cursor, bool& negative, uint64_t& magnitude) {
    constexpr uint64_t kBeyond32Bits = uint64_t{1} << 33;
    char* p = cursor;
    while (IsSpace(*p))
        ++p;
    negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    if (!IsDigit(*p)) return false;
    magnitude = 0;
    for (; IsDigit(*p); ++p) {
        if (magnitude < kBeyond32Bits) magnitude = magnitude * 10 + static_cast<uint64_t>(*p - '0');
    }
    cursor = p;
    return true;
}

// One component of a pair: a number, or "-" (not followed by a digit) for "not defined".
int ParsePairComponent(char*& cursor, int32_t& value, bool& undefined) {
    if (*cursor == '\0') return kUnexpectedEol;
    if (cursor[0] == '-' && !IsDigit(cursor[1])) {
        ++cursor;
        undefined = true;
        return kNoError;
    }
    return ParseInt(cursor, value);
}

// Skips blanks and steps past one of two characters; 9 at the end of the line, 2 for any other.
int ExpectChar(char*& cursor, char one, char other) {
    SkipBlanks(cursor);
    if (*cursor == '\0') return kUnexpectedEol;
    if (*cursor != one && *cursor != other) return kUnexpectedChar;
    ++cursor;
    SkipBlanks(cursor);
    return kNoError;
}

} // namespace

void InitLineBuffer() {
    std::string().swap(gLine);
    gHasLine = false;
    gRepeat = false;
}

char* EmptyCursor() {
    gEmptyLine[0] = '\0';
    return gEmptyLine;
}

int ReadLine(std::istream& in, char*& cursor, bool eofIsError) {
    if (gRepeat) {
        gRepeat = false;
        cursor = LineText() + gFirst;
        return kNoError;
    }
    gHasLine = false;
    for (;;) {
        // The string reader scans the stream's buffer for the line feed and copies whole runs.
        gLine.clear();
        std::getline(in, gLine);
        if (in.bad()) return kIoError;
        if (in.fail()) {
            if (in.eof() && gLine.empty()) break;
            return kIoError;
        }
        const size_t first = gLine.find_first_not_of(' ');
        // A NUL ends the line for the token readers, so one right after the blanks empties it.
        if (first != std::string::npos && gLine[first] != '\0' && gLine[first] != '#') {
            if (gLine.capacity() > kKeptCapacity && gLine.size() < kKeptCapacity / 2) {
                gLine.shrink_to_fit();
            }
            gFirst = first;
            gHasLine = true;
            cursor = LineText() + first;
            return kNoError;
        }
    }
    cursor = EmptyCursor();
    if (!eofIsError) return kEofReached;
    return SetReadError(in, kUnexpectedEof, nullptr);
}

void RepeatLine() {
    gRepeat = gHasLine;
}

int ReadRequiredLine(std::istream& in, char*& cursor) {
    const int result = ReadLine(in, cursor, true);
    if (result == kIoError) return SetReadError(in, kIoError, nullptr);
    return result;
}

int ExpectKeyword(std::istream& in, char*& cursor, const char* keyword) {
    SkipBlanks(cursor);
    if (*cursor == '\0') {
        const int result = ReadRequiredLine(in, cursor);
        if (result != kNoError) return result;
    }
    // The keyword must begin the rest of the line; compared in one pass, as every line of a
    // file goes through here.
    const char* expected = keyword;
    char* at = cursor;
    while (*expected != '\0' && *at == *expected) {
        ++at;
        ++expected;
    }
    if (*expected != '\0') return SetReadError(in, kKeywordExpected, keyword);
    cursor = at;
    SkipBlanks(cursor);
    return kNoError;
}

int ParseInt(char*& cursor, int32_t& value) {
    SkipBlanks(cursor);
    if (*cursor == '\0') return kUnexpectedEol;
    bool negative;
    uint64_t magnitude;
    if (!ConvertDecimal(cursor, negative, magnitude)) return kUnexpectedChar;
    constexpr uint64_t kMaxPositive = INT32_MAX;
    constexpr uint64_t kMaxNegative = kMaxPositive + 1;
    if (negative) {
        value = magnitude >= kMaxNegative ? INT32_MIN : -static_cast<int32_t>(magnitude);
    } else {
        value = magnitude >= kMaxPositive ? INT32_MAX : static_cast<int32_t>(magnitude);
    }
    SkipBlanks(cursor);
    return kNoError;
}

int ParseUnsigned(char*& cursor, uint32_t& value) {
    SkipBlanks(cursor);
    if (*cursor == '\0') return kUnexpectedEol;
    bool negative;
    uint64_t magnitude;
    if (!ConvertDecimal(cursor, negative, magnitude)) return kUnexpectedChar;
    if (magnitude > UINT32_MAX) {
        value = UINT32_MAX;
    } else {
        const uint32_t low = static_cast<uint32_t>(magnitude);
        value = negative ? 0u - low : low; // NOTE: as the 32-bit strtoul: "-1" is 4294967295
    }
    SkipBlanks(cursor);
    return kNoError;
}

int ParsePair(char*& cursor, int32_t& a, int32_t& b) {
    SkipBlanks(cursor);
    if (*cursor == '\0') return kUnexpectedEol;
    int result = ExpectChar(cursor, '(', '[');
    if (result != kNoError) return result;
    bool undefined = false;
    result = ParsePairComponent(cursor, a, undefined);
    if (result != kNoError) return result;
    result = ExpectChar(cursor, ',', ',');
    if (result != kNoError) return result;
    result = ParsePairComponent(cursor, b, undefined);
    if (result != kNoError) return result;
    result = ExpectChar(cursor, ')', ']');
    if (result != kNoError) return result;
    return undefined ? kNotDefined : kNoError;
}

int ParseOnOff(char*& cursor, int& value) {
    SkipBlanks(cursor);
    if (*cursor == '\0') return kUnexpectedEol;
    if (std::strncmp(cursor, "ON", 2) == 0) {
        value = 1;
        cursor += 2;
    } else if (std::strncmp(cursor, "OFF", 3) == 0) {
        value = 0;
        cursor += 3;
    } else {
        return kUnexpectedChar;
    }
    SkipBlanks(cursor);
    return kNoError;
}

void SkipBlanks(char*& cursor) {
    while (*cursor == ' ')
        ++cursor;
}

void EndLine(char*& cursor) {
    // Nothing is written through the cursor: a nested block reader may have replaced the line it
    // pointed into.
    cursor = EmptyCursor();
}

std::string ReadRestOfLine(char*& cursor) {
    std::string text(cursor);
    EndLine(cursor);
    return text;
}

std::ostream& Indent(std::ostream& out, int level) {
    // One write for the whole indentation: a file of many elements has millions of these.
    static const char kBlanks[] =
        "                                                                ";
    const int blankCount = static_cast<int>(sizeof kBlanks) - 1;
    for (int left = 2 * level; left > 0; left -= blankCount)
        out.write(kBlanks, std::min(left, blankCount));
    return out;
}

const char* OnOffText(int value) {
    return value ? "ON" : "OFF";
}

int FinishWrite(std::ostream& out) {
    if (out.good()) return kNoError;
    return SetWriteError(out, kIoError, nullptr);
}

int ExpectKeywords(std::istream& in, char*& cursor, std::initializer_list<const char*> keywords) {
    for (const char* keyword : keywords) {
        const int code = ExpectKeyword(in, cursor, keyword);
        if (code != kNoError) return code;
    }
    return kNoError;
}

int RecordReadResult(std::istream& in, int code, const char* keyword) {
    return code == kNoError ? kNoError : SetReadError(in, code, keyword);
}
