#include "model/elements/AElement.h"

#include <gtest/gtest.h>

#include <string>

#include "model/data/ClockList.h"
#include "model/data/Connection.h"
#include "model/elements/ElementType.h"
#include "model/elements/PinCode.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/TestElement.h"

namespace {

// Elements on one architecture with the recording window side installed.
class AElementFixture : public ::testing::Test {
protected:
    AElementFixture() {
        ResetClocks();
        AElement::SetDefaultPlaneSize(16, 16);
    }
    ~AElementFixture() override {
        while (architecture.GetElements().GetCount() > 0)
            delete architecture.GetElements()[0];
        GetClocks().Clear();
    }

    ATestElem* Add(int x, int y, uint32_t type = kMask, int inputs = 1, int outputs = 1) {
        ATestElem* element = new ATestElem(&architecture, x, y, type, inputs, outputs);
        architecture.GetElements().Add(element);
        return element;
    }
    Connection* Connect(AElement* from, int output, AElement* to, int input) {
        Connection* wire =
            new Connection(&architecture, from, OutputPinCode(output), to, InputPinCode(input), 0);
        architecture.GetConnections().Add(wire);
        return wire;
    }

    FakeElementUi ui;
    Architecture architecture;
};

using AElementBase = AElementFixture;

} // namespace

TEST_F(AElementBase, NewElementsTakeTheirTypesNameTimeAndWindowSize) {
    struct Case {
        uint32_t type;
        uint32_t time;
        int windowWidth, windowHeight;
    };
    const Case kCases[] = {{kMask, 0, 303, 462},   {kLogic, 20, 404, 539},  {kSSeed, 5, 0, 0},
                           {kInput, 10, 424, 591}, {kOutput, 10, 424, 591}, {kCElem, 10, 502, 602},
                           {kSplit, 0, 0, 0}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.type);
        ATestElem element(nullptr, 5, 6, c.type);
        EXPECT_STREQ(element.GetName(), GetTypeName(c.type));
        EXPECT_STREQ(element.GetComment(), "");
        EXPECT_EQ(element.GetTime(), c.time);
        EXPECT_EQ(element.GetClock(), 0);
        EXPECT_EQ(element.GetLastSimulatedTime(), kNeverSimulated);
        int width, height;
        element.GetModifyWindowSize(width, height);
        EXPECT_EQ(width, c.windowWidth);
        EXPECT_EQ(height, c.windowHeight);
        EXPECT_EQ(element.GetModifyWindowZoom(), 100);
        EXPECT_EQ(element.GetInputPlaneWidth(0), 16);
        EXPECT_EQ(element.GetOutputPlaneHeight(0), 16);
        EXPECT_EQ(element.HasOwnIcon(), 0);
    }
}

TEST_F(AElementBase, TheDefaultTimesOfTheSettingsReachNewElements) {
    SetDefaultTime(kMask, 33);
    ATestElem element(nullptr, 0, 0);
    ResetDefaultTimes();
    EXPECT_EQ(element.GetTime(), 33u);
}

TEST_F(AElementBase, SetPinCountKeepsTheRemainingPinsAndSizesTheNewOnes) {
    ATestElem* source = Add(0, 0);
    ATestElem* element = Add(200, 0, kJoin, 1, 1);
    source->SetOutputPlaneSize(0, 20, 10);
    element->SetInputPlaneSize(0, 20, 10);
    element->GetInputPlane(0)->SetBit(3, 4, 1);
    Connection* wire = Connect(source, 0, element, 0);

    ASSERT_EQ(element->SetPinCount(3, 1, 0), 1);
    EXPECT_EQ(element->GetInputCount(), 3);
    EXPECT_EQ(element->GetInputConnection(0), wire);
    EXPECT_EQ((*element->GetInputPlane(0))(3, 4), 1);
    for (int i = 1; i < 3; i++) {
        EXPECT_EQ(element->GetInputPlaneWidth(i), 20);
        EXPECT_EQ(element->GetInputPlaneHeight(i), 10);
        EXPECT_EQ(element->GetInputConnection(i), nullptr);
    }
    EXPECT_EQ(element->GetHeight(), 60);
    EXPECT_EQ(element->HasOwnIcon(), 1);

    ASSERT_EQ(element->SetPinCount(1, 1, 0), 1);
    EXPECT_EQ(element->HasOwnIcon(), 0);
    EXPECT_EQ(element->GetHeight(), 30);
    EXPECT_EQ(element->GetInputConnection(0), wire);
    ASSERT_EQ(element->SetPinCount(0, 1, 0), 0); // below the type's limits
    ASSERT_EQ(source->SetPinCount(1, 0, 0), 0);
}

