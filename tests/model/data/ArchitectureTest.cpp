#include "model/data/Architecture.h"

#include <gtest/gtest.h>

#include "model/data/ClockList.h"
#include "model/data/Connection.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/TestElement.h"

namespace {

// Deletes the elements of an architecture the way clearing a window does.
void Clear(Architecture& architecture) {
    while (architecture.GetElements().GetCount() > 0)
        delete architecture.GetElements()[0];
}

ATestElem* Add(Architecture& architecture, int x, int y) {
    ATestElem* element = new ATestElem(&architecture, x, y);
    architecture.GetElements().Add(element);
    return element;
}

} // namespace

TEST(Architecture, CopyClonesElementsAndRewiresTheClones) {
    Architecture source;
    ATestElem* a = Add(source, 0, 0);
    ATestElem* b = Add(source, 200, 0);
    a->SetName("A");
    b->SetName("B");
    b->SetModified();
    source.GetConnections().Add(new Connection(&source, b, 3, a, 2, 0));

    Architecture* copy = new Architecture(source);
    ASSERT_EQ(copy->GetElements().GetCount(), 2);
    AElement* a2 = copy->GetElements()[0];
    AElement* b2 = copy->GetElements()[1];
    EXPECT_NE(a2, a);
    EXPECT_STREQ(a2->GetName(), "A");
    EXPECT_STREQ(b2->GetName(), "B");
    EXPECT_EQ(a2->GetOwner(), &source); // until the new owner takes it
    ASSERT_EQ(copy->GetConnections().GetCount(), 1);
    Connection* wire = copy->GetConnections()[0];
    EXPECT_EQ(wire->GetSource(), b2);
    EXPECT_EQ(wire->GetTarget(), a2);
    EXPECT_EQ(wire->GetArchitecture(), copy);
    EXPECT_EQ(wire->IsDrawn(), 0);
    EXPECT_EQ(a2->GetInputConnection(0), wire);
    EXPECT_EQ(b2->GetOutputConnection(0), wire);
    EXPECT_EQ(b2->IsModified(), 0);

    // The clones think they live on the source until SetOwner: hand them over before clearing.
    for (int i = 0; i < copy->GetElements().GetCount(); i++) {
        copy->GetElements()[i]->SetOwner(copy);
    }
    Clear(*copy);
    EXPECT_EQ(copy->GetConnections().GetCount(), 0);
    delete copy;
    EXPECT_EQ(source.GetElements().GetCount(), 2);
    EXPECT_EQ(source.GetConnections().GetCount(), 1);
    Clear(source);
}

TEST(Architecture, StaysModifiedUntilCleared) {
    Architecture architecture;
    ATestElem* a = Add(architecture, 0, 0);
    EXPECT_EQ(architecture.IsModified(), 0);
    a->SetModified();
    EXPECT_EQ(architecture.IsModified(), 1);
    a->ClearModified();
    EXPECT_EQ(architecture.IsModified(), 1);
    a->SetModified();
    architecture.ClearModified();
    EXPECT_EQ(a->IsModified(), 0);
    EXPECT_EQ(architecture.IsModified(), 0);
    architecture.SetModified();
    EXPECT_EQ(architecture.IsModified(), 1);
    Clear(architecture);
}

TEST(Architecture, ClockQueriesLookInsideMacros) {
    Architecture architecture;
    ATestElem* outer = Add(architecture, 0, 0);
    outer->SetClock(1);
    ATestMacro* macro = new ATestMacro(&architecture, 100, 0);
    architecture.GetElements().Add(macro);
    macro->SetClock(3); // a macro's own number is not what counts
    ATestElem* inner = Add(*macro, 0, 0);
    inner->SetClock(2);

    EXPECT_EQ(architecture.UsesClock(1), 1);
    EXPECT_EQ(architecture.UsesClock(2), 1);
    EXPECT_EQ(architecture.UsesClock(3), 0);
    architecture.ReplaceClock(2, 1);
    EXPECT_EQ(inner->GetClock(), 1);
    EXPECT_EQ(architecture.UsesClock(2), 0);
    // Yet it is renumbered with the rest, so that it never names a clock that is gone.
    architecture.ReplaceClock(3, 1);
    EXPECT_EQ(macro->GetClock(), 1);
    Clear(architecture);
}

TEST(Architecture, ResetAllResetsEveryElementAndSchedulesTheClockedOnes) {
    FakeElementUi ui;
    ResetClocks();
    AddClock(50, 20);
    Architecture architecture;
    ATestElem* a = Add(architecture, 0, 0);
    ATestElem* b = Add(architecture, 200, 0);
    b->SetClock(2);
    a->GetOutputPlane(0)->SetBit(1, 1, 1);
    architecture.ResetAll();
    EXPECT_EQ(a->resets, 1);
    EXPECT_EQ(b->resets, 1);
    EXPECT_EQ((*a->GetOutputPlane(0))(1, 1), 0);
    ASSERT_EQ(ui.scheduled.size(), 1u);
    EXPECT_EQ(ui.scheduled[0].first, 20u);
    EXPECT_EQ(ui.scheduled[0].second, b);
    Clear(architecture);
    GetClocks().Clear();
}
