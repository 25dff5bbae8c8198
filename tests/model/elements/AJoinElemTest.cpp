#include "model/elements/AJoinElem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/data/ClockList.h"
#include "tests/model/elements/BlockText.h"
#include "tests/model/elements/ElementFixture.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/PlaneText.h"

namespace {

const char* const kJoinBlock = R"(  TYPE: JOIN
  INTERNAL_DATA {
    NAME:       JOIN
    COMMENT:    
    INPUTS:     2
    OUTPUTS:    1
    INPUT_DIM:  (4,1)(4,1)
    OUTPUT_DIM: (4,1)
    CLOCK:      0
    TIME:       0
  }
  LOGICAL_DATA{
    RULE: NAND
  }
)";

class AJoinElemFixture : public ElementFixture {
protected:
    AJoinElemFixture() : join(nullptr, 0, 0) {
        for (int k = 0; k < 2; k++)
            join.SetInputPlaneSize(k, 4, 1);
        join.SetOutputPlaneSize(0, 4, 1);
        join.CreateData();
    }

    // The output for the given inputs, all of one size.
    std::string Join(int rule, const std::vector<std::string>& inputs) {
        Matrix first = PlaneFromText(inputs[0]);
        join.SetPinCount(static_cast<int>(inputs.size()), 1, 0);
        for (size_t k = 0; k < inputs.size(); k++) {
            join.SetInputPlaneSize(static_cast<int>(k), first.GetDimX(), first.GetDimY());
            *join.GetInputPlane(static_cast<int>(k)) = PlaneFromText(inputs[k]);
        }
        join.SetOutputPlaneSize(0, first.GetDimX(), first.GetDimY());
        join.GetData().SetRule(rule);
        join.Simulate();
        return PlaneText(*join.GetOutputPlane(0));
    }

    FakeElementUi ui;
    AJoinElem join;
};

using AJoinElemStep = AJoinElemFixture;
using AJoinElemBlock = AJoinElemFixture;

} // namespace

TEST_F(AJoinElemStep, CombinesItsInputsInputAfterInput) {
    struct Case {
        int rule;
        std::vector<std::string> inputs;
        const char* output;
    };
    const Case kCases[] = {
        {kJoinOr, {"0011", "0101"}, "0111"},
        {kJoinNor, {"0011", "0101"}, "1000"},
        {kJoinXor, {"0011", "0101"}, "0110"},
        {kJoinAnd, {"0011", "0101"}, "0001"},
        {kJoinNand, {"0011", "0101"}, "1110"},
        // The negating rules negate at every step: NOR is NOT(NOT(a OR b) OR c).
        {kJoinOr, {"00001111", "00110011", "01010101"}, "01111111"},
        {kJoinNor, {"00001111", "00110011", "01010101"}, "00101010"},
        {kJoinXor, {"00001111", "00110011", "01010101"}, "01101001"},
        {kJoinAnd, {"00001111", "00110011", "01010101"}, "00000001"},
        {kJoinNand, {"00001111", "00110011", "01010101"}, "10101011"},
        {kJoinNor, {"1", "0", "0"}, "1"},
        // One input passes unchanged under every rule.
        {kJoinNor, {"0110"}, "0110"},
        {kJoinNand, {"0110"}, "0110"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(GetJoinRuleName(c.rule)) + " " + c.inputs[0]);
        EXPECT_EQ(Join(c.rule, c.inputs), c.output);
    }
}

TEST_F(AJoinElemStep, NegatingRulesSetNoPaddingBits) {
    const std::string zeros(40, '0');
    for (int rule : {kJoinNor, kJoinNand}) {
        SCOPED_TRACE(rule);
        Join(rule, {zeros, zeros});
        EXPECT_EQ(*join.GetOutputPlane(0), Matrix(40, 1, 1)); // words compared, padding included
    }
}

TEST_F(AJoinElemStep, AnInputOfAnotherSizeKeepsTheOutputsSize) {
    join.SetInputPlaneSize(1, 2, 1);
    *join.GetInputPlane(0) = PlaneFromText("0011");
    *join.GetInputPlane(1) = PlaneFromText("11");
    join.GetData().SetRule(kJoinXor);
    join.Simulate();
    EXPECT_EQ(PlaneText(*join.GetOutputPlane(0)), "1111");
}

