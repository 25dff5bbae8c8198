#include "model/elements/ARuleElem.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>

#include "model/data/ClockList.h"
#include "model/elements/AJoinElem.h"
#include "tests/model/elements/BlockText.h"
#include "tests/model/elements/ElementFixture.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/PlaneText.h"

namespace {

// A RULE of 3 x 2 planes searching "10" and substituting "01", its mask with row 1 "110" and
// row 0 "111", written at level 1.
const char* const kRuleBlock = R"(  TYPE: RULE
  INTERNAL_DATA {
    NAME:       RULE
    COMMENT:    
    INPUTS:     1
    OUTPUTS:    1
    INPUT_DIM:  (3,2)
    OUTPUT_DIM: (3,2)
    CLOCK:      0
    TIME:       0
  }
  LOGICAL_DATA {
    PATTERN_DIMENSION: (2,1)
    SEARCH_PATTERN:
      MATRIX {
        DIMENSION: (2,1)
        DATA {
          10
        }
      }
    SUBSTITUTION_PATTERN:
      MATRIX {
        DIMENSION: (2,1)
        DATA {
          01
        }
      }
    MASK:
      MATRIX {
        DIMENSION: (3,2)
        DATA {
          110
          111
        }
      }
  }
)";

const char* const kUndefinedRuleBlock = R"(  TYPE: RULE
  INTERNAL_DATA {
    NAME:       RULE
    COMMENT:    
    INPUTS:     1
    OUTPUTS:    1
    INPUT_DIM:  (3,2)
    OUTPUT_DIM: (3,2)
    CLOCK:      0
    TIME:       0
  }
  LOGICAL_DATA {
    NOT_DEFINED
  }
)";

// Counts the refreshes a read into given data asks of the open rule editor.
using RuleUi = FakeElementUi;

// A row of a plane as text with the given cells set.
std::string Row(int width, std::initializer_list<int> set) {
    std::string row(static_cast<size_t>(width), '0');
    for (int x : set)
        row[static_cast<size_t>(x)] = '1';
    return row;
}

void SetPatterns(D_RuleElem& rule, const std::string& search, const std::string& substitution) {
    rule.SetSearch(std::make_unique<Matrix>(PlaneFromText(search)));
    rule.SetSubstitution(std::make_unique<Matrix>(PlaneFromText(substitution)));
}

class ARuleElemFixture : public ElementFixture {
protected:
    ARuleElemFixture() : rule(nullptr, 0, 0) {
        Resize(rule, 3, 2);
        rule.CreateData();
    }

    // The block's rule: search "10", substitution "01", mask "111/110".
    static void SetBlockRule(D_RuleElem& data) {
        SetPatterns(data, "10", "01");
        data.GetMask()->GetMask() = PlaneFromText("111/110");
    }

    RuleUi ui;
    ARuleElem rule;
};

using ARuleElemStep = ARuleElemFixture;
using ARuleElemBlock = ARuleElemFixture;

} // namespace

TEST_F(ARuleElemStep, ANewRuleIsNotDefinedAndLeavesItsOutputAlone) {
    EXPECT_EQ(rule.GetClock(), 0);
    EXPECT_EQ(rule.GetTime(), 0u);
    EXPECT_EQ(rule.IsDefined(), 0);
    EXPECT_EQ(rule.GetData().GetMask()->GetMask(), Matrix(3, 2, 1));
    EXPECT_EQ(rule.GetData().GetMaxWidth(), 3);
    EXPECT_EQ(rule.GetData().GetMaxHeight(), 2);
    *rule.GetInputPlane(0) = PlaneFromText("111/111");
    *rule.GetOutputPlane(0) = PlaneFromText("010/100");
    ui.now = 7;
    rule.Simulate();
    EXPECT_EQ(PlaneText(*rule.GetOutputPlane(0)), "010/100");
    EXPECT_EQ(rule.GetLastSimulatedTime(), 7u);

    // One pattern alone is not enough.
    rule.GetData().SetSearch(std::make_unique<Matrix>(1, 1, 1));
    EXPECT_EQ(rule.IsDefined(), 0);
    rule.Simulate();
    EXPECT_EQ(PlaneText(*rule.GetOutputPlane(0)), "010/100");
    rule.GetData().SetSubstitution(std::make_unique<Matrix>(1, 1, 1));
    EXPECT_EQ(rule.IsDefined(), 1);
}

