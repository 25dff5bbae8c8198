#include "model/elements/AMaskElem.h"

#include <gtest/gtest.h>

#include <string>

#include "model/data/ClockList.h"
#include "tests/model/elements/BlockText.h"
#include "tests/model/elements/ElementFixture.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/PlaneText.h"

namespace {

// A MASK of 3 x 2 planes whose mask has row 1 "101" and row 0 "011", written at level 1.
const char* const kMaskBlock = R"(  TYPE: MASK
  INTERNAL_DATA {
    NAME:       MASK
    COMMENT:    
    INPUTS:     1
    OUTPUTS:    1
    INPUT_DIM:  (3,2)
    OUTPUT_DIM: (3,2)
    CLOCK:      0
    TIME:       0
  }
  LOGICAL_DATA {
    MASK:
      MATRIX {
        DIMENSION: (3,2)
        DATA {
          101
          011
        }
      }
  }
)";

class AMaskElemFixture : public ElementFixture {
protected:
    AMaskElemFixture() : mask(nullptr, 0, 0) {
        Resize(mask, 3, 2);
        mask.CreateData();
    }

    FakeElementUi ui;
    AMaskElem mask;
};

using AMaskElemBlock = AMaskElemFixture;
using AMaskElemStep = AMaskElemFixture;

} // namespace

TEST_F(AMaskElemStep, ANewMaskPassesItsInputAndAMaskAndsIt) {
    EXPECT_EQ(mask.GetClock(), 0);
    EXPECT_EQ(mask.GetTime(), 0u);
    EXPECT_EQ(mask.IsDefined(), 1);
    // 40 cells wide: two words a row, the second with padding.
    Resize(mask, 40, 2);
    mask.CreateData();
    const std::string in = "1011000000000000000000000000000011110000/"
                           "0000000000000000000000000000000100000001";
    *mask.GetInputPlane(0) = PlaneFromText(in);
    mask.Simulate();
    EXPECT_EQ(PlaneText(*mask.GetOutputPlane(0)), in);
    EXPECT_EQ(*mask.GetOutputPlane(0), PlaneFromText(in)); // padding included

    mask.GetData().GetMask() = PlaneFromText("0011111111111111111111111111111110101111/"
                                             "1111111111111111111111111111111111111110");
    mask.Simulate();
    EXPECT_EQ(PlaneText(*mask.GetOutputPlane(0)), "0011000000000000000000000000000010100000/"
                                                  "0000000000000000000000000000000100000000");
}

TEST_F(AMaskElemStep, ADimensionChangeDiscardsTheMaskAndItsEditor) {
    mask.GetData().GetMask().UnsetAll();
    mask.OpenModifyWindow();
    ASSERT_NE(mask.GetModifyWindow(), nullptr);
    Resize(mask, 5, 4);
    mask.DimensionChanged();
    EXPECT_EQ(mask.GetModifyWindow(), nullptr);
    EXPECT_EQ(mask.GetData().GetMask(), Matrix(5, 4, 1));
}

TEST_F(AMaskElemStep, ACopyHasAMaskOfItsOwn) {
    mask.GetData().GetMask().ClearBit(1, 1);
    AElement* copy = AElement::Clone(mask);
    mask.GetData().GetMask().ClearBit(0, 0);
    AMaskElem* maskCopy = dynamic_cast<AMaskElem*>(copy);
    ASSERT_NE(maskCopy, nullptr);
    EXPECT_EQ(PlaneText(maskCopy->GetData().GetMask()), "111/101");
    delete copy;
}

TEST_F(AMaskElemBlock, WritesTheMaskAloneUnderItsKeywordAndReadsItBack) {
    mask.GetData().GetMask() = PlaneFromText("011/101");
    EXPECT_EQ(WriteBlock(mask, 1), kMaskBlock);

    AMaskElem read(nullptr, 0, 0);
    EXPECT_EQ(ReadBlock(read, kMaskBlock), 0);
    EXPECT_EQ(read.GetInputPlaneWidth(0), 3);
    EXPECT_EQ(PlaneText(read.GetData().GetMask()), "011/101");
    EXPECT_EQ(WriteBlock(read, 1), kMaskBlock);
}

// The modify window edits a copy of the mask; a read that replaces the mask closes it, even when
// the size stays, so that no later OK writes the copy over the mask just read.
TEST_F(AMaskElemBlock, AReadOfTheSameSizeClosesTheModifyWindow) {
    mask.GetData().GetMask().UnsetAll();
    mask.OpenModifyWindow();
    ASSERT_NE(mask.GetModifyWindow(), nullptr);
    EXPECT_EQ(ReadBlock(mask, kMaskBlock), 0);
    EXPECT_EQ(mask.GetModifyWindow(), nullptr);
    EXPECT_EQ(ui.modifyRebuilds, 0);
    EXPECT_EQ(mask.GetInputPlaneWidth(0), 3);
    EXPECT_EQ(PlaneText(mask.GetData().GetMask()), "011/101");
    EXPECT_EQ(WriteBlock(mask, 1), kMaskBlock);
}

TEST_F(AMaskElemBlock, AFailedStreamRecordsAnIoError) {
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    ClearParseError();
    EXPECT_EQ(mask.Write(out, 0, nullptr), kIoError);
    EXPECT_EQ(GetParseError(), kIoError);
}

TEST_F(AMaskElemBlock, BrokenBlocksAreRefusedAndLeaveTheElementAsItWas) {
    const BrokenBlock kBroken[] = {
        {"LOGICAL_DATA {", "LOGICAL {", kKeywordExpected, 12, "LOGICAL_DATA"},
        {"    MASK:\n", "    MASKS:\n", kKeywordExpected, 13, "MASK:"},
        {"    MASK:\n", "\n", kKeywordExpected, 14, "MASK:"},
        // A mask of another size than the element's input plane.
        {"INPUT_DIM:  (3,2)", "INPUT_DIM:  (4,2)", kDimensionError, 15, "DIMENSION:"},
        {"          101", "          1x1", kUnexpectedChar, 17, "DATA"},
        {"          011\n", "          0110\n", kUnexpectedChar, 18, "DATA"},
        {"      }\n  }\n", "      }\n", kUnexpectedEof, 20, ""},
        {"  }\n  LOGICAL", "  LOGICAL", kKeywordExpected, 11, "}"},
    };
    for (const BrokenBlock& broken : kBroken) {
        AMaskElem read(nullptr, 0, 0);
        read.SetName("kept");
        read.CreateData();
        ExpectReadError(read, kMaskBlock, broken);
        EXPECT_STREQ(read.GetName(), "kept");
        EXPECT_EQ(read.GetData().GetMask(), Matrix(16, 16, 1));
    }
}