TEST_F(AElementBase, SetPinCountDropsThePinsAboveTheNewCounts) {
    ATestElem* split = Add(0, 0, kSplit, 1, 3);
    ATestElem* target = Add(200, 0);
    Connect(split, 2, target, 0);
    split->OpenShowDataWindow(3);
    ASSERT_EQ(split->SetPinCount(1, 2, 1), 1);
    EXPECT_EQ(target->GetInputConnection(0), nullptr);
    EXPECT_EQ(architecture.GetConnections().GetCount(), 0);
    EXPECT_EQ(split->GetShowDataWindow(3), nullptr);
    EXPECT_EQ(FakeView::liveShowData, 0);
    ASSERT_EQ(ui.redraws.size(), 1u);
    EXPECT_EQ(ui.redraws[0].clear, 1);
    EXPECT_EQ(ui.redraws[0].x2, 60);
    EXPECT_EQ(ui.redraws[0].y2, 60); // the larger of the old and the new height
}

TEST_F(AElementBase, SetPinCountRefusesToReachIntoANeighbour) {
    ATestElem* element = Add(0, 0, kJoin, 1, 1);
    ATestElem* below = Add(0, 50);
    Connect(element, 0, below, 0);
    EXPECT_EQ(element->SetPinCount(3, 1, 1), 0);
    EXPECT_EQ(element->GetInputCount(), 1);
    EXPECT_EQ(element->GetHeight(), 30);
    EXPECT_NE(element->GetOutputConnection(0), nullptr);
    EXPECT_TRUE(ui.redraws.empty());
    EXPECT_EQ(element->SetPinCount(2, 1, 0), 1); // 45 pixels high: still clear of it
}

TEST_F(AElementBase, RenamingGivesAnOwnIconAndTheTypeNameTakesItBack) {
    ATestElem* element = Add(0, 0);
    element->SetName("Filter");
    element->UpdateIcon();
    EXPECT_EQ(element->HasOwnIcon(), 1);
    element->SetName("MASK");
    element->UpdateIcon();
    EXPECT_EQ(element->HasOwnIcon(), 0);
}