// Planes as rows 0 first; the expected outputs follow from out(x, y) = OR over the set
// substitution cells (j, i) of M(x - j, y - i), M(x, y) = mask(x, y) AND over the set search
// cells (j, i) of in(x + j, y + i), cells outside the plane reading 0.
struct RuleCase {
    const char* what;
    const char* search;
    const char* substitution;
    const char* mask;
    const char* in;
    const char* out;
};

const RuleCase kRuleCases[] = {
    {"one set cell copies the masked input", "1", "1", "1101/1111", "1011/0110", "1001/0110"},
    // Only cell (0, 0) is compared, also in the last column where (1, 0) would lie outside.
    {"cleared search cells are not compared", "10", "10", "1111/1111", "1111/0101", "1111/0101"},
    // Matches at (0,0), (3,1), (3,2); (3,3) would need row 4 and (4,y) column 5. Each match
    // stamps (1,1) of the substitution pattern.
    {"matches stop at the top and right border", "11/10", "00/01", "11111/11111/11111/11111",
     "11000/10011/00011/00011", "00000/01000/00001/00001"},
    {"the mask removes a match", "11/10", "00/01", "11111/11101/11111/11111",
     "11000/10011/00011/00011", "00000/01000/00000/00001"},
    // Matches at (0,0), (1,0) and (2,1); the first two stamps share (1,0) and (1,1), and of the
    // stamps of (1,0) and (2,1) only the cells in column 2 lie inside.
    {"stamps overlap by OR and are cut at the border", "1", "11/11", "111/111", "110/001",
     "111/111"},
    {"a stamp cut at the border", "1", "11/11", "111/111", "000/001", "000/001"},
    {"input cells outside every stamp are dropped", "11", "10", "1111/1111", "1101/1011",
     "1000/0010"},
};

TEST_F(ARuleElemStep, SearchesMasksAndStamps) {
    for (const RuleCase& c : kRuleCases) {
        SCOPED_TRACE(c.what);
        Matrix in = PlaneFromText(c.in);
        Resize(rule, in.GetDimX(), in.GetDimY());
        rule.DimensionChanged();
        SetPatterns(rule.GetData(), c.search, c.substitution);
        rule.GetData().GetMask()->GetMask() = PlaneFromText(c.mask);
        *rule.GetInputPlane(0) = in;
        *rule.GetOutputPlane(0) = Matrix(in.GetDimX(), in.GetDimY(), 1);
        rule.Simulate();
        EXPECT_EQ(PlaneText(*rule.GetOutputPlane(0)), c.out);
    }
}

TEST_F(ARuleElemStep, WidePlanesMatchAndStampAcrossWordBoundaries) {
    Resize(rule, 40, 2);
    rule.DimensionChanged();
    // M(x) = in(x) AND in(x + 1), stamped one column to the right.
    SetPatterns(rule.GetData(), "11", "01");
    *rule.GetInputPlane(0) = PlaneFromText(Row(40, {30, 31, 32, 38, 39}) + "/" + Row(40, {31, 32}));
    rule.Simulate();
    const Matrix expected = PlaneFromText(Row(40, {31, 32, 39}) + "/" + Row(40, {32}));
    EXPECT_EQ(PlaneText(*rule.GetOutputPlane(0)), PlaneText(expected));
    EXPECT_EQ(*rule.GetOutputPlane(0), expected); // padding bits stay 0

    // A pattern reaching from column 31 into column 32 of the row above.
    SetPatterns(rule.GetData(), "10/01", "01/10");
    *rule.GetInputPlane(0) = PlaneFromText(Row(40, {31, 39}) + "/" + Row(40, {0, 32}));
    rule.Simulate();
    // The only match is (31,0); its stamp sets (32,0) and (31,1).
    EXPECT_EQ(PlaneText(*rule.GetOutputPlane(0)), Row(40, {32}) + "/" + Row(40, {31}));
}

