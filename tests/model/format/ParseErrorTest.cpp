#include "model/format/ParseError.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "model/format/TextFormat.h"

namespace {

class ParseError : public ::testing::Test {
protected:
    void SetUp() override { ClearParseError(); }
};

struct MessageCase {
    int code;
    const char* message;
};

const MessageCase kMessages[] = {
    {0, ""},
    {1, "IO Error"},
    {2, "Unexpected char"},
    {4, "expected"},
    {8, "Unexpected EOF"},
    {10, "Unexpected EOF"},
    {11, "Not defined"},
    {13, "Unknown Simulation-Mode\n(possible values are: MODE1 | MODE2)"},
    {14, "Dimension error"},
    {24, "Not enough planes"},
    {32, "Compiler error"},
    {33, ""},
    {-1, ""},
};

TEST_F(ParseError, MessagesAreIndexedByCode) {
    for (const MessageCase& c : kMessages) {
        SCOPED_TRACE(c.code);
        EXPECT_STREQ(ParseErrorMessage(c.code), c.message);
    }
}

TEST_F(ParseError, ClearedStateHasNoError) {
    std::istringstream in("a\n");
    SetReadError(in, kUnexpectedChar, "a");
    ClearParseError();
    EXPECT_EQ(GetParseError(), kNoError);
    EXPECT_EQ(GetParseErrorLine(), 0);
    EXPECT_EQ(GetParseErrorToken(), nullptr);
}

TEST_F(ParseError, TheFirstErrorWins) {
    std::istringstream in("one\ntwo\n");
    char* cursor = EmptyCursor();
    ReadLine(in, cursor, true);
    EXPECT_EQ(SetReadError(in, kUnexpectedChar, "first"), kUnexpectedChar);
    EXPECT_EQ(SetReadError(in, kDimensionError, "second"), kUnexpectedChar);
    EXPECT_EQ(GetParseError(), kUnexpectedChar);
    EXPECT_EQ(GetParseErrorLine(), 1);
    EXPECT_STREQ(GetParseErrorToken(), "first");
}

TEST_F(ParseError, ALaterReadOfTheOperationFails) {
    std::istringstream in("one\ntwo\n");
    char* cursor = EmptyCursor();
    ReadLine(in, cursor, true);
    SetReadError(in, kUnexpectedChar, nullptr);
    EXPECT_EQ(ReadLine(in, cursor, true), kIoError);
}

TEST_F(ParseError, LinesAreCountedToTheReadPosition) {
    std::istringstream in("one\n\n# comment\nfour\nfive\n");
    char* cursor = EmptyCursor();
    ReadLine(in, cursor, true);
    ReadLine(in, cursor, true);
    ASSERT_STREQ(cursor, "four");
    SetReadError(in, kUnexpectedChar, nullptr);
    EXPECT_EQ(GetParseErrorLine(), 4);
}

TEST_F(ParseError, AnErrorOnTheLastLineWithoutLineFeedHasItsLine) {
    std::istringstream in("one\ntwo");
    char* cursor = EmptyCursor();
    ReadLine(in, cursor, true);
    ReadLine(in, cursor, true);
    ASSERT_STREQ(cursor, "two");
    SetReadError(in, kUnexpectedChar, nullptr);
    EXPECT_EQ(GetParseError(), kUnexpectedChar);
    EXPECT_EQ(GetParseErrorLine(), 2);
}

TEST_F(ParseError, AFailedStreamRecordsIoErrorWithoutLine) {
    std::istringstream in("one\n");
    in.setstate(std::ios::badbit);
    EXPECT_EQ(SetReadError(in, kDimensionError, "DIMENSION:"), kIoError);
    EXPECT_EQ(GetParseErrorLine(), 0);
    EXPECT_STREQ(GetParseErrorToken(), "DIMENSION:");
}

TEST_F(ParseError, TheTokenIsACopy) {
    std::istringstream in("x\n");
    std::string token = "NAME:";
    SetReadError(in, kKeywordExpected, token.c_str());
    token = "changed";
    EXPECT_STREQ(GetParseErrorToken(), "NAME:");
}

TEST_F(ParseError, WriteErrorsHaveNoLine) {
    std::ostringstream out;
    out << "a\nb\n";
    EXPECT_EQ(SetWriteError(out, kDimensionError, "x"), kDimensionError);
    EXPECT_EQ(GetParseErrorLine(), 0);
    EXPECT_TRUE(out.fail());

    ClearParseError();
    std::ostringstream failed;
    failed.setstate(std::ios::badbit);
    EXPECT_EQ(SetWriteError(failed, kDimensionError, nullptr), kIoError);
}

} // namespace