TEST_F(AElementBase, TheDimensionDialogAsksBeforeItChangesAnything) {
    ATestElem* source = Add(0, 0);
    ATestElem* element = Add(200, 0);
    element->SetInputPlaneSize(0, 12, 8);
    source->SetOutputPlaneSize(0, 12, 8);
    Connect(source, 0, element, 0);
    element->OpenShowDataWindow(0);

    element->OpenDimensionDialog();
    element->OpenDimensionDialog();
    ASSERT_EQ(ui.dialogs.size(), 1u);
    FakeView* dialog = ui.dialogs[0];
    EXPECT_EQ(dialog->title, "Change Dimension");
    EXPECT_EQ(dialog->value1, 12);
    EXPECT_EQ(dialog->value2, 8);
    EXPECT_EQ(dialog->min1, 1);
    EXPECT_EQ(dialog->max2, 65536);

    ui.answer = kResultNo;
    ui.AnswerDialog(0, 4, 5);
    EXPECT_EQ(element->GetDimensionDialog(), nullptr);
    EXPECT_EQ(element->GetInputPlaneWidth(0), 12);
    EXPECT_NE(element->GetInputConnection(0), nullptr);
    EXPECT_EQ(element->dimensionChanges, 0);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0], "Warning|All data of the element will be lost!\nContinue?");

    element->OpenDimensionDialog();
    ui.AnswerDialog(1, 0, 0);
    EXPECT_EQ(ui.questions.size(), 1u); // Cancel asks nothing
    EXPECT_EQ(element->GetDimensionDialog(), nullptr);

    element->OpenDimensionDialog();
    ui.answer = kResultYes;
    ui.AnswerDialog(0, 4, 5);
    EXPECT_EQ(element->GetInputPlaneWidth(0), 4);
    EXPECT_EQ(element->GetOutputPlaneHeight(0), 5);
    EXPECT_EQ(element->GetInputConnection(0), nullptr);
    EXPECT_EQ(architecture.GetConnections().GetCount(), 0);
    EXPECT_EQ(element->dimensionChanges, 1);
    EXPECT_EQ(Fake(element->GetShowDataWindow(0))->refreshes, 1);
}

TEST_F(AElementBase, ShowDataWindowsAreOpenedOncePerSlot) {
    ATestElem* element = Add(0, 0, kSplit, 1, 2);
    element->OpenShowDataWindow(0);
    element->OpenShowDataWindow(0);
    EXPECT_EQ(FakeView::liveShowData, 1);
    EXPECT_EQ(Fake(element->GetShowDataWindow(0))->popups, 1);
    element->OpenShowDataWindow(3); // beyond the outputs
    element->OpenShowDataWindow(-1);
    EXPECT_EQ(FakeView::liveShowData, 1);
    element->OpenShowDataWindow(2);
    EXPECT_EQ(FakeView::liveShowData, 2);
    element->RedrawShowDataWindows();
    EXPECT_EQ(Fake(element->GetShowDataWindow(2))->rebuilds, 1);
    element->CloseShowDataWindow(0);
    EXPECT_EQ(element->GetShowDataWindow(0), nullptr);
    EXPECT_EQ(FakeView::liveShowData, 1);

    ATestElem noOutputs(nullptr, 0, 0, kMacroOutput, 1, 0);
    noOutputs.OpenShowDataWindow(0);
    EXPECT_EQ(FakeView::liveShowData, 1);
}

TEST_F(AElementBase, ARemovedOutputClosesItsWindowAndTheOnesAboveMoveDownASlot) {
    struct Case {
        int removed;
        int slots[3]; // the window each slot holds afterwards, by the slot it had before
    };
    const Case kCases[] = {{0, {0, 2, 3}}, {1, {0, 1, 3}}, {2, {0, 1, 2}}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.removed);
        ATestElem* element = Add(0, 0, kSplit, 1, 3);
        ElementView* before[4];
        for (int k = 0; k <= 3; k++) {
            element->OpenShowDataWindow(k);
            before[k] = element->GetShowDataWindow(k);
        }
        element->RemovePin(OutputPinCode(c.removed));
        ASSERT_EQ(element->GetOutputCount(), 2);
        EXPECT_EQ(FakeView::liveShowData, 3);
        for (int k = 0; k <= 2; k++) {
            EXPECT_EQ(element->GetShowDataWindow(k), before[c.slots[k]]) << k;
            EXPECT_EQ(Fake(element->GetShowDataWindow(k))->index, k);
        }
        // A moved window that goes by itself clears the slot it is in now.
        delete element->GetShowDataWindow(2);
        EXPECT_EQ(element->GetShowDataWindow(2), nullptr);
        EXPECT_NE(element->GetShowDataWindow(1), nullptr);
        delete element;
        EXPECT_EQ(FakeView::liveShowData, 0);
    }
}

