// The first-error state of the common text format and its table of messages.
//
// A file operation keeps only its first error: the code (an index into the message table), the
// 1-based line it was met on (0 = no line) and the token to quote with the message. The load and
// save flows clear the state before each file operation and report it afterwards.
#pragma once

#include <cstdint>
#include <iosfwd>

// Every code a reader or writer can record or return; the value indexes the message table.
enum ParseErrorCode : int32_t {
    kNoError = 0,
    kIoError = 1,
    kUnexpectedChar = 2,
    kExpected = 3,
    kKeywordExpected = 4, // token = the keyword
    kNumberOutOfRange = 5,
    kUnknownElementType = 6,
    kUnknownLogicalOperation = 7,
    kUnexpectedEof = 8,
    kUnexpectedEol = 9,
    kEofReached = 10, // returned by ReadLine where end of file is allowed, never recorded
    kNotDefined = 11,
    kNoClock = 12,
    kUnknownSimulationMode = 13,
    kDimensionError = 14,
    kRuleDimensionError = 15,
    kPermNotInDimension = 16,
    kLogicDimensionError = 17,
    kUnallowedCharInName = 18,
    kIdentifierTooLong = 19,
    kInvalidIdentifier = 20,
    kWrongNumber = 21,
    kBadMatrixDimension = 22,
    kCannotCompileEquations = 23,
    kNotEnoughPlanes = 24,
    kOutputNotEnoughPlanes = 25,
    kDirectoryMissing = 26,
    kMacroNumberOutOfRange = 27,
    kMacroInputDimension = 28,
    kMacroOutputDimension = 29,
    kMacroInputCount = 30,
    kMacroOutputCount = 31,
    kCompilerError = 32,
};

constexpr int kParseErrorCount = 33;

// The message of a code; "" for 0 and for codes outside the table.
const char* ParseErrorMessage(int code);

// Code 0, line 0, no token.
void ClearParseError();

// Records a reading error unless one is recorded already (the first error wins) and returns the
// recorded code. A stream that is bad, or has failed other than at end of file, records 1
// "IO Error" at line 0 whatever code was asked for; otherwise the line is counted from the start
// of the stream up to the current read position. Afterwards the stream is in the failed state,
// so no later read of this operation consumes anything. The token is copied (null = none).
int SetReadError(std::istream& in, int code, const char* token);

// The same for writers: no line number; code 1 when the stream has already failed.
int SetWriteError(std::ostream& out, int code, const char* token);

// True when the stream is bad or has failed other than at end of file (a read that met end of
// file is no failure).
bool StreamFailed(const std::ios& stream);

int GetParseError();
int GetParseErrorLine();
// The recorded token, or null when none was given. Valid until the state changes.
const char* GetParseErrorToken();
