#include "model/elements/AOutputElem.h"

#include <gtest/gtest.h>

#include <string>

#include "model/data/ClockList.h"
#include "tests/model/elements/BlockText.h"
#include "tests/model/elements/ElementFixture.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/PlaneText.h"

namespace {

const char* const kOutputBlock = R"(TYPE: OUTPUT
INTERNAL_DATA {
  NAME:       OUTPUT
  COMMENT:    
  INPUTS:     1
  OUTPUTS:    1
  INPUT_DIM:  (3,1)
  OUTPUT_DIM: (3,1)
  CLOCK:      1
  TIME:       10
}
LOGICAL_DATA {
  NUMBER_PLANES: 4
}
)";

class AOutputElemFixture : public ElementFixture {
protected:
    AOutputElemFixture() : output(nullptr, 0, 0) {
        Resize(output, 3, 1);
        output.CreateData();
    }

    void SetDepth(int depth) { output.GetData().GetPlaneList() = PlaneList(3, 1, depth); }
    // One computation with the given plane at the input; the plane emitted.
    std::string Step(const char* arriving) {
        *output.GetInputPlane(0) = PlaneFromText(arriving);
        output.Simulate();
        return PlaneText(*output.GetOutputPlane(0));
    }

    FakeElementUi ui;
    AOutputElem output;
};

using AOutputElemStep = AOutputElemFixture;
using AOutputElemBlock = AOutputElemFixture;

} // namespace

TEST_F(AOutputElemStep, PassesOnWhatArrivedDepthComputationsEarlier) {
    EXPECT_EQ(output.GetClock(), 1);
    EXPECT_EQ(output.GetTime(), 10u);
    struct Case {
        int depth;
        const char* emitted[5];
    };
    const char* const kArriving[5] = {"100", "010", "001", "110", "011"};
    const Case kCases[] = {
        {1, {"000", "100", "010", "001", "110"}},
        {3, {"000", "000", "000", "100", "010"}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.depth);
        SetDepth(c.depth);
        for (int i = 0; i < 5; i++)
            EXPECT_EQ(Step(kArriving[i]), c.emitted[i]) << i;
    }
}

TEST_F(AOutputElemStep, AResetClearsTheRecordedPlanesAndKeepsTheDepth) {
    SetDepth(2);
    output.SetTime(0);
    Step("111");
    Step("101");
    output.OpenModifyWindow();
    output.Reset();
    EXPECT_EQ(output.GetData().GetPlaneList().GetCount(), 2);
    for (int k = 0; k < 2; k++)
        EXPECT_EQ(PlaneText(output.GetData().GetPlaneList().GetXYPlane(k)), "000");
    EXPECT_EQ(PlaneText(*output.GetOutputPlane(0)), "000");
    EXPECT_EQ(ui.planeCalls, "reload ");
    EXPECT_EQ(Step("011"), "000");
    EXPECT_EQ(ui.planeCalls, "reload record show1 ");
}

TEST_F(AOutputElemStep, ADimensionChangeSetsTheDepthBackToOne) {
    SetDepth(4);
    output.SetInputPlaneSize(0, 2, 2);
    output.DimensionChanged();
    EXPECT_EQ(output.GetData().GetPlaneList().GetCount(), 1);
    EXPECT_EQ(output.GetData().GetPlaneList().GetWidth(), 2);
    EXPECT_EQ(output.GetData().GetPlaneList().GetHeight(), 2);
}

TEST_F(AOutputElemBlock, WritesOnlyTheDepthAndReadsBackEmptyPlanes) {
    SetDepth(4);
    Step("111");
    EXPECT_EQ(WriteBlock(output, 0), kOutputBlock);

    AOutputElem read(nullptr, 0, 0);
    EXPECT_EQ(ReadBlock(read, kOutputBlock), 0);
    EXPECT_EQ(read.GetData().GetPlaneList().GetCount(), 4);
    EXPECT_EQ(read.GetData().GetPlaneList().GetWidth(), 3);
    for (int k = 0; k < 4; k++)
        EXPECT_EQ(PlaneText(read.GetData().GetPlaneList().GetXYPlane(k)), "000");
    EXPECT_EQ(WriteBlock(read, 0), kOutputBlock);

    // Into a stack of the caller's; the element's own stays.
    D_OutputElem target(3, 1, 1);
    output.OpenModifyWindow();
    EXPECT_EQ(ReadBlock(output, kOutputBlock, &target), 0);
    EXPECT_EQ(target.GetPlaneList().GetCount(), 4);
    EXPECT_EQ(output.GetData().GetPlaneList().GetCount(), 4);
    SetDepth(2);
    EXPECT_EQ(ReadBlock(output, kOutputBlock, &target), 0);
    EXPECT_EQ(output.GetData().GetPlaneList().GetCount(), 2);
    EXPECT_EQ(ui.modifyRebuilds, 2);
    EXPECT_EQ(WriteBlock(output, 0, &target), kOutputBlock);
}

TEST_F(AOutputElemBlock, BrokenBlocksAreRefusedAndLeaveTheDepth) {
    const BrokenBlock kBroken[] = {
        {"NUMBER_PLANES: 4", "NUMBER_PLANES: 0", kOutputNotEnoughPlanes, 13, "NUMBER_PLANES:"},
        {"NUMBER_PLANES: 4", "NUMBER_PLANES: -3", kOutputNotEnoughPlanes, 13, "NUMBER_PLANES:"},
        {"NUMBER_PLANES: 4", "NUMBER_PLANES: x", kUnexpectedChar, 13, "NUMBER_PLANES:"},
        {"NUMBER_PLANES: 4", "NUMBER_PLANES:", kUnexpectedEol, 13, "NUMBER_PLANES:"},
        {"NUMBER_PLANES: 4", "NUMBER_PLANES: 2000000", kNumberOutOfRange, 13, "NUMBER_PLANES:"},
        {"NUMBER_PLANES: 4", "PLANES: 4", kKeywordExpected, 13, "NUMBER_PLANES:"},
        {"NUMBER_PLANES: 4", "NUMBER_PLANES: 4x", kKeywordExpected, 13, "}"},
        {"4\n}\n", "4\n", kUnexpectedEof, 13, ""},
    };
    SetDepth(3);
    for (const BrokenBlock& broken : kBroken) {
        ExpectReadError(output, kOutputBlock, broken);
        EXPECT_EQ(output.GetData().GetPlaneList().GetCount(), 3);
    }
}