// A negating JOIN hands the rule rows of all ones; a pattern two cells wide still never matches
// at the last column, whatever lies beyond the border of the row.
TEST_F(ARuleElemStep, APatternBeyondTheRightBorderNeverMatchesBehindANegatingJoin) {
    for (int width : {3, 33, 64, 65}) {
        for (int32_t negation : {kJoinNor, kJoinNand}) {
            SCOPED_TRACE(std::to_string(width) + " " + GetJoinRuleName(negation));
            AJoinElem join(nullptr, 0, 0);
            for (int k = 0; k < 2; k++)
                join.SetInputPlaneSize(k, width, 2);
            join.SetOutputPlaneSize(0, width, 2);
            join.CreateData();
            join.GetData().SetRule(negation);
            join.Simulate();
            Resize(rule, width, 2);
            rule.DimensionChanged();
            SetPatterns(rule.GetData(), "11", "1");
            *rule.GetInputPlane(0) = *join.GetOutputPlane(0);
            rule.Simulate();
            std::string row(static_cast<size_t>(width), '1');
            row.back() = '0';
            EXPECT_EQ(PlaneText(*rule.GetOutputPlane(0)), row + "/" + row);
        }
    }
}

TEST_F(ARuleElemStep, ADimensionChangeDiscardsThePatternsAndTheEditor) {
    SetBlockRule(rule.GetData());
    rule.OpenModifyWindow();
    ASSERT_NE(rule.GetModifyWindow(), nullptr);
    Resize(rule, 5, 4);
    rule.DimensionChanged();
    EXPECT_EQ(rule.GetModifyWindow(), nullptr);
    EXPECT_EQ(rule.IsDefined(), 0);
    EXPECT_EQ(rule.GetData().GetMask()->GetMask(), Matrix(5, 4, 1));
    EXPECT_EQ(rule.GetData().GetMaxWidth(), 5);
    EXPECT_EQ(rule.GetData().GetMaxHeight(), 4);
}

TEST_F(ARuleElemStep, ACopyHasDataOfItsOwnAndTheMaskEditorsSize) {
    int width, height;
    rule.GetMaskWindowSize(width, height);
    EXPECT_EQ(width, 300);
    EXPECT_EQ(height, 460);
    EXPECT_EQ(rule.GetMaskWindowZoom(), 100);
    rule.SetMaskWindowSize(320, 480);
    rule.SetMaskWindowZoom(60);
    SetBlockRule(rule.GetData());

    std::unique_ptr<AElement> copy(AElement::Clone(rule));
    rule.GetData().GetSearch()->SetBit(1, 0, 1);
    rule.GetData().GetMask()->GetMask().SetAll();
    ARuleElem* ruleCopy = dynamic_cast<ARuleElem*>(copy.get());
    ASSERT_NE(ruleCopy, nullptr);
    EXPECT_EQ(PlaneText(*ruleCopy->GetData().GetSearch()), "10");
    EXPECT_EQ(PlaneText(*ruleCopy->GetData().GetSubstitution()), "01");
    EXPECT_EQ(PlaneText(ruleCopy->GetData().GetMask()->GetMask()), "111/110");
    ruleCopy->GetMaskWindowSize(width, height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 480);
    EXPECT_EQ(ruleCopy->GetMaskWindowZoom(), 60);

    // Missing patterns stay missing.
    ARuleElem empty(nullptr, 0, 0);
    empty.CreateData();
    std::unique_ptr<AElement> emptyCopy(AElement::Clone(empty));
    EXPECT_EQ(emptyCopy->IsDefined(), 0);
}

TEST_F(ARuleElemStep, AssignmentCopiesAddsAndDeletesPatterns) {
    D_RuleElem source(3, 2);
    D_RuleElem target(5, 5);
    SetPatterns(target, "1", "1");
    target = source;
    EXPECT_EQ(target.GetSearch(), nullptr);
    EXPECT_EQ(target.GetSubstitution(), nullptr);
    EXPECT_EQ(target.GetMaxWidth(), 3);
    EXPECT_EQ(target.GetMask()->GetMask(), Matrix(3, 2, 1));

    SetBlockRule(source);
    target = source;
    Matrix* search = target.GetSearch();
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(PlaneText(*search), "10");
    source.GetSubstitution()->SetAll();
    target = source;
    EXPECT_EQ(target.GetSearch(), search); // copied into the pattern it had
    EXPECT_EQ(PlaneText(*target.GetSubstitution()), "11");
    EXPECT_EQ(PlaneText(target.GetMask()->GetMask()), "111/110");
}

