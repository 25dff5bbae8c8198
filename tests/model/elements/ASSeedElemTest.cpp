#include "model/elements/ASSeedElem.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "model/data/ClockList.h"
#include "tests/model/elements/BlockText.h"
#include "tests/model/elements/ElementFixture.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/PlaneText.h"

namespace {

// A HORIZONTAL S-SEED of 2 x 3 planes, written at level 1.
const char* const kSSeedBlock = R"(  TYPE: S-SEED
  INTERNAL_DATA {
    NAME:       S-SEED
    COMMENT:    
    INPUTS:     1
    OUTPUTS:    1
    INPUT_DIM:  (2,3)
    OUTPUT_DIM: (2,3)
    CLOCK:      0
    TIME:       5
  }
  LOGICAL_DATA {
    ORIENTATION: HORIZONTAL
  }
)";

class ASSeedElemFixture : public ElementFixture {
protected:
    ASSeedElemFixture() : seed(nullptr, 0, 0) {
        Resize(seed, 2, 3);
        seed.CreateData();
    }

    // One computation on the given input (rows 0 first); the output as text.
    std::string Step(const char* in) {
        *seed.GetInputPlane(0) = PlaneFromText(in);
        seed.Simulate();
        return PlaneText(*seed.GetOutputPlane(0));
    }

    FakeElementUi ui;
    ASSeedElem seed;
};

using ASSeedElemStep = ASSeedElemFixture;
using ASSeedElemBlock = ASSeedElemFixture;

} // namespace

// Each step's output uses the states left by the step before: a pair that sees (a, b) = (0, 1)
// sets its first device and clears its second, (1, 0) the other way round, (1, 1) holds both and
// (0, 0) clears both.
TEST_F(ASSeedElemStep, VerticalPairsLatchOnOneSidedInputs) {
    EXPECT_EQ(seed.GetData().GetOrientation(), kSSeedVertical);
    EXPECT_EQ(seed.GetTime(), 5u);
    EXPECT_EQ(seed.IsDefined(), 1);
    // Pairs (x,0)-(x,1); row 2 belongs to no pair and stays 0. Column 0 sees (0,1), column 1
    // sees (1,0): nothing passes yet.
    EXPECT_EQ(Step("01/10/11"), "00/00/00");
    EXPECT_EQ(Step("11/11/11"), "10/01/00");
    EXPECT_EQ(Step("11/11/11"), "10/01/00");
    EXPECT_EQ(Step("00/00/11"), "00/00/00");
    EXPECT_EQ(Step("11/11/11"), "00/00/00");
    EXPECT_EQ(PlaneText(seed.GetData().GetState()), "00/00/00");
    // Padding bits of output and state stay 0.
    EXPECT_EQ(*seed.GetOutputPlane(0), Matrix(2, 3));
}

TEST_F(ASSeedElemStep, HorizontalPairsLeaveAnOddLastColumnEmpty) {
    Resize(seed, 3, 1);
    seed.DimensionChanged();
    seed.GetData().SetOrientation(kSSeedHorizontal);
    // Pair (0,0)-(1,0); column 2 belongs to no pair.
    EXPECT_EQ(Step("101"), "000");
    EXPECT_EQ(Step("111"), "010");
    EXPECT_EQ(Step("011"), "010");
    EXPECT_EQ(Step("111"), "100");
    EXPECT_EQ(Step("111"), "100");
    EXPECT_EQ(PlaneText(seed.GetData().GetState()), "100");

    // Any other orientation computes no pair: nothing passes and the states stay.
    seed.GetData().SetOrientation(7);
    EXPECT_EQ(Step("111"), "000");
    EXPECT_EQ(PlaneText(seed.GetData().GetState()), "100");
}

TEST_F(ASSeedElemStep, WidePlanesPairEveryColumnOfTwoRows) {
    Resize(seed, 40, 2);
    seed.DimensionChanged();
    const std::string ones(40, '1');
    std::string firstRow(40, '0'), secondRow(40, '1');
    firstRow[31] = firstRow[32] = '1';
    secondRow[31] = secondRow[32] = '0';
    // Columns 31 and 32 see (1,0), all others (0,1).
    Step((firstRow + "/" + secondRow).c_str());
    EXPECT_EQ(Step((ones + "/" + ones).c_str()), secondRow + "/" + firstRow);
    EXPECT_EQ(*seed.GetOutputPlane(0), PlaneFromText(secondRow + "/" + firstRow));
}

TEST_F(ASSeedElemStep, AResetClearsEveryState) {
    Step("01/10/11");
    seed.GetData().SetOrientation(kSSeedHorizontal);
    seed.Reset();
    EXPECT_EQ(PlaneText(seed.GetData().GetState()), "00/00/00");
    EXPECT_EQ(seed.GetData().GetOrientation(), kSSeedHorizontal);
    EXPECT_EQ(Step("11/11/11"), "00/00/00");
}

