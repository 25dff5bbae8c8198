// The line and token readers and the writing helpers shared by every block reader and writer of
// the common text format.
//
// Lines are read into one shared buffer that grows to the line's length: a line may be of any
// length. Each reader keeps its own cursor into it, starting on an empty string (EmptyCursor) so
// that its first keyword fetches a line, and hands the cursor to the token readers, which advance
// it. A nested block reader replaces the line and may move the buffer, so a reader that called one
// drops its cursor (EndLine or EmptyCursor) before it looks at the line again.
//
// A blank is the space character only. Empty lines and lines whose first non-blank character is
// '#' are skipped wherever a line is fetched; a '#' later in a line is an ordinary character.
//
// Results are 0 or a code of ParseError.h. The token readers return codes without recording
// them: their callers record them with SetReadError.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <string>

// Empties the shared line buffer and gives its memory back.
void InitLineBuffer();

// A cursor on an empty string, for a reader that has not fetched a line yet.
char* EmptyCursor();

// Fetches the next line that is neither empty nor a comment and sets the cursor to its first
// non-blank character. Returns 0; at end of file 10 when eofIsError is false, else records 8
// "Unexpected EOF" and returns the recorded code; 1 when the stream has failed, without recording
// it. A last line without a line feed is a line. The cursor stays valid until the next line read.
int ReadLine(std::istream& in, char*& cursor, bool eofIsError);

// Makes the next ReadLine return the line it returned last once more, as a stream that was set
// back to that line's start would (without the cost of repositioning a file). Nothing happens
// when no line was returned since the last end of file.
void RepeatLine();

// ReadLine where a line is required: a failed stream is recorded as 1 "IO Error" as well.
int ReadRequiredLine(std::istream& in, char*& cursor);

// Skips blanks, fetches a line when the current one is used up, and steps past the keyword and the
// blanks after it (a prefix match). A mismatch records 4 with the keyword as token. Returns 0 or
// the recorded code.
int ExpectKeyword(std::istream& in, char*& cursor, const char* keyword);

// ExpectKeyword for each keyword in turn; 0 or the recorded code.
int ExpectKeywords(std::istream& in, char*& cursor, std::initializer_list<const char*> keywords);

// A token reader's result (the codes above) recorded with the keyword it belongs to; 0 or the
// recorded code.
int RecordReadResult(std::istream& in, int code, const char* keyword);

// Base-10 integers after blanks: 0, 9 at the end of the line, 2 when no digit follows. Values
// beyond the 32-bit range saturate to its limits; ParseUnsigned takes "-1" as 4294967295.
// Characters right after the digits stay at the cursor.
int ParseInt(char*& cursor, int32_t& value);
int ParseUnsigned(char*& cursor, uint32_t& value);

// "(a,b)", opened by '(' or '[' and closed by ')' or ']'. A component written "-" leaves its
// variable unchanged and makes the result 11 "Not defined". Returns 0, 2, 9 or 11.
int ParsePair(char*& cursor, int32_t& a, int32_t& b);

// "ON" gives 1, "OFF" gives 0 (prefix match, so "ONE" is ON with the cursor at "E"). 0, 2 or 9.
int ParseOnOff(char*& cursor, int& value);

void SkipBlanks(char*& cursor);

// Sets the cursor on an empty string, so that the next keyword fetches a new line. The line
// itself is not touched, so a cursor left over from before a nested read may be given.
void EndLine(char*& cursor);

// The rest of the line as a free-text value (a name, a comment); the line is used up after it.
std::string ReadRestOfLine(char*& cursor);

// Writes the indentation of a block at the given level: 2 * level blanks.
std::ostream& Indent(std::ostream& out, int level);

// "ON" or "OFF".
const char* OnOffText(int value);

// A writer's result: 0 while the stream is good, else 1 recorded with SetWriteError.
int FinishWrite(std::ostream& out);