TEST_F(AElementBase, DeletingAnElementClosesItsWindowsFirstAndLeavesNoTrace) {
    ATestElem* element = Add(0, 0, kSplit, 1, 2);
    ATestElem* other = Add(200, 0);
    element->CreateData();
    element->OpenModifyWindow();
    element->OpenShowDataWindow(2); // the last output's window
    element->OpenSetNameDialog();
    element->OpenDimensionDialog();
    Connect(other, 0, element, 0);
    ASSERT_NE(element->GetModifyWindow(), nullptr);
    ASSERT_NE(element->GetSetNameDialog(), nullptr);

    delete element;
    EXPECT_EQ(FakeView::liveShowData, 0);
    EXPECT_EQ(ui.deletedDialogs, 1);
    EXPECT_TRUE(ui.dialogs.empty());
    EXPECT_EQ(architecture.GetElements().GetCount(), 1);
    EXPECT_EQ(architecture.GetConnections().GetCount(), 0);
    EXPECT_EQ(other->GetOutputConnection(0), nullptr);
    ASSERT_EQ(ui.removed.size(), 1u);
    EXPECT_EQ(ui.removed[0], element);
}

TEST_F(AElementBase, TheModifyWindowIsRaisedNotDoubledAndRefreshedAfterARead) {
    ATestElem* element = Add(0, 0);
    element->CreateData();
    element->OpenModifyWindow();
    FakeView* window = Fake(element->GetModifyWindow());
    element->OpenModifyWindow();
    EXPECT_EQ(element->GetModifyWindow(), window);
    EXPECT_EQ(window->popups, 1);
    element->RefreshAfterRead();
    EXPECT_EQ(window->refreshes, 1);
    element->CloseModifyWindow();
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
}

TEST_F(AElementBase, CloneCopiesAllButConnectionsWindowsAndFlags) {
    ATestElem* element = Add(30, 40);
    ATestElem* other = Add(200, 0);
    element->SetName("Name");
    element->SetComment("Comment");
    element->SetTime(7);
    element->SetClock(1);
    element->SetOutputPlaneSize(0, 5, 3);
    element->GetOutputPlane(0)->SetBit(4, 2, 1);
    element->SetModified();
    element->Mark();
    element->CreateData();
    element->data->value = 42;
    element->OpenShowDataWindow(0);
    Connect(element, 0, other, 0);

    AElement* copy = AElement::Clone(*element);
    ASSERT_NE(copy, element);
    EXPECT_STREQ(copy->GetName(), "Name");
    EXPECT_STREQ(copy->GetComment(), "Comment");
    EXPECT_EQ(copy->GetTime(), 7u);
    EXPECT_EQ(copy->GetClock(), 1);
    EXPECT_EQ(copy->GetX(), 30);
    EXPECT_EQ((*copy->GetOutputPlane(0))(4, 2), 1);
    EXPECT_NE(copy->GetOutputPlane(0), element->GetOutputPlane(0));
    EXPECT_EQ(copy->GetOutputConnection(0), nullptr);
    EXPECT_EQ(copy->GetShowDataWindow(0), nullptr);
    EXPECT_EQ(copy->IsModified(), 0);
    EXPECT_EQ(copy->IsMarked(), 0);
    EXPECT_EQ(copy->HasOwnIcon(), 1);
    EXPECT_EQ(static_cast<ATestElem*>(copy)->data->value, 42);
    delete copy;

    ATestElem help(nullptr, 0, 0, kHelpElement);
    EXPECT_EQ(AElement::Clone(help), &help);
}

