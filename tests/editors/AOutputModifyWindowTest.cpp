// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/AOutputModifyWindow.h"

#include "APlaneModifyWindowTest.h"
#include "model/data/Architecture.h"
#include "model/data/ClockList.h"
#include "model/data/Connection.h"
#include "model/elements/PinCode.h"
#include "toolkit/ReadInt.h"

namespace {

// An INPUT feeding an OUTPUT on one clock, both on an architecture, with the windows open.
class AOutputModifyWindowTest : public PlaneWindowTest {
protected:
    void SetUp() override {
        PlaneWindowTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_EQ(SetClock(0, 10, 0), 1);
        source = new AInputElem(&architecture, 0, 0);
        sink = new AOutputElem(&architecture, 100, 0);
        for (AIOElem* element : {static_cast<AIOElem*>(source), static_cast<AIOElem*>(sink)}) {
            element->SetInputPlaneSize(0, 3, 2);
            element->SetOutputPlaneSize(0, 3, 2);
            element->CreateData();
            architecture.GetElements().Add(element);
        }
        PlaneList planes(3, 2, 3);
        planes.SetXYPlane(PlaneFromText("100/000"), 0);
        planes.SetXYPlane(PlaneFromText("010/000"), 1);
        planes.SetXYPlane(PlaneFromText("111/001"), 2);
        source->GetStoredData().GetPlaneList() = planes;
        source->GetWorkingData().GetPlaneList() = planes;
        sink->GetData().GetPlaneList() = PlaneList(3, 2, 2);
        architecture.GetConnections().Add(
            new Connection(&architecture, source, OutputPinCode(0), sink, InputPinCode(0), 0));
    }
    void TearDown() override {
        while (architecture.GetElements().GetCount() > 0)
            delete architecture.GetElements()[0];
        ResetClocks();
        PlaneWindowTest::TearDown();
    }
    AOutputModifyWindow* OpenSink() {
        sink->OpenModifyWindow();
        Flush();
        return dynamic_cast<AOutputModifyWindow*>(sink->GetModifyWindow());
    }
    void ResetSimulation() {
        Ui().queue.Clear();
        architecture.ResetAll();
    }

    Architecture architecture;
    AInputElem* source = nullptr;
    AOutputElem* sink = nullptr;
};

bool SameStack(const D_IOElem& a, const D_IOElem& b) {
    if (a.GetPlaneList().GetCount() != b.GetPlaneList().GetCount()) return false;
    for (int k = 0; k < a.GetPlaneList().GetCount(); k++) {
        if (a.GetPlaneList().GetXYPlane(k) != b.GetPlaneList().GetXYPlane(k)) return false;
    }
    return true;
}

} // namespace

TEST_F(AOutputModifyWindowTest, ARunningSimulationRecordsAndShowsThePlanes) {
    AOutputModifyWindow* window = OpenSink();
    ASSERT_NE(window, nullptr);
    source->OpenModifyWindow();
    Flush();
    auto* sourceWindow = dynamic_cast<AInputModifyWindow*>(source->GetModifyWindow());
    ASSERT_NE(sourceWindow, nullptr);
    Enter(window->GetLineField(), 0);
    Choose(window, "West-East");

    ResetSimulation();
    std::vector<std::string> shown;
    for (SimTime until : {5u, 15u, 25u, 35u}) {
        Ui().queue.RunUntil(until);
        Flush();
        SCOPED_TRACE(until);
        // Both windows' stacks received what the elements' stacks did, and show it.
        EXPECT_TRUE(SameStack(window->GetStack(), sink->GetData()));
        EXPECT_TRUE(SameStack(sourceWindow->GetStack(), source->GetWorkingData()));
        EXPECT_EQ(window->GetShownPlane(), window->GetStack().GetPlaneList().GetXYPlane(0));
        shown.push_back(PlaneText(window->GetShownPlane()));
    }
    // Each step shows the plane recorded two computations before: the source's first plane
    // arrives with a delay and a step later is the sink's current plane.
    const std::vector<std::string> expected = {"000/000", "000/000", "000/000", "100/000"};
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(PlaneText(*sink->GetInputPlane(0)), "111/001");
    // The value on row 0, West-East: cell 0 alone. (The source's window covers this one.)
    source->CloseModifyWindow();
    Flush();
    EXPECT_EQ(FieldValue(window->GetValueField()), 1);
    EXPECT_GT(CellInk(window, 0, 0), 0);
    EXPECT_EQ(CellInk(window, 1, 0), 0);

    // An XZ view follows the recording as well.
    Choose(window, "XZ-Plane");
    Ui().queue.RunUntil(45);
    Flush();
    EXPECT_EQ(window->GetShownPlane(), sink->GetData().GetPlaneList().GetXZPlane(0));

    // A reset clears the stack, the window's with it.
    ResetSimulation();
    Flush();
    EXPECT_EQ(PlaneText(window->GetShownPlane()), "000/000");
    EXPECT_TRUE(SameStack(window->GetStack(), sink->GetData()));
    EXPECT_EQ(window->GetStack().GetPlaneList().GetCount(), 2);
}

TEST_F(AOutputModifyWindowTest, OkSetsTheDepth) {
    AOutputModifyWindow* window = OpenSink();
    ASSERT_NE(window, nullptr);
    Click(Button(window, " Add XY-Plane "));
    AnswerPlaneDialog(window, 2, 3);
    EXPECT_EQ(sink->GetData().GetPlaneList().GetCount(), 2);
    Click(Button(window, "OK"));
    EXPECT_EQ(sink->GetModifyWindow(), nullptr);
    EXPECT_EQ(sink->GetData().GetPlaneList().GetCount(), 5);
    EXPECT_TRUE(sink->IsModified());
}

TEST_F(AOutputModifyWindowTest, CancelAndWindowCloseKeepTheDepth) {
    for (int way = 0; way < 2; way++) {
        SCOPED_TRACE(way);
        AOutputModifyWindow* window = OpenSink();
        ASSERT_NE(window, nullptr);
        Click(Button(window, " Del XY-Plane "));
        AnswerPlaneDialog(window, 0, 1);
        EXPECT_EQ(window->GetStack().GetPlaneList().GetCount(), 1);
        if (way == 0) Click(Button(window, "Cancel"));
        if (way == 1) SendClose(window->GetShell());
        EXPECT_EQ(sink->GetModifyWindow(), nullptr);
        EXPECT_EQ(sink->GetData().GetPlaneList().GetCount(), 2);
        EXPECT_FALSE(sink->IsModified());
    }
}

TEST_F(AOutputModifyWindowTest, ANewDimensionClosesTheWindow) {
    AOutputModifyWindow* window = OpenSink();
    ASSERT_NE(window, nullptr);
    Widget shell = window->GetShell();
    AElement::DimensionDialogCallback(0, 5, 4, sink);
    Flush();
    EXPECT_EQ(sink->GetModifyWindow(), nullptr);
    EXPECT_FALSE(IsLivePopup(Editors().topLevel, shell));
    EXPECT_EQ(sink->GetData().GetPlaneList().GetWidth(), 5);
    EXPECT_EQ(sink->GetData().GetPlaneList().GetCount(), 1);
}
