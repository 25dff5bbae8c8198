#include "model/elements/AMacroPortElem.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/data/ClockList.h"
#include "model/elements/AMacroInputElem.h"
#include "model/elements/AMacroOutputElem.h"
#include "model/elements/ElementType.h"
#include "tests/model/elements/BlockText.h"
#include "tests/model/elements/ElementFixture.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/FakeMacroHost.h"

namespace {

// Level 1, as inside an architecture body's element list.
const char* const kInputBlock = R"(  TYPE: MACRO_INPUT
  INTERNAL_DATA {
    NAME:       MACRO_INPUT
    COMMENT:    from the left
    INPUTS:     0
    OUTPUTS:    1
    INPUT_DIM:  (-,-)
    OUTPUT_DIM: (4,2)
    CLOCK:      0
    TIME:       0
  }
  LOGICAL_DATA {
    INPUT_NR: 1
  }
)";

const char* const kOutputBlock = R"(  TYPE: MACRO_OUTPUT
  INTERNAL_DATA {
    NAME:       MACRO_OUTPUT
    COMMENT:    to the right
    INPUTS:     1
    OUTPUTS:    0
    INPUT_DIM:  (4,2)
    OUTPUT_DIM: (-,-)
    CLOCK:      0
    TIME:       0
  }
  LOGICAL_DATA {
    OUTPUT_NR: 1
  }
)";

std::unique_ptr<AMacroPortElem> NewPort(uint32_t type, Architecture* owner) {
    if (type == kMacroInput) return std::make_unique<AMacroInputElem>(owner, 0, 0);
    return std::make_unique<AMacroOutputElem>(owner, 0, 0);
}

class AMacroPortElemFixture : public ElementFixture {
protected:
    FakeElementUi ui;
};

using AMacroPortElemBehaviour = AMacroPortElemFixture;

} // namespace

TEST(AMacroPortElem, TheNumberIsCentredBesideThePinBox) {
    struct Case {
        uint32_t type;
        int textWidth;
        int x;
    };
    // The port is 25 wide: a 10-pixel "10" of a MACRO_INPUT is centred at 9, 3 pixels left of the
    // centre; a MACRO_OUTPUT's number sits 6 pixels further right, beside its box on the left.
    const Case cases[] = {
        {kMacroInput, 10, 4}, {kMacroOutput, 10, 10}, {kMacroInput, 5, 7}, {kMacroOutput, 5, 13}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.textWidth);
        EXPECT_EQ(PortLabelX(c.type, 25, c.textWidth), c.x);
    }
    EXPECT_EQ(PortLabelY(18, 9), 13);
    EXPECT_EQ(PortLabelY(18, 0), 9);
}

TEST_F(AMacroPortElemBehaviour, IsASmallIconWithItsOnePinHigherUp) {
    AMacroInputElem input(nullptr, 100, 40);
    AMacroOutputElem output(nullptr, 100, 40);
    EXPECT_STREQ(input.GetName(), "MACRO_INPUT");
    EXPECT_EQ(input.GetWidth(), 25);
    EXPECT_EQ(input.GetHeight(), 18);
    EXPECT_EQ(input.GetInputCount(), 0);
    EXPECT_EQ(output.GetOutputCount(), 0);
    EXPECT_EQ(input.GetNumber(), 0);
    EXPECT_STREQ(input.GetLabelText(), "");
    // The pin boxes lie 5 pixels below the top; the wire ends level with their middle.
    int px = 0, py = 0;
    EXPECT_EQ(input.GetPinPosition(3, px, py), 0);
    EXPECT_EQ(px, 126);
    EXPECT_EQ(py, 49);
    EXPECT_EQ(output.GetPinPosition(2, px, py), 0);
    EXPECT_EQ(px, 99);
    EXPECT_EQ(py, 49);
    EXPECT_EQ(input.GetPinPosition(2, px, py), -1);
    EXPECT_EQ(input.PinAt(22, 5), 3);
    EXPECT_EQ(input.PinAt(22, 13), 3);
    EXPECT_EQ(input.PinAt(22, 14), 0);
    EXPECT_EQ(input.PinAt(3, 8), 0);
    EXPECT_EQ(output.PinAt(3, 8), 2);
}

