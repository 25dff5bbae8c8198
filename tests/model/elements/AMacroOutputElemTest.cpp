#include "model/elements/AMacroOutputElem.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "model/data/Architecture.h"
#include "model/data/ClockList.h"
#include "model/data/Connection.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/FakeMacroHost.h"
#include "tests/model/elements/PlaneText.h"

namespace {

// A macro with two outputs, each feeding an element outside; the port stands for output 1.
class AMacroOutputElemFixture : public ::testing::Test {
protected:
    AMacroOutputElemFixture()
        : macro(1, 2), fed0(&outside, 400, 0), fed1(&outside, 400, 100), port(&macro, 0, 0) {
        ResetClocks();
        AElement::SetDefaultPlaneSize(4, 1);
        macro.SetPinCount(1, 2, 0);
        macro.SetOutputPlaneSize(0, 4, 1);
        macro.SetOutputPlaneSize(1, 4, 1);
        fed0.SetInputPlaneSize(0, 4, 1);
        fed1.SetInputPlaneSize(0, 4, 1);
        port.SetInputPlaneSize(0, 4, 1);
        outside.GetConnections().Add(new Connection(&outside, &macro, 3, &fed0, 2, 0));
        outside.GetConnections().Add(new Connection(&outside, &macro, 5, &fed1, 2, 0));
        port.SetNumber(1);
    }
    ~AMacroOutputElemFixture() override {
        while (outside.GetConnections().GetCount() > 0)
            delete outside.GetConnections()[0];
        AElement::SetDefaultPlaneSize(16, 16);
        GetClocks().Clear();
    }

    FakeElementUi ui;
    Architecture outside;
    AFakeMacro macro;
    ATestElem fed0;
    ATestElem fed1;
    AMacroOutputElem port;
};

using AMacroOutputElemBehaviour = AMacroOutputElemFixture;

} // namespace

TEST_F(AMacroOutputElemBehaviour, SetsItsMacroOutputAndTellsTheMacro) {
    *port.GetInputPlane(0) = PlaneFromText("0110");
    ui.now = 130;
    port.Simulate();
    EXPECT_EQ(PlaneText(*macro.GetOutputPlane(1)), "0110");
    EXPECT_EQ(PlaneText(*macro.GetOutputPlane(0)), "0000");
    EXPECT_EQ(port.GetLastSimulatedTime(), 130u);
    EXPECT_EQ(macro.changed, std::vector<int>{1});
}

TEST_F(AMacroOutputElemBehaviour, TheElementItsMacroOutputFeedsLatchesAtItsTime) {
    ui.now = 130;
    port.Simulate();
    port.Propagate();
    ASSERT_EQ(ui.scheduled.size(), 1u);
    EXPECT_EQ(ui.scheduled[0].first, 130u);
    EXPECT_EQ(ui.scheduled[0].second, &fed1);
    // A clocked element waits for its own tick.
    ui.scheduled.clear();
    fed1.SetClock(1);
    port.Propagate();
    EXPECT_TRUE(ui.scheduled.empty());
}

TEST_F(AMacroOutputElemBehaviour, AloneItSetsAndSchedulesNothing) {
    AMacroOutputElem alone(&outside, 0, 0);
    *alone.GetInputPlane(0) = Matrix(4, 1, 1);
    alone.Simulate();
    alone.Propagate();
    EXPECT_EQ(PlaneText(*macro.GetOutputPlane(0)), "0000");
    EXPECT_TRUE(ui.scheduled.empty());
    EXPECT_TRUE(macro.changed.empty());
}

TEST_F(AMacroOutputElemBehaviour, ANewPlaneSizeGoesToItsMacroOutput) {
    macro.OpenShowDataWindow(0);
    macro.OpenShowDataWindow(2);
    port.SetInputPlaneSize(0, 8, 4);
    port.DimensionChanged();
    // The macro's open show-data windows are built anew for the new plane.
    ASSERT_NE(macro.GetShowDataWindow(0), nullptr);
    ASSERT_NE(macro.GetShowDataWindow(2), nullptr);
    EXPECT_EQ(Fake(macro.GetShowDataWindow(0))->rebuilds, 1);
    EXPECT_EQ(Fake(macro.GetShowDataWindow(2))->rebuilds, 1);
    EXPECT_EQ(macro.GetOutputPlaneWidth(1), 8);
    EXPECT_EQ(macro.GetOutputPlaneHeight(1), 4);
    EXPECT_EQ(macro.GetOutputConnection(1), nullptr);
    EXPECT_EQ(fed1.GetInputConnection(0), nullptr);
    EXPECT_NE(macro.GetOutputConnection(0), nullptr);
}
