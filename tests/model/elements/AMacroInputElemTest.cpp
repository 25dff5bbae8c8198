#include "model/elements/AMacroInputElem.h"

#include <gtest/gtest.h>

#include "model/data/Architecture.h"
#include "model/data/Connection.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/FakeMacroHost.h"
#include "tests/model/elements/PlaneText.h"

namespace {

// A macro with two inputs, each fed from outside.
class AMacroInputElemFixture : public ::testing::Test {
protected:
    AMacroInputElemFixture()
        : macro(2, 1), feeder0(&outside, 0, 0), feeder1(&outside, 0, 100), port(&macro, 0, 0) {
        for (AElement* feeder : {&feeder0, &feeder1}) {
            const int pin = feeder == &feeder0 ? 2 : 4;
            outside.GetConnections().Add(new Connection(&outside, feeder, 3, &macro, pin, 0));
        }
        port.SetNumber(1);
    }
    ~AMacroInputElemFixture() override {
        while (outside.GetConnections().GetCount() > 0)
            delete outside.GetConnections()[0];
    }

    FakeElementUi ui;
    Architecture outside;
    AFakeMacro macro;
    ATestElem feeder0;
    ATestElem feeder1;
    AMacroInputElem port;
};

using AMacroInputElemBehaviour = AMacroInputElemFixture;

} // namespace

TEST_F(AMacroInputElemBehaviour, ItsStepOnlyRecordsTheTime) {
    *port.GetOutputPlane(0) = PlaneFromText("1010");
    ui.now = 70;
    port.Simulate();
    EXPECT_EQ(port.GetLastSimulatedTime(), 70u);
    EXPECT_EQ(PlaneText(*port.GetOutputPlane(0)), "1010");
}

TEST_F(AMacroInputElemBehaviour, ANewPlaneSizeGoesToItsMacroInput) {
    port.SetOutputPlaneSize(0, 8, 4);
    port.DimensionChanged();
    EXPECT_EQ(macro.GetInputPlaneWidth(1), 8);
    EXPECT_EQ(macro.GetInputPlaneHeight(1), 4);
    // The wire outside no longer fits; the other input keeps its size and wire.
    EXPECT_EQ(macro.GetInputConnection(1), nullptr);
    EXPECT_EQ(feeder1.GetOutputConnection(0), nullptr);
    EXPECT_NE(macro.GetInputConnection(0), nullptr);
    EXPECT_EQ(macro.GetInputPlaneWidth(0), 16);
    EXPECT_EQ(outside.GetConnections().GetCount(), 1);
}

TEST_F(AMacroInputElemBehaviour, OutsideAMacroANewPlaneSizeStaysWithThePort) {
    AMacroInputElem alone(&outside, 0, 0);
    alone.SetOutputPlaneSize(0, 8, 4);
    alone.DimensionChanged();
    EXPECT_EQ(macro.GetInputPlaneWidth(0), 16);
    EXPECT_EQ(macro.GetInputPlaneWidth(1), 16);
    EXPECT_EQ(outside.GetConnections().GetCount(), 2);
}