TEST_F(ARuleElemBlock, WritesThePatternsAndTheMaskAndReadsThemBack) {
    SetBlockRule(rule.GetData());
    EXPECT_EQ(WriteBlock(rule, 1), kRuleBlock);

    ARuleElem read(nullptr, 0, 0);
    EXPECT_EQ(ReadBlock(read, kRuleBlock), 0);
    EXPECT_EQ(read.GetInputPlaneWidth(0), 3);
    EXPECT_EQ(read.GetData().GetMaxWidth(), 3);
    EXPECT_EQ(read.GetData().GetMaxHeight(), 2);
    EXPECT_EQ(read.IsDefined(), 1);
    EXPECT_EQ(WriteBlock(read, 1), kRuleBlock);
}

TEST_F(ARuleElemBlock, AnUndefinedRuleIsWrittenAsNotDefinedAndReadBack) {
    EXPECT_EQ(WriteBlock(rule, 1), kUndefinedRuleBlock);
    // One pattern alone is not written either.
    rule.GetData().SetSearch(std::make_unique<Matrix>(1, 1, 1));
    EXPECT_EQ(WriteBlock(rule, 1), kUndefinedRuleBlock);

    ARuleElem read(nullptr, 0, 0);
    read.CreateData();
    SetBlockRule(read.GetData());
    EXPECT_EQ(ReadBlock(read, kUndefinedRuleBlock), 0);
    EXPECT_EQ(read.IsDefined(), 0); // the element reads into fresh data
    EXPECT_EQ(read.GetData().GetMaxWidth(), 3);
    EXPECT_EQ(WriteBlock(read, 1), kUndefinedRuleBlock);
}

TEST_F(ARuleElemBlock, WritesAndReadsGivenDataAndRefreshesTheOpenEditor) {
    D_RuleElem given(3, 2);
    SetBlockRule(given);
    EXPECT_EQ(WriteBlock(rule, 1, &given), kRuleBlock);

    rule.OpenModifyWindow();
    D_RuleElem into(3, 2);
    EXPECT_EQ(ReadBlock(rule, kRuleBlock, &into), 0);
    EXPECT_EQ(ui.modifyRebuilds, 1);
    EXPECT_EQ(rule.IsDefined(), 0); // the element's own data is not touched
    ASSERT_NE(into.GetSearch(), nullptr);
    EXPECT_EQ(PlaneText(*into.GetSearch()), "10");
    EXPECT_EQ(PlaneText(into.GetMask()->GetMask()), "111/110");

    // "NOT_DEFINED" leaves given data as it was.
    EXPECT_EQ(ReadBlock(rule, kUndefinedRuleBlock, &into), 0);
    EXPECT_EQ(ui.modifyRebuilds, 2);
    ASSERT_NE(into.GetSearch(), nullptr);
    EXPECT_EQ(PlaneText(*into.GetSubstitution()), "01");

    // A failed read refreshes nothing.
    const std::string broken =
        Broken(kRuleBlock, {"(2,1)\n    SEARCH", "(9,1)\n    SEARCH", 0, 0, ""});
    EXPECT_EQ(ReadBlock(rule, broken, &into), kRuleDimensionError);
    EXPECT_EQ(ui.modifyRebuilds, 2);
    EXPECT_EQ(PlaneText(*into.GetSearch()), "10");
}

TEST_F(ARuleElemBlock, AFailedStreamRecordsAnIoError) {
    SetBlockRule(rule.GetData());
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    ClearParseError();
    EXPECT_EQ(rule.Write(out, 0, nullptr), kIoError);
    EXPECT_EQ(GetParseError(), kIoError);
}

