#include "model/data/Connection.h"

#include <gtest/gtest.h>

#include "model/elements/PinCode.h"
#include "tests/model/elements/TestElement.h"

namespace {

// Three elements on one architecture: a and b with one input and one output, e with two outputs.
class ConnectionFixture : public ::testing::Test {
protected:
    ConnectionFixture()
        : a(new ATestElem(&architecture, 0, 0)), b(new ATestElem(&architecture, 200, 0)),
          e(new ATestElem(&architecture, 400, 0, kSplit, 1, 2)) {
        architecture.GetElements().Add(a);
        architecture.GetElements().Add(b);
        architecture.GetElements().Add(e);
    }
    ~ConnectionFixture() override {
        while (architecture.GetElements().GetCount() > 0)
            delete architecture.GetElements()[0];
    }

    Connection* Connect(AElement* first, int firstPin, AElement* second, int secondPin) {
        Connection* connection =
            new Connection(&architecture, first, firstPin, second, secondPin, 0);
        architecture.GetConnections().Add(connection);
        return connection;
    }

    Architecture architecture;
    ATestElem* a;
    ATestElem* b;
    ATestElem* e;
};

using ConnectionBehaviour = ConnectionFixture;

} // namespace

TEST_F(ConnectionBehaviour, TheOutputsElementBecomesTheSource) {
    Connection* wire = Connect(a, InputPinCode(0), b, OutputPinCode(0));
    EXPECT_EQ(wire->GetSource(), b);
    EXPECT_EQ(wire->GetTarget(), a);
    EXPECT_EQ(wire->GetSourcePin(), 3);
    EXPECT_EQ(wire->GetTargetPin(), 2);
    EXPECT_EQ(a->GetInputConnection(0), wire);
    EXPECT_EQ(b->GetOutputConnection(0), wire);
    int x, y;
    wire->GetSourcePoint(x, y);
    EXPECT_EQ(x, 261);
    EXPECT_EQ(y, 15);
    wire->GetTargetPoint(x, y);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, 15);
    EXPECT_EQ(wire->IsDrawn(), 0);
}

TEST_F(ConnectionBehaviour, DeletingClearsBothSlotsAndLeavesTheList) {
    Connection* wire = Connect(b, OutputPinCode(0), a, InputPinCode(0));
    delete wire;
    EXPECT_EQ(a->GetInputConnection(0), nullptr);
    EXPECT_EQ(b->GetOutputConnection(0), nullptr);
    EXPECT_EQ(architecture.GetConnections().GetCount(), 0);
}

TEST_F(ConnectionBehaviour, DeletingEitherElementDeletesItsConnections) {
    Connect(b, OutputPinCode(0), a, InputPinCode(0));
    Connect(a, OutputPinCode(0), e, InputPinCode(0));
    delete a;
    EXPECT_EQ(architecture.GetConnections().GetCount(), 0);
    EXPECT_EQ(b->GetOutputConnection(0), nullptr);
    EXPECT_EQ(e->GetInputConnection(0), nullptr);
    EXPECT_EQ(architecture.GetElements().Find(a), -1);
}

TEST_F(ConnectionBehaviour, ReconnectMovesTheSourceEnd) {
    Connection* wire = Connect(b, OutputPinCode(0), a, InputPinCode(0));
    wire->Reconnect(e, 5);
    EXPECT_EQ(wire->GetSource(), e);
    EXPECT_EQ(wire->GetSourcePin(), 5);
    EXPECT_EQ(e->GetOutputConnection(1), wire);
    EXPECT_EQ(b->GetOutputConnection(0), nullptr);
    EXPECT_EQ(a->GetInputConnection(0), wire);
    int x, y;
    wire->GetSourcePoint(x, y);
    EXPECT_EQ(x, 461);
    EXPECT_EQ(y, 30);

    wire->Reconnect(b, InputPinCode(0));
    EXPECT_EQ(wire->GetTarget(), b);
    EXPECT_EQ(a->GetInputConnection(0), nullptr);
    EXPECT_EQ(b->GetInputConnection(0), wire);
}

TEST_F(ConnectionBehaviour, ASlotTakenOverByAnotherConnectionIsLeftToIt) {
    Connection* first = Connect(b, OutputPinCode(0), a, InputPinCode(0));
    Connection* second = Connect(e, OutputPinCode(0), a, InputPinCode(0));
    EXPECT_EQ(a->GetInputConnection(0), second);
    delete first;
    EXPECT_EQ(a->GetInputConnection(0), second);
    EXPECT_EQ(b->GetOutputConnection(0), nullptr);

    Connection* third = Connect(b, OutputPinCode(0), e, InputPinCode(0));
    Connection* fourth = Connect(a, OutputPinCode(0), e, InputPinCode(0));
    third->Reconnect(a, InputPinCode(0));
    EXPECT_EQ(e->GetInputConnection(0), fourth);
    delete second;
    delete fourth;
    delete third;
    EXPECT_EQ(a->GetInputConnection(0), nullptr);
    EXPECT_EQ(e->GetInputConnection(0), nullptr);
}

TEST_F(ConnectionBehaviour, PinsThatAreNotAnOutputAndAnInputLinkNothing) {
    const int kBad[][2] = {{2, 2}, {3, 5}, {0, 3}, {7, 2}, {3, 4}};
    for (const auto& pins : kBad) {
        SCOPED_TRACE(pins[0] * 10 + pins[1]);
        Connection* wire = Connect(a, pins[0], b, pins[1]);
        EXPECT_EQ(wire->GetSource(), nullptr);
        EXPECT_EQ(a->GetInputConnection(0), nullptr);
        EXPECT_EQ(a->GetOutputConnection(0), nullptr);
        EXPECT_EQ(b->GetInputConnection(0), nullptr);
        EXPECT_EQ(b->GetOutputConnection(0), nullptr);
        delete wire;
    }
    EXPECT_EQ(architecture.GetConnections().GetCount(), 0);
}

TEST_F(ConnectionBehaviour, DrawingWithoutAWorkingAreaDrawsNothing) {
    Connection* wire = new Connection(&architecture, b, 3, a, 2, 1);
    architecture.GetConnections().Add(wire);
    wire->Draw();
    EXPECT_EQ(wire->IsDrawn(), 0);
    wire->DrawOnRoot();
    EXPECT_EQ(wire->IsDrawnOnRoot(), 0);
}