TEST_F(AElementBase, SimulationLatchesComputesAndRecordsTheTime) {
    ATestElem* source = Add(0, 0);
    ATestElem* element = Add(200, 0);
    Connect(source, 0, element, 0);
    source->GetOutputPlane(0)->SetBit(2, 2, 1);
    element->OpenShowDataWindow(0);

    element->LatchInputs();
    EXPECT_EQ((*element->GetInputPlane(0))(2, 2), 1);
    ui.now = 40;
    element->Simulate();
    EXPECT_EQ((*element->GetOutputPlane(0))(2, 2), 1);
    EXPECT_EQ(element->GetLastSimulatedTime(), 40u);
    EXPECT_EQ(Fake(element->GetShowDataWindow(0))->refreshes, 1);
    ui.now = 39; // after a reset the time lies behind it
    EXPECT_EQ(element->GetLastSimulatedTime(), kNeverSimulated);
}

TEST_F(AElementBase, PropagateSchedulesUnclockedSuccessorsAndTheNextTick) {
    GetClocks().Clear();
    AddClock(100, 20);
    ATestElem* element = Add(0, 0, kSplit, 1, 2);
    ATestElem* unclocked = Add(200, 0);
    ATestElem* clocked = Add(200, 100);
    clocked->SetClock(1);
    Connect(element, 0, unclocked, 0);
    Connect(element, 1, clocked, 0);

    ui.now = 30;
    element->Simulate();
    element->Propagate();
    ASSERT_EQ(ui.scheduled.size(), 1u);
    EXPECT_EQ(ui.scheduled[0].first, 30u);
    EXPECT_EQ(ui.scheduled[0].second, unclocked);

    struct Case {
        uint32_t time;
        SimTime now, next;
    };
    // Latched at 20 and computed TIME later; the next latch is the first tick not before now.
    const Case kCases[] = {
        {10, 30, 120}, {0, 20, 120}, {99, 119, 120}, {100, 120, 120}, {250, 270, 320}};
    element->SetClock(1);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.time);
        ui.scheduled.clear();
        element->SetTime(c.time);
        ui.now = c.now;
        element->Simulate();
        element->Propagate();
        ASSERT_EQ(ui.scheduled.size(), 2u);
        EXPECT_EQ(ui.scheduled[1].first, c.next);
        EXPECT_EQ(ui.scheduled[1].second, element);
    }
}

TEST_F(AElementBase, ResetClearsPlanesAndSchedulesTheClockOffset) {
    GetClocks().Clear();
    AddClock(100, 0);
    AddClock(50, 25);
    ATestElem* element = Add(0, 0);
    element->SetClock(2);
    element->GetInputPlane(0)->SetBit(0, 0, 1);
    element->GetOutputPlane(0)->SetBit(1, 0, 1);
    element->OpenShowDataWindow(1);
    element->Reset();
    EXPECT_EQ((*element->GetInputPlane(0))(0, 0), 0);
    EXPECT_EQ((*element->GetOutputPlane(0))(1, 0), 0);
    ASSERT_EQ(ui.scheduled.size(), 1u);
    EXPECT_EQ(ui.scheduled[0].first, 25u);
    EXPECT_EQ(element->resets, 1);
    EXPECT_EQ(Fake(element->GetShowDataWindow(1))->refreshes, 1);

    element->SetClock(0);
    element->Reset();
    EXPECT_EQ(ui.scheduled.size(), 1u);
}

TEST_F(AElementBase, TheNameDialogIsOpenedOnce) {
    ATestElem* element = Add(0, 0);
    element->OpenSetNameDialog();
    ElementView* dialog = element->GetSetNameDialog();
    ASSERT_NE(dialog, nullptr);
    element->OpenSetNameDialog();
    EXPECT_EQ(element->GetSetNameDialog(), dialog);
    delete dialog;
    EXPECT_EQ(element->GetSetNameDialog(), nullptr);
}

TEST_F(AElementBase, ReplaceClockIfAnswersTheOldNumber) {
    ATestElem* element = Add(0, 0);
    element->SetClock(2);
    EXPECT_EQ(element->ReplaceClockIf(3, 1), 2);
    EXPECT_EQ(element->GetClock(), 2);
    EXPECT_EQ(element->ReplaceClockIf(2, 1), 2);
    EXPECT_EQ(element->GetClock(), 1);
}