TEST_F(ARuleElemBlock, BrokenBlocksAreRefusedAndLeaveTheElementAsItWas) {
    const BrokenBlock kBroken[] = {
        {"  LOGICAL_DATA {", "  LOGICAL {", kKeywordExpected, 12, "LOGICAL_DATA"},
        {"PATTERN_DIMENSION:", "PATTERN_DIM:", kKeywordExpected, 13, "PATTERN_DIMENSION:"},
        // Larger than the element's plane, or empty.
        {"PATTERN_DIMENSION: (2,1)", "PATTERN_DIMENSION: (4,1)", kRuleDimensionError, 13,
         "PATTERN_DIMENSION:"},
        {"PATTERN_DIMENSION: (2,1)", "PATTERN_DIMENSION: (2,3)", kRuleDimensionError, 13,
         "PATTERN_DIMENSION:"},
        {"PATTERN_DIMENSION: (2,1)", "PATTERN_DIMENSION: (0,1)", kRuleDimensionError, 13,
         "PATTERN_DIMENSION:"},
        {"PATTERN_DIMENSION: (2,1)", "PATTERN_DIMENSION: (-,1)", kNotDefined, 13,
         "PATTERN_DIMENSION:"},
        {"PATTERN_DIMENSION: (2,1)", "PATTERN_DIMENSION: (2,1", kUnexpectedEol, 13,
         "PATTERN_DIMENSION:"},
        {"    SEARCH_PATTERN:", "    SEARCH:", kKeywordExpected, 14, "SEARCH_PATTERN:"},
        // A pattern of another size than announced.
        {"        DIMENSION: (2,1)", "        DIMENSION: (3,1)", kDimensionError, 16, "DIMENSION:"},
        {"    SUBSTITUTION_PATTERN:", "    SUBSTITUTE:", kKeywordExpected, 21,
         "SUBSTITUTION_PATTERN:"},
        {"          01\n", "          0x\n", kUnexpectedChar, 25, "DATA"},
        {"    MASK:", "    MASKS:", kKeywordExpected, 28, "MASK:"},
        // A mask of another size than the plane.
        {"DIMENSION: (3,2)", "DIMENSION: (2,2)", kDimensionError, 30, "DIMENSION:"},
        {"          111\n", "          11\n", kUnexpectedChar, 33, "DATA"},
        {"      }\n  }\n", "      }\n", kUnexpectedEof, 35, ""},
        {"      }\n  }\n", "      }\n  ]\n", kKeywordExpected, 36, "}"},
    };
    for (const BrokenBlock& broken : kBroken) {
        ARuleElem read(nullptr, 0, 0);
        read.SetName("kept");
        read.CreateData();
        SetPatterns(read.GetData(), "1", "1");
        ExpectReadError(read, kRuleBlock, broken);
        EXPECT_STREQ(read.GetName(), "kept");
        EXPECT_EQ(read.GetInputPlaneWidth(0), 16);
        ASSERT_NE(read.GetData().GetSearch(), nullptr);
        EXPECT_EQ(PlaneText(*read.GetData().GetSearch()), "1");
        EXPECT_EQ(read.GetData().GetMask()->GetMask(), Matrix(16, 16, 1));
        // Read into given data, the data is kept whole as well.
        D_RuleElem into(3, 2);
        SetPatterns(into, "1", "1");
        into.GetMask()->GetMask() = PlaneFromText("010/101");
        ExpectReadError(read, kRuleBlock, broken, &into);
        ASSERT_NE(into.GetSearch(), nullptr);
        EXPECT_EQ(PlaneText(*into.GetSearch()), "1");
        EXPECT_EQ(PlaneText(*into.GetSubstitution()), "1");
        EXPECT_EQ(PlaneText(into.GetMask()->GetMask()), "010/101");
    }

    const BrokenBlock kBrokenUndefined[] = {
        {"    NOT_DEFINED\n  }\n", "    NOT_DEFINED\n", kUnexpectedEof, 13, ""},
        {"    NOT_DEFINED\n  }\n", "    NOT_DEFINED\n  ]\n", kKeywordExpected, 14, "}"},
    };
    for (const BrokenBlock& broken : kBrokenUndefined) {
        ARuleElem read(nullptr, 0, 0);
        read.CreateData();
        SetPatterns(read.GetData(), "1", "1");
        ExpectReadError(read, kUndefinedRuleBlock, broken);
        EXPECT_EQ(read.IsDefined(), 1);
    }
}