TEST_F(AJoinElemStep, ADimensionChangeResetsTheRuleToOr) {
    join.GetData().SetRule(kJoinXor);
    join.OpenModifyWindow();
    join.DimensionChanged();
    EXPECT_EQ(join.GetData().GetRule(), kJoinOr);
    EXPECT_EQ(join.GetModifyWindow(), nullptr);

    join.GetData().SetRule(kJoinAnd);
    AElement* copy = AElement::Clone(join);
    EXPECT_EQ(dynamic_cast<AJoinElem*>(copy)->GetData().GetRule(), kJoinAnd);
    delete copy;
}

TEST_F(AJoinElemBlock, WritesNoBlankBeforeTheBraceAndReadsEitherForm) {
    join.GetData().SetRule(kJoinNand);
    EXPECT_EQ(WriteBlock(join, 1), kJoinBlock);

    AJoinElem read(nullptr, 0, 0);
    EXPECT_EQ(ReadBlock(read, kJoinBlock), 0);
    EXPECT_EQ(read.GetData().GetRule(), kJoinNand);
    EXPECT_EQ(WriteBlock(read, 1), kJoinBlock);
    std::string blank = Broken(kJoinBlock, {"LOGICAL_DATA{", "LOGICAL_DATA {", 0, 0, ""});
    EXPECT_EQ(ReadBlock(read, blank), 0);

    // Into a rule object of the caller's, and from it; the element's own stays.
    D_JoinElem target;
    read.GetData().SetRule(kJoinOr);
    EXPECT_EQ(ReadBlock(read, kJoinBlock, &target), 0);
    EXPECT_EQ(target.GetRule(), kJoinNand);
    EXPECT_EQ(read.GetData().GetRule(), kJoinOr);
    EXPECT_EQ(WriteBlock(read, 1, &target), kJoinBlock);
}

TEST_F(AJoinElemBlock, AFailedStreamRecordsAnIoError) {
    std::ostringstream out;
    out.setstate(std::ios::failbit);
    ClearParseError();
    EXPECT_EQ(join.Write(out, 0, nullptr), kIoError);
    EXPECT_EQ(GetParseError(), kIoError);
}

TEST_F(AJoinElemBlock, RuleNamesAreMatchedAsPrefixesNandFirst) {
    struct Case {
        const char* text;
        int rule; // -1: refused
    };
    const Case kCases[] = {{"OR", kJoinOr},
                           {"NOR", kJoinNor},
                           {"XOR", kJoinXor},
                           {"AND", kJoinAnd},
                           {"NAND", kJoinNand},
                           {"ANDY", kJoinAnd},
                           {"NORX", kJoinNor},
                           {"  XOR  and so", kJoinXor},
                           {"XNOR", -1},
                           {"nand", -1},
                           {"", -1}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        AJoinElem read(nullptr, 0, 0);
        const std::string line = std::string("RULE: ") + c.text;
        if (c.rule >= 0) {
            EXPECT_EQ(ReadBlock(read, Broken(kJoinBlock, {"RULE: NAND", line.c_str(), 0, 0, ""})),
                      0);
            EXPECT_EQ(read.GetData().GetRule(), c.rule);
        } else {
            ExpectReadError(read, kJoinBlock,
                            {"RULE: NAND", line.c_str(), kUnknownLogicalOperation, 13, c.text});
        }
    }
}

TEST_F(AJoinElemBlock, BrokenBlocksAreRefusedAndLeaveTheRule) {
    const BrokenBlock kBroken[] = {
        {"RULE:", "RULES", kKeywordExpected, 13, "RULE:"},
        {"LOGICAL_DATA{", "LOGICAL_DATA\n  (", kKeywordExpected, 13, "{"},
        {"NAND\n  }\n", "NAND\n", kUnexpectedEof, 13, ""},
        {"INPUT_DIM:  (4,1)(4,1)", "INPUT_DIM:  (4,1)", kUnexpectedEol, 7, "INPUT_DIM:"},
    };
    for (const BrokenBlock& broken : kBroken) {
        AJoinElem read(nullptr, 0, 0);
        read.CreateData();
        read.GetData().SetRule(kJoinXor);
        ExpectReadError(read, kJoinBlock, broken);
        EXPECT_EQ(read.GetData().GetRule(), kJoinXor);
    }
}
