#include "model/elements/AInputElem.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "model/data/ClockList.h"
#include "tests/model/elements/BlockText.h"
#include "tests/model/elements/ElementFixture.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/PlaneText.h"

namespace {

// An INPUT of 3 x 1 planes whose stack holds "110" and "001", written at level 0.
const char* const kInputBlock = R"(TYPE: INPUT
INTERNAL_DATA {
  NAME:       INPUT
  COMMENT:    
  INPUTS:     1
  OUTPUTS:    1
  INPUT_DIM:  (3,1)
  OUTPUT_DIM: (3,1)
  CLOCK:      1
  TIME:       10
}
LOGICAL_DATA {
  XY_PLANE_DATA {
    NUMBER: 2
    PLANES {
      MATRIX {
        DIMENSION: (3,1)
        DATA {
          110
        }
      }
      MATRIX {
        DIMENSION: (3,1)
        DATA {
          001
        }
      }
    }
  }
}
)";

class AInputElemFixture : public ElementFixture {
protected:
    AInputElemFixture() : input(nullptr, 0, 0) {
        Resize(input, 3, 1);
        input.CreateData();
    }

    // Both stacks, position 0.
    void SetStack(std::initializer_list<const char*> planes) {
        PlaneList list(3, 1, static_cast<int>(planes.size()));
        int k = 0;
        for (const char* plane : planes)
            list.SetXYPlane(PlaneFromText(plane), k++);
        input.GetStoredData().GetPlaneList() = list;
        input.GetWorkingData().GetPlaneList() = list;
    }
    // One computation with the given plane at the input; the plane emitted.
    std::string Step(const char* arriving) {
        *input.GetInputPlane(0) = PlaneFromText(arriving);
        input.Simulate();
        return PlaneText(*input.GetOutputPlane(0));
    }
    static std::string Stack(const D_IOElem& data) {
        std::string text;
        for (int k = 0; k < data.GetPlaneList().GetCount(); k++)
            text += (k > 0 ? " " : "") + PlaneText(data.GetPlaneList().GetXYPlane(k));
        return text;
    }

    FakeElementUi ui;
    AInputElem input;
};

using AInputElemStep = AInputElemFixture;
using AInputElemBlock = AInputElemFixture;

} // namespace

TEST_F(AInputElemStep, EmitsItsStackThenWhatArrivedWhenItEmittedEachPlane) {
    EXPECT_EQ(input.GetClock(), 1);
    EXPECT_EQ(input.GetTime(), 10u);
    SetStack({"100", "010", "001"});
    const char* const kArriving[] = {"110", "011", "101", "000", "000", "000", "000"};
    const char* const kEmitted[] = {"100", "010", "001", "110", "011", "101", "000"};
    for (int i = 0; i < 7; i++)
        EXPECT_EQ(Step(kArriving[i]), kEmitted[i]) << i;
    // The stored stack is what a reset brings back.
    input.Reset();
    EXPECT_EQ(Stack(input.GetWorkingData()), "100 010 001");
    EXPECT_EQ(input.GetWorkingData().GetPlaneList().GetPosition(), 0);
}

TEST_F(AInputElemStep, WithoutADelayTheFirstPlaneIsAtTheOutputRightAfterAReset) {
    SetStack({"101", "010"});
    input.Reset();
    EXPECT_EQ(PlaneText(*input.GetOutputPlane(0)), "000");
    input.SetTime(0);
    input.Reset();
    EXPECT_EQ(PlaneText(*input.GetOutputPlane(0)), "101");
    EXPECT_EQ(input.GetWorkingData().GetPlaneList().GetPosition(), 0);

    // Without a stack there is nothing to emit: the output is cleared.
    AInputElem bare(nullptr, 0, 0);
    bare.GetOutputPlane(0)->SetAll();
    bare.EmitPlane(nullptr);
    EXPECT_EQ(*bare.GetOutputPlane(0), Matrix(16, 16));
}

TEST_F(AInputElemStep, AnUnconnectedInputEmptiesTheWorkingStackUntilTheNextReset) {
    SetStack({"101", "010"});
    input.Reset();
    EXPECT_EQ(Step("000"), "101");
    EXPECT_EQ(Step("000"), "010");
    EXPECT_EQ(Stack(input.GetWorkingData()), "000 000");
    EXPECT_EQ(Stack(input.GetStoredData()), "101 010");
    input.Reset();
    EXPECT_EQ(Stack(input.GetWorkingData()), "101 010");
}

TEST_F(AInputElemStep, AnOpenPlaneWindowFollowsEveryStepAndReset) {
    Step("111");
    input.Reset();
    EXPECT_EQ(ui.planeCalls, "");
    input.OpenModifyWindow();
    ASSERT_NE(input.GetModifyWindow(), nullptr);
    EXPECT_EQ(Fake(input.GetModifyWindow())->data, &input.GetWorkingData());
    Step("111");
    input.Reset();
    EXPECT_EQ(ui.planeCalls, "record show1 reload ");
}

// The plane window commits to the stored stack: it must still be there while the window closes
// with its element (AddressSanitizer reports a read of it after it has gone).
TEST_F(AInputElemStep, TheStoredStackOutlivesTheWindowsOfAnElementThatGoes) {
    auto* element = new AInputElem(nullptr, 0, 0);
    element->CreateData();
    element->OpenModifyWindow();
    ASSERT_NE(element->GetModifyWindow(), nullptr);
    // Taken before the element goes: once its destructor runs, no member of the INPUT type may
    // be called.
    D_InputElem* stored = &element->GetStoredData();
    int storedPlanes = -1;
    Fake(element->GetModifyWindow())->onClose = [&] {
        storedPlanes = stored->GetPlaneList().GetCount();
    };
    delete element;
    EXPECT_EQ(storedPlanes, 1);
}