TEST_F(ASSeedElemStep, ADimensionChangeClearsStatesOrientationAndTheEditor) {
    Step("01/10/11");
    seed.GetData().SetOrientation(kSSeedHorizontal);
    seed.OpenModifyWindow();
    ASSERT_NE(seed.GetModifyWindow(), nullptr);
    Resize(seed, 4, 2);
    seed.DimensionChanged();
    EXPECT_EQ(seed.GetModifyWindow(), nullptr);
    EXPECT_EQ(seed.GetData().GetOrientation(), kSSeedVertical);
    EXPECT_EQ(seed.GetData().GetWidth(), 4);
    EXPECT_EQ(seed.GetData().GetHeight(), 2);
    EXPECT_EQ(seed.GetData().GetState(), Matrix(4, 2));
}

TEST_F(ASSeedElemStep, ACopyAndAnAssignmentTakeOrientationAndStates) {
    Step("01/10/11");
    seed.GetData().SetOrientation(kSSeedHorizontal);
    std::unique_ptr<AElement> copy(AElement::Clone(seed));
    seed.GetData().GetState().UnsetAll();
    ASSeedElem* seedCopy = dynamic_cast<ASSeedElem*>(copy.get());
    ASSERT_NE(seedCopy, nullptr);
    EXPECT_EQ(seedCopy->GetData().GetOrientation(), kSSeedHorizontal);
    EXPECT_EQ(PlaneText(seedCopy->GetData().GetState()), "10/01/00");

    D_SSeedElem assigned(7, 7);
    assigned = seedCopy->GetData();
    EXPECT_EQ(assigned.GetWidth(), 2);
    EXPECT_EQ(assigned.GetHeight(), 3);
    EXPECT_EQ(assigned.GetOrientation(), kSSeedHorizontal);
    EXPECT_EQ(PlaneText(assigned.GetState()), "10/01/00");
}

TEST_F(ASSeedElemBlock, WritesTheOrientationAloneAndReadsItBack) {
    seed.GetData().SetOrientation(kSSeedHorizontal);
    Step("01/10/11"); // states are never written
    EXPECT_EQ(WriteBlock(seed, 1), kSSeedBlock);

    ASSeedElem read(nullptr, 0, 0);
    EXPECT_EQ(ReadBlock(read, kSSeedBlock), 0);
    EXPECT_EQ(read.GetInputPlaneWidth(0), 2);
    EXPECT_EQ(read.GetData().GetOrientation(), kSSeedHorizontal);
    EXPECT_EQ(read.GetData().GetState(), Matrix(2, 3));
    EXPECT_EQ(WriteBlock(read, 1), kSSeedBlock);

    // VERTICAL for 0 and for any value but 1; the given data argument is not used.
    const std::string vertical = Broken(kSSeedBlock, {"HORIZONTAL", "VERTICAL", 0, 0, ""});
    D_SSeedElem ignored(2, 3);
    ignored.SetOrientation(kSSeedHorizontal);
    for (int32_t orientation : {0, 5, -1}) {
        SCOPED_TRACE(orientation);
        seed.GetData().SetOrientation(orientation);
        EXPECT_EQ(WriteBlock(seed, 1, &ignored), vertical);
    }
    EXPECT_EQ(ReadBlock(read, vertical, &ignored), 0);
    EXPECT_EQ(read.GetData().GetOrientation(), kSSeedVertical);
    EXPECT_EQ(ignored.GetOrientation(), kSSeedHorizontal);
}

TEST_F(ASSeedElemBlock, AFailedStreamRecordsAnIoError) {
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    ClearParseError();
    EXPECT_EQ(seed.Write(out, 0, nullptr), kIoError);
    EXPECT_EQ(GetParseError(), kIoError);
}

TEST_F(ASSeedElemBlock, BrokenBlocksAreRefusedAndLeaveTheElementAsItWas) {
    const BrokenBlock kBroken[] = {
        {"  LOGICAL_DATA {", "  LOGICAL {", kKeywordExpected, 12, "LOGICAL_DATA"},
        {"  LOGICAL_DATA {", "  LOGICAL_DATA", kKeywordExpected, 13, "{"},
        {"ORIENTATION: ", "ORIENTATION ", kKeywordExpected, 13, "ORIENTATION:"},
        {"HORIZONTAL", "SIDEWAYS", kUnexpectedChar, 13, "SIDEWAYS"},
        {"HORIZONTAL", "horizontal", kUnexpectedChar, 13, "horizontal"},
        {" HORIZONTAL", "", kUnexpectedChar, 13, "ORIENTATION:"},
        {"HORIZONTAL\n  }\n", "HORIZONTAL\n  ]\n", kKeywordExpected, 14, "}"},
        {"HORIZONTAL\n  }\n", "HORIZONTAL\n", kUnexpectedEof, 13, ""},
    };
    for (const BrokenBlock& broken : kBroken) {
        ASSeedElem read(nullptr, 0, 0);
        read.SetName("kept");
        read.CreateData();
        read.GetData().GetState().SetBit(3, 4, 1);
        ExpectReadError(read, kSSeedBlock, broken);
        EXPECT_STREQ(read.GetName(), "kept");
        EXPECT_EQ(read.GetInputPlaneWidth(0), 16);
        EXPECT_EQ(read.GetData().GetOrientation(), kSSeedVertical);
        EXPECT_EQ(read.GetData().GetState()(3, 4), 1);
    }
}
