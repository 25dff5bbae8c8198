#include "model/elements/ASplitElem.h"

#include <gtest/gtest.h>

#include <string>

#include "model/data/ClockList.h"
#include "tests/model/elements/BlockText.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/PlaneText.h"

namespace {

const char* const kSplitBlock = R"(TYPE: SPLIT
INTERNAL_DATA {
  NAME:       SPLIT
  COMMENT:    fan out
  INPUTS:     1
  OUTPUTS:    2
  INPUT_DIM:  (4,1)
  OUTPUT_DIM: (4,1)(4,1)
  CLOCK:      0
  TIME:       0
}
LOGICAL_DATA {
}
)";

class ASplitElemFixture : public ::testing::Test {
protected:
    ASplitElemFixture() {
        ResetClocks();
        AElement::SetDefaultPlaneSize(4, 1);
    }
    ~ASplitElemFixture() override {
        AElement::SetDefaultPlaneSize(16, 16);
        GetClocks().Clear();
    }

    FakeElementUi ui;
};

using ASplitElemTest = ASplitElemFixture;

} // namespace

TEST_F(ASplitElemTest, CopiesItsInputToEveryOutput) {
    ASplitElem split(nullptr, 0, 0);
    EXPECT_EQ(split.GetInputCount(), 1);
    EXPECT_EQ(split.GetOutputCount(), 2);
    EXPECT_EQ(split.GetClock(), 0);
    ASSERT_EQ(split.SetPinCount(1, 4, 0), 1);
    *split.GetInputPlane(0) = PlaneFromText("1101");
    split.Simulate();
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(PlaneText(*split.GetOutputPlane(i)), "1101") << i;
}

TEST_F(ASplitElemTest, WritesAnEmptyBlockAndReadsOneOnOneLineOrTwo) {
    ASplitElem split(nullptr, 0, 0);
    split.SetComment("fan out");
    EXPECT_EQ(WriteBlock(split, 0), kSplitBlock);

    std::string oneLine = Broken(kSplitBlock, {"LOGICAL_DATA {\n}", "LOGICAL_DATA { }", 0, 0, ""});
    ASplitElem read(nullptr, 0, 0);
    EXPECT_EQ(ReadBlock(read, oneLine), 0);
    EXPECT_STREQ(read.GetComment(), "fan out");
    EXPECT_EQ(WriteBlock(read, 0), kSplitBlock);
}

TEST_F(ASplitElemTest, AFailedStreamRecordsAnIoError) {
    ASplitElem split(nullptr, 0, 0);
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    ClearParseError();
    EXPECT_EQ(split.Write(out, 0, nullptr), kIoError);
    EXPECT_EQ(GetParseError(), kIoError);
}

TEST_F(ASplitElemTest, BrokenBlocksAreRefused) {
    const BrokenBlock kBroken[] = {
        {"LOGICAL_DATA {", "LOGICAL_DATA", kKeywordExpected, 13, "{"},
        {"LOGICAL_DATA {\n}\n", "LOGICAL_DATA {\n", kUnexpectedEof, 12, ""},
        {"LOGICAL_DATA {\n}", "LOGICAL_DATA {\n)", kKeywordExpected, 13, "}"},
        {"OUTPUTS:    2", "OUTPUTS:    0", kNumberOutOfRange, 6, "OUTPUTS:"},
    };
    for (const BrokenBlock& broken : kBroken) {
        ASplitElem read(nullptr, 0, 0);
        ExpectReadError(read, kSplitBlock, broken);
        EXPECT_STREQ(read.GetComment(), "");
    }
}