TEST_F(AInputElemStep, ADimensionChangeLeavesOneEmptyPlaneInBothStacks) {
    SetStack({"101", "010"});
    input.OpenModifyWindow();
    input.SetInputPlaneSize(0, 5, 2);
    input.SetOutputPlaneSize(0, 5, 2);
    input.DimensionChanged();
    EXPECT_EQ(input.GetModifyWindow(), nullptr);
    for (const D_InputElem* data : {&input.GetWorkingData(), &input.GetStoredData()}) {
        EXPECT_EQ(data->GetPlaneList().GetCount(), 1);
        EXPECT_EQ(data->GetPlaneList().GetWidth(), 5);
        EXPECT_EQ(data->GetPlaneList().GetHeight(), 2);
        EXPECT_EQ(PlaneText(data->GetPlaneList().GetCurrentPlane()), "00000/00000");
    }
}

TEST_F(AInputElemStep, ViewSettingsSurviveACopyButNotAFile) {
    SetStack({"101", "010"});
    input.SetViewSettings({2, 1, 1, 2, 3, 4, 5, 6});
    AElement* copy = AElement::Clone(input);
    AInputElem* inputCopy = dynamic_cast<AInputElem*>(copy);
    ASSERT_NE(inputCopy, nullptr);
    EXPECT_EQ(inputCopy->GetViewSettings().offset, 6);
    EXPECT_EQ(inputCopy->GetViewSettings().view, 2);
    EXPECT_EQ(Stack(inputCopy->GetStoredData()), "101 010");
    input.GetStoredData().GetPlaneList().ClearAll();
    EXPECT_EQ(Stack(inputCopy->GetStoredData()), "101 010");
    delete copy;

    AInputElem read(nullptr, 0, 0);
    ASSERT_EQ(ReadBlock(read, WriteBlock(input, 0)), 0);
    EXPECT_EQ(read.GetViewSettings().offset, 0);
    EXPECT_EQ(read.GetViewSettings().view, 0);
}

TEST_F(AInputElemBlock, WritesTheStoredStackFromItsPositionAndReadsItIntoBoth) {
    SetStack({"001", "110"});
    input.GetStoredData().GetPlaneList().Push(
        PlaneFromText("001")); // position 1: written "110" first
    input.GetWorkingData().GetPlaneList().ClearAll();
    EXPECT_EQ(WriteBlock(input, 0), kInputBlock);

    AInputElem read(nullptr, 0, 0);
    EXPECT_EQ(ReadBlock(read, kInputBlock), 0);
    EXPECT_EQ(read.GetInputPlaneWidth(0), 3);
    EXPECT_EQ(Stack(read.GetStoredData()), "110 001");
    EXPECT_EQ(Stack(read.GetWorkingData()), "110 001");
    EXPECT_EQ(WriteBlock(read, 0), kInputBlock);
}

TEST_F(AInputElemBlock, ReadsIntoAGivenStackAndRefreshesTheOpenWindowWhateverTheOutcome) {
    SetStack({"111"});
    input.OpenModifyWindow();
    D_InputElem target(3, 1, 1);
    EXPECT_EQ(ReadBlock(input, kInputBlock, &target), 0);
    EXPECT_EQ(Stack(target), "110 001");
    EXPECT_EQ(Stack(input.GetStoredData()), "111");
    EXPECT_EQ(Stack(input.GetWorkingData()), "111");
    // The window's data stays the element's working stack.
    EXPECT_EQ(Fake(input.GetModifyWindow())->data, &input.GetWorkingData());
    EXPECT_EQ(WriteBlock(input, 0, &target), kInputBlock);

    std::string broken = Broken(kInputBlock, {"NUMBER: 2", "NUMBER: 0", 0, 0, ""});
    EXPECT_EQ(ReadBlock(input, broken, &target), kNotEnoughPlanes);
    EXPECT_EQ(Stack(target), "110 001");
    EXPECT_EQ(ui.modifyRebuilds, 2);
}

TEST_F(AInputElemBlock, BrokenBlocksAreRefusedAndLeaveTheElementAsItWas) {
    const BrokenBlock kBroken[] = {
        {"NUMBER: 2", "NUMBER: 0", kNotEnoughPlanes, 14, "NUMBER:"},
        {"NUMBER: 2", "NUMBER: 3", kKeywordExpected, 28, "MATRIX"},
        {"INPUT_DIM:  (3,1)", "INPUT_DIM:  (4,1)", kDimensionError, 17, "DIMENSION:"},
        {"  XY_PLANE_DATA", "  XY_PLANES", kKeywordExpected, 13, "XY_PLANE_DATA"},
        {"LOGICAL_DATA {", "LOGICAL_DATA", kKeywordExpected, 13, "{"},
        {"  }\n}\n", "  }\n", kUnexpectedEof, 29, ""},
        {"CLOCK:      1", "CLOCK:      2", kNumberOutOfRange, 9, "CLOCK:"},
    };
    SetStack({"111"});
    for (const BrokenBlock& broken : kBroken) {
        ExpectReadError(input, kInputBlock, broken);
        EXPECT_EQ(Stack(input.GetStoredData()), "111");
        EXPECT_EQ(Stack(input.GetWorkingData()), "111");
        EXPECT_EQ(input.GetInputPlaneWidth(0), 3);
    }
}