TEST_F(AMacroPortElemBehaviour, WritesItsNumberAndReadsItBack) {
    struct Case {
        uint32_t type;
        const char* block;
        const char* comment;
    };
    const Case cases[] = {{kMacroInput, kInputBlock, "from the left"},
                          {kMacroOutput, kOutputBlock, "to the right"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.block);
        std::unique_ptr<AMacroPortElem> port = NewPort(c.type, nullptr);
        port->SetComment(c.comment);
        if (c.type == kMacroInput) {
            port->SetOutputPlaneSize(0, 4, 2);
        } else {
            port->SetInputPlaneSize(0, 4, 2);
        }
        port->SetNumber(1);
        EXPECT_STREQ(port->GetLabelText(), "1");
        EXPECT_EQ(WriteBlock(*port, 1), c.block);

        std::unique_ptr<AMacroPortElem> read = NewPort(c.type, nullptr);
        ASSERT_EQ(ReadBlock(*read, c.block), 0);
        EXPECT_EQ(read->GetNumber(), 1);
        EXPECT_STREQ(read->GetLabelText(), "1");
        EXPECT_STREQ(read->GetComment(), c.comment);
        EXPECT_EQ(WriteBlock(*read, 1), c.block);
        // A copy carries the number.
        std::unique_ptr<AElement> copy(AElement::Clone(*read));
        EXPECT_EQ(static_cast<AMacroPortElem&>(*copy).GetNumber(), 1);
        EXPECT_EQ(WriteBlock(*copy, 1), c.block);
    }
}

// The macro tests build their port blocks with the shared helper.
TEST(MacroPortBlockText, TheSharedBlockIsWhatAPortWrites) {
    EXPECT_EQ(Indented(PortBlock(kMacroInput, "from the left", 1), 1), kInputBlock);
    EXPECT_EQ(Indented(PortBlock(kMacroOutput, "to the right", 1), 1), kOutputBlock);
}

TEST_F(AMacroPortElemBehaviour, InsideAMacroTheNumberMustNameOneOfItsPorts) {
    AFakeMacro macro(2, 1);
    AMacroInputElem input(&macro, 0, 0);
    AMacroOutputElem output(&macro, 0, 0);
    const BrokenBlock inputCases[] = {
        {"INPUT_NR: 1", "INPUT_NR: 2", 27, 13, "INPUT_NR:"},
        {"INPUT_NR: 1", "INPUT_NR: -1", 27, 13, "INPUT_NR:"},
        {"INPUT_NR: 1", "INPUT_NR: one", 2, 13, "INPUT_NR:"},
        {"INPUT_NR: 1", "INPUT_NR:", 9, 13, "INPUT_NR:"},
        {"INPUT_NR: 1", "NUMBER: 1", 4, 13, "INPUT_NR:"},
        {"OUTPUTS:    1", "OUTPUTS:    2", 5, 6, "OUTPUTS:"},
    };
    for (const BrokenBlock& broken : inputCases) {
        ExpectReadError(input, kInputBlock, broken);
        // Nothing of a failed block is taken.
        EXPECT_EQ(input.GetNumber(), 0);
        EXPECT_STREQ(input.GetComment(), "");
        EXPECT_EQ(input.GetOutputPlaneWidth(0), 16);
    }
    // The macro has one output: number 1 is out of range, 0 is taken.
    ExpectReadError(output, kOutputBlock, {"OUTPUT_NR: 1", "OUTPUT_NR: 1", 27, 13, "OUTPUT_NR:"});
    EXPECT_EQ(ReadBlock(output, Broken(kOutputBlock, {"OUTPUT_NR: 1", "OUTPUT_NR: 0", 0, 0, ""})),
              0);
    EXPECT_EQ(output.GetNumber(), 0);
    EXPECT_EQ(ReadBlock(input, kInputBlock), 0);
    EXPECT_EQ(input.GetNumber(), 1);
}

TEST_F(AMacroPortElemBehaviour, OutsideAMacroAnyNumberIsTaken) {
    Architecture plain;
    AMacroInputElem input(&plain, 0, 0);
    EXPECT_EQ(ReadBlock(input, Broken(kInputBlock, {"INPUT_NR: 1", "INPUT_NR: 7", 0, 0, ""})), 0);
    EXPECT_EQ(input.GetNumber(), 7);
    EXPECT_EQ(input.GetHost(), nullptr);
}
