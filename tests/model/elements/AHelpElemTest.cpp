#include "model/elements/AHelpElem.h"

#include <gtest/gtest.h>

#include <sstream>

#include "model/data/Architecture.h"
#include "model/data/Connection.h"
#include "model/elements/ElementType.h"
#include "model/elements/PinCode.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/TestElement.h"

namespace {

class AHelpElemFixture : public ::testing::Test {
protected:
    AHelpElemFixture() : end(&architecture), other(&architecture, 200, 100) {
        AElement::SetDefaultPlaneSize(16, 16);
    }

    FakeElementUi ui;
    Architecture architecture;
    AHelpElem end;
    ATestElem other;
};

using AHelpElemBehaviour = AHelpElemFixture;

} // namespace

TEST_F(AHelpElemBehaviour, IsAnInvisibleOneByOneElementOfTypeThirteen) {
    EXPECT_EQ(end.GetType(), kHelpElement);
    EXPECT_STREQ(end.GetName(), "HELP_ELEMENT");
    EXPECT_EQ(end.GetInputCount(), 1);
    EXPECT_EQ(end.GetOutputCount(), 1);
    EXPECT_EQ(end.GetWidth(), 1);
    EXPECT_EQ(end.GetHeight(), 1);
    EXPECT_EQ(end.GetIconPixmap(), 0u);
    EXPECT_EQ(end.GetXorGC(), nullptr); // no display
    // It is never copied: a clone is the element itself.
    EXPECT_EQ(AElement::Clone(end), &end);
}

TEST_F(AHelpElemBehaviour, ReadsAndWritesNoText) {
    std::istringstream in("TYPE: MASK\n");
    std::ostringstream out;
    EXPECT_EQ(end.Read(in, nullptr), 0);
    EXPECT_EQ(end.Write(out, 0, nullptr), 0);
    EXPECT_EQ(out.str(), "");
    std::string rest;
    std::getline(in, rest);
    EXPECT_EQ(rest, "TYPE: MASK");
}

TEST_F(AHelpElemBehaviour, BothPinsLieAtItsPosition) {
    end.SetPosition(100, 50);
    struct Case {
        int code;
        int result;
    };
    const Case kCases[] = {{2, 0}, {3, 0}, {0, -1}, {1, -1}, {4, -1}, {5, -1}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.code);
        int x = -7, y = -7;
        EXPECT_EQ(end.GetPinPosition(c.code, x, y), c.result);
        if (c.result == 0) {
            EXPECT_EQ(x, 100);
            EXPECT_EQ(y, 50);
        } else {
            EXPECT_EQ(x, -7);
        }
    }
}

TEST_F(AHelpElemBehaviour, FreeEndTellsWhereTheConnectionHangs) {
    EXPECT_EQ(end.GetFreeEnd(), kNoPin);
    EXPECT_EQ(end.GetConnection(2), nullptr);
    {
        // Drawn from an output: the loose end is the help element's input.
        Connection wire(&architecture, &other, OutputPinCode(0), &end, InputPinCode(0), 0);
        EXPECT_EQ(end.GetFreeEnd(), 2);
        EXPECT_EQ(end.GetConnection(3), &wire);
    }
    EXPECT_EQ(end.GetFreeEnd(), kNoPin);
    Connection wire(&architecture, &end, OutputPinCode(0), &other, InputPinCode(0), 0);
    EXPECT_EQ(end.GetFreeEnd(), 3);
    EXPECT_EQ(end.GetConnection(0), &wire);
}

TEST_F(AHelpElemBehaviour, TheLooseEndFollowsTheElement) {
    Connection wire(&architecture, &other, OutputPinCode(0), &end, InputPinCode(0), 0);
    end.SetPosition(400, 300);
    wire.UpdateEnds();
    int x, y;
    wire.GetTargetPoint(x, y);
    EXPECT_EQ(x, 400);
    EXPECT_EQ(y, 300);
}

TEST_F(AHelpElemBehaviour, ASimulationStepChangesNothing) {
    end.SetTime(3);
    end.GetInputPlane(0)->SetBit(1, 1, 1);
    end.Simulate();
    EXPECT_EQ(end.GetLastSimulatedTime(), kNeverSimulated);
    EXPECT_EQ((*end.GetOutputPlane(0))(1, 1), 0);
    EXPECT_TRUE(ui.scheduled.empty());
}
