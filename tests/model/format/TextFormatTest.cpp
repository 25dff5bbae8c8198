#include "model/format/TextFormat.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "model/format/ParseError.h"

namespace {

class TextFormat : public ::testing::Test {
protected:
    void SetUp() override { ClearParseError(); }
};

// A writable line for the token readers, which work in place.
struct Line {
    explicit Line(const char* text) : text(text), cursor(&this->text[0]) {}
    std::string text;
    char* cursor;
    std::string Rest() const { return cursor; }
};

struct LineCase {
    const char* input;
    bool eofIsError;
    int result;
    const char* line; // the cursor's text after the read
};

const LineCase kLines[] = {
    {"abc\n", true, kNoError, "abc"},
    {"   abc  \n", true, kNoError, "abc  "},
    {"\n\n   \n  # a comment\n#\nabc\n", true, kNoError, "abc"},
    {"\tabc\n", true, kNoError, "\tabc"},
    {"abc # not a comment\n", true, kNoError, "abc # not a comment"},
    {"abc", true, kNoError, "abc"}, // a last line without a line feed is a line
    {"", false, kEofReached, ""},
    {"\n  \n# only comments", false, kEofReached, ""},
    {"", true, kUnexpectedEof, ""},
};

TEST_F(TextFormat, ReadLineSkipsBlankAndCommentLines) {
    for (const LineCase& c : kLines) {
        SCOPED_TRACE(c.input);
        ClearParseError();
        std::istringstream in(c.input);
        char* cursor = EmptyCursor();
        EXPECT_EQ(ReadLine(in, cursor, c.eofIsError), c.result);
        EXPECT_STREQ(cursor, c.line);
    }
}

TEST_F(TextFormat, ReadLineAtEofRecordsUnexpectedEofWithItsLine) {
    std::istringstream in("one\n\n# comment\n");
    char* cursor = EmptyCursor();
    ASSERT_EQ(ReadLine(in, cursor, true), kNoError);
    EXPECT_EQ(ReadLine(in, cursor, true), kUnexpectedEof);
    EXPECT_EQ(GetParseError(), kUnexpectedEof);
    EXPECT_EQ(GetParseErrorLine(), 3);
    EXPECT_EQ(GetParseErrorToken(), nullptr);
}

TEST_F(TextFormat, ReadLineTakesLinesOfAnyLength) {
    // Longer than any buffer the reader starts with, and longer than one read of the stream.
    const std::string wide(65536 + 14, '1');
    const std::string longer(1000000, '0');
    std::istringstream in("  " + wide + "\nshort\n" + longer + "\n\n" + wide + "\nMATRI\n");
    char* cursor = EmptyCursor();
    ASSERT_EQ(ReadLine(in, cursor, true), kNoError);
    EXPECT_EQ(std::string(cursor), wide);
    ASSERT_EQ(ReadLine(in, cursor, true), kNoError);
    EXPECT_STREQ(cursor, "short");
    ASSERT_EQ(ReadLine(in, cursor, true), kNoError);
    EXPECT_EQ(std::string(cursor), longer);
    ASSERT_EQ(ReadLine(in, cursor, true), kNoError);
    EXPECT_EQ(std::string(cursor), wide);
    // The line of an error is still counted right after long lines.
    EndLine(cursor);
    EXPECT_EQ(ExpectKeyword(in, cursor, "MATRIX"), kKeywordExpected);
    EXPECT_EQ(GetParseErrorLine(), 6);
}

TEST_F(TextFormat, EndLineOnACursorFromBeforeANestedReadLeavesTheNewLine) {
    // The outer reader stopped at the end of its line; a nested reader fetched a longer one.
    std::istringstream in("OUTER {\n0123456789 tail\n");
    char* outer = EmptyCursor();
    ASSERT_EQ(ExpectKeyword(in, outer, "OUTER"), kNoError);
    char* inner = EmptyCursor();
    ASSERT_EQ(ReadLine(in, inner, true), kNoError);
    EndLine(outer);
    EXPECT_STREQ(outer, "");
    EXPECT_STREQ(inner, "0123456789 tail");
}

TEST_F(TextFormat, RepeatLineReturnsTheLastLineOnceMore) {
    std::istringstream in("  TYPE: MASK\n# c\nNEXT\n");
    char* cursor = EmptyCursor();
    ASSERT_EQ(ExpectKeyword(in, cursor, "TYPE:"), kNoError);
    RepeatLine();
    char* again = EmptyCursor();
    ASSERT_EQ(ReadLine(in, again, true), kNoError);
    EXPECT_STREQ(again, "TYPE: MASK");
    ASSERT_EQ(ReadLine(in, again, true), kNoError);
    EXPECT_STREQ(again, "NEXT");
    // After the end of file there is no line to repeat; errors keep their line.
    EXPECT_EQ(ReadLine(in, again, false), kEofReached);
    RepeatLine();
    EXPECT_EQ(ReadLine(in, again, true), kUnexpectedEof);
    EXPECT_EQ(GetParseErrorLine(), 3);
}

struct KeywordCase {
    const char* input;
    const char* keyword;
    int result;
    int line;
    const char* rest; // the cursor after success
};

const KeywordCase kKeywords[] = {
    {"NAME: x\n", "NAME:", kNoError, 0, "x"},
    {"  NAMES\n", "NAME", kNoError, 0, "S"}, // a prefix match
    {"\n# c\nMATRIX {\n", "MATRIX", kNoError, 0, "{"},
    {"\tMATRIX {\n", "MATRIX", kKeywordExpected, 1, nullptr},
    {"one\ntwo\nMATRI\n", "MATRIX", kKeywordExpected, 1, nullptr},
    {"", "MATRIX", kUnexpectedEof, 0, nullptr},
    {"\n\n", "MATRIX", kUnexpectedEof, 2, nullptr},
};

TEST_F(TextFormat, ExpectKeywordMatchesAPrefixAfterBlanks) {
    for (const KeywordCase& c : kKeywords) {
        SCOPED_TRACE(c.input);
        ClearParseError();
        std::istringstream in(c.input);
        char* cursor = EmptyCursor();
        EXPECT_EQ(ExpectKeyword(in, cursor, c.keyword), c.result);
        EXPECT_EQ(GetParseError(), c.result);
        EXPECT_EQ(GetParseErrorLine(), c.line);
        if (c.result == kNoError) {
            EXPECT_STREQ(cursor, c.rest);
        } else if (c.result == kKeywordExpected) {
            EXPECT_STREQ(GetParseErrorToken(), c.keyword);
        }
    }
}

TEST_F(TextFormat, KeywordsStandOnTheSameLineOrTheNext) {
    std::istringstream in("BLOCK {  INPUTS: 7\n}\n");
    char* cursor = EmptyCursor();
    int32_t value = 0;
    EXPECT_EQ(ExpectKeyword(in, cursor, "BLOCK"), kNoError);
    EXPECT_EQ(ExpectKeyword(in, cursor, "{"), kNoError);
    EXPECT_EQ(ExpectKeyword(in, cursor, "INPUTS:"), kNoError);
    EXPECT_EQ(ParseInt(cursor, value), kNoError);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(ExpectKeyword(in, cursor, "}"), kNoError);
}

TEST_F(TextFormat, ExpectKeywordStopsOnAFailedStream) {
    std::istringstream in("MATRIX\n");
    in.setstate(std::ios::failbit);
    char* cursor = EmptyCursor();
    EXPECT_EQ(ExpectKeyword(in, cursor, "MATRIX"), kIoError);
    EXPECT_EQ(GetParseError(), kIoError);
    EXPECT_EQ(GetParseErrorLine(), 0);
}

TEST_F(TextFormat, CharactersAfterANumberMakeTheNextKeywordFail) {
    std::istringstream in("INPUTS:  7x\n");
    char* cursor = EmptyCursor();
    int32_t value = 0;
    ASSERT_EQ(ExpectKeyword(in, cursor, "INPUTS:"), kNoError);
    EXPECT_EQ(ParseInt(cursor, value), kNoError);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(ExpectKeyword(in, cursor, "OUTPUTS:"), kKeywordExpected);
    EXPECT_STREQ(GetParseErrorToken(), "OUTPUTS:");
    EXPECT_EQ(GetParseErrorLine(), 1);
}

struct IntCase {
    const char* text;
    int result;
    int32_t value;
    const char* rest;
};

const IntCase kInts[] = {
    {"12", kNoError, 12, ""},
    {"  -12  next", kNoError, -12, "next"},
    {"+5", kNoError, 5, ""},
    {"\t8", kNoError, 8, ""}, // the conversion skips tabs
    {"12abc", kNoError, 12, "abc"},
    {"2147483647", kNoError, INT32_MAX, ""},
    {"2147483648", kNoError, INT32_MAX, ""}, // saturates as on the 32-bit platform
    {"99999999999999999999999", kNoError, INT32_MAX, ""},
    {"-2147483648", kNoError, INT32_MIN, ""},
    {"-2147483649", kNoError, INT32_MIN, ""},
    {"x", kUnexpectedChar, -1, "x"},
    {"-", kUnexpectedChar, -1, "-"},
    {"", kUnexpectedEol, -1, ""},
    {"    ", kUnexpectedEol, -1, ""},
};

TEST_F(TextFormat, ParseIntReadsSignedDecimals) {
    for (const IntCase& c : kInts) {
        SCOPED_TRACE(c.text);
        Line line(c.text);
        int32_t value = -1;
        EXPECT_EQ(ParseInt(line.cursor, value), c.result);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(line.Rest(), c.rest);
    }
}

struct UnsignedCase {
    const char* text;
    int result;
    uint32_t value;
};

const UnsignedCase kUnsigneds[] = {
    {"4294967295", kNoError, 4294967295u},
    {"4294967296", kNoError, 4294967295u},
    {"-1", kNoError, 4294967295u},
    {"-4294967295", kNoError, 1u},
    {"100", kNoError, 100u},
    {"O", kUnexpectedChar, 7u},
    {"", kUnexpectedEol, 7u},
};

TEST_F(TextFormat, ParseUnsignedReadsAsTheUnsignedConversion) {
    for (const UnsignedCase& c : kUnsigneds) {
        SCOPED_TRACE(c.text);
        Line line(c.text);
        uint32_t value = 7;
        EXPECT_EQ(ParseUnsigned(line.cursor, value), c.result);
        EXPECT_EQ(value, c.value);
    }
}

struct PairCase {
    const char* text;
    int result;
    int32_t a;
    int32_t b;
    const char* rest;
};

const PairCase kPairs[] = {
    {"(3,4)", kNoError, 3, 4, ""},           {"  ( 3 , 4 )  x", kNoError, 3, 4, "x"},
    {"[3, 4)", kNoError, 3, 4, ""},          {"(3,4](5,6)", kNoError, 3, 4, "(5,6)"},
    {"(-3,-4)", kNoError, -3, -4, ""},       {"(3,-)", kNotDefined, 3, -9, ""},
    {"(-,-)", kNotDefined, -9, -9, ""},      {"(3,4", kUnexpectedEol, 3, 4, ""},
    {"(3,", kUnexpectedEol, 3, -9, ""},      {"(", kUnexpectedEol, -9, -9, ""},
    {"", kUnexpectedEol, -9, -9, ""},        {"(3;4)", kUnexpectedChar, 3, -9, ";4)"},
    {"3,4", kUnexpectedChar, -9, -9, "3,4"}, {"(x,4)", kUnexpectedChar, -9, -9, "x,4)"},
};

TEST_F(TextFormat, ParsePairReadsBracketedPairs) {
    for (const PairCase& c : kPairs) {
        SCOPED_TRACE(c.text);
        Line line(c.text);
        int32_t a = -9;
        int32_t b = -9;
        EXPECT_EQ(ParsePair(line.cursor, a, b), c.result);
        EXPECT_EQ(a, c.a);
        EXPECT_EQ(b, c.b);
        EXPECT_EQ(line.Rest(), c.rest);
    }
}

struct OnOffCase {
    const char* text;
    int result;
    int value;
    const char* rest;
};

const OnOffCase kSwitches[] = {
    {"ON", kNoError, 1, ""},         {" OFF  GRID:", kNoError, 0, "GRID:"},
    {"ONE", kNoError, 1, "E"},       {"on", kUnexpectedChar, -1, "on"},
    {"O", kUnexpectedChar, -1, "O"}, {"", kUnexpectedEol, -1, ""},
};

TEST_F(TextFormat, ParseOnOffReadsSwitches) {
    for (const OnOffCase& c : kSwitches) {
        SCOPED_TRACE(c.text);
        Line line(c.text);
        int value = -1;
        EXPECT_EQ(ParseOnOff(line.cursor, value), c.result);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(line.Rest(), c.rest);
    }
}

TEST_F(TextFormat, FreeTextKeepsAnInlineHashAndUsesUpTheLine) {
    std::istringstream in("NAME: mask #2 (left)\nCOMMENT: c\n");
    char* cursor = EmptyCursor();
    ASSERT_EQ(ExpectKeyword(in, cursor, "NAME:"), kNoError);
    EXPECT_EQ(ReadRestOfLine(cursor), "mask #2 (left)");
    EXPECT_EQ(ExpectKeyword(in, cursor, "COMMENT:"), kNoError);
    EXPECT_EQ(ReadRestOfLine(cursor), "c");
}

TEST_F(TextFormat, WritersIndentTwoBlanksPerLevel) {
    std::ostringstream out;
    Indent(out, 0) << "A {\n";
    Indent(out, 1) << "SWITCH: " << OnOffText(1) << "\n";
    Indent(out, 2) << OnOffText(0) << "\n";
    EXPECT_EQ(out.str(), "A {\n  SWITCH: ON\n    OFF\n");
    EXPECT_EQ(FinishWrite(out), kNoError);
}

TEST_F(TextFormat, FinishWriteRecordsAFailedStream) {
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(FinishWrite(out), kIoError);
    EXPECT_EQ(GetParseError(), kIoError);
    EXPECT_EQ(GetParseErrorLine(), 0);
}

} // namespace
