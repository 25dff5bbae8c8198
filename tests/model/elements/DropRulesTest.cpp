#include "model/elements/DropRules.h"

#include <gtest/gtest.h>

#include "model/data/Architecture.h"
#include "model/data/Connection.h"
#include "model/elements/AHelpElem.h"
#include "model/elements/ElementType.h"
#include "model/elements/PinCode.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/TestElement.h"

namespace {

// A destination window, and elements being dragged that belong to no list.
class DropFixture : public ::testing::Test {
protected:
    DropFixture() { AElement::SetDefaultPlaneSize(16, 16); }
    ~DropFixture() override {
        for (Architecture* a : {&window, &other}) {
            while (a->GetElements().GetCount() > 0)
                delete a->GetElements()[0];
        }
        for (AElement* e : loose)
            delete e;
    }
    ATestElem* Place(Architecture& a, int x, int y, uint32_t type = kMask, int inputs = 1,
                     int outputs = 1) {
        auto* element = new ATestElem(&a, x, y, type, inputs, outputs);
        a.GetElements().Add(element);
        return element;
    }
    // A dragged element grabbed at (gx, gy) of its icon.
    ATestElem* Drag(int gx, int gy, uint32_t type = kMask) {
        auto* element = new ATestElem(&window, 0, 0, type);
        element->SetGrabOffset(gx, gy);
        loose.push_back(element);
        dragged.Add(element);
        return element;
    }
    Connection* Connect(Architecture& a, AElement* from, int pinFrom, AElement* to, int pinTo) {
        auto* wire = new Connection(&a, from, pinFrom, to, pinTo, 0);
        a.GetConnections().Add(wire);
        return wire;
    }
    DropVerdict DropAt(int x, int y, int rasterize = 1, int sameWindow = 1) {
        return CheckElementDrop(window, dragged, x, y, rasterize, 15, 15, 1500, 1000, sameWindow);
    }

    FakeElementUi ui;
    Architecture window;
    Architecture other;
    PtrArray<AElement> dragged;
    std::vector<AElement*> loose;
};

using DropRules = DropFixture;

} // namespace

TEST_F(DropRules, TheGroupSnapsByItsReferenceElement) {
    // Grabbed at (10, 5) of the first element; the second one sits 40 pixels to its right.
    AElement* first = Drag(10, 5);
    AElement* second = Drag(-30, 5);
    EXPECT_EQ(FindReferenceElement(dragged), 0);
    EXPECT_EQ(DropAt(47, 57), kDropAccepted);
    // The reference lands at (37, 52) before the snap: it moves by (-7, -7), and so does the
    // rest of the group.
    EXPECT_EQ(first->GetX(), 30);
    EXPECT_EQ(first->GetY(), 45);
    EXPECT_EQ(second->GetX(), 70);
    EXPECT_EQ(second->GetY(), 45);
}

TEST_F(DropRules, TheReferenceIsTheFirstElementTheGrabLiesWithin) {
    Drag(70, 40); // grab beyond its width and height
    Drag(10, 40); // beyond its height
    Drag(10, 10); // within
    EXPECT_EQ(FindReferenceElement(dragged), 2);
    PtrArray<AElement> none;
    EXPECT_EQ(FindReferenceElement(none), -1);
    EXPECT_EQ(SnapToGrid(none, 15, 15), 0);
    PtrArray<AElement> outside;
    outside.Add(dragged[0]);
    EXPECT_EQ(FindReferenceElement(outside), 0);
}

TEST_F(DropRules, WithoutRasterizeNothingSnaps) {
    AElement* element = Drag(0, 0);
    EXPECT_EQ(DropAt(37, 52, 0), kDropAccepted);
    EXPECT_EQ(element->GetX(), 37);
    EXPECT_EQ(element->GetY(), 52);
}

TEST_F(DropRules, AnEmptyDragIsRefusedWhenSnapping) {
    EXPECT_EQ(DropAt(30, 30), kDropNoReference);
    EXPECT_EQ(DropAt(30, 30, 0), kDropAccepted);
}

TEST_F(DropRules, TheWorkingAreaBoundsTheDrop) {
    struct Case {
        int x, y;
        DropVerdict verdict;
    };
    // A 60 x 30 icon, no snapping.
    const Case kCases[] = {
        {1440, 970, kDropAccepted},        {1441, 10, kDropOutsideArea},
        {10, 971, kDropOutsideArea},       {-1, 10, kDropOutsideArea},
        {10, -1, kDropOutsideArea},        {0, 0, kDropAccepted},
        {2147483600, 0, kDropOutsideArea},
    };
    AElement* element = Drag(0, 0);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(DropAt(c.x, c.y, 0), c.verdict);
        EXPECT_EQ(element->GetX(), c.x);
    }
}

TEST_F(DropRules, OverlapIsCheckedBeforeTheBoundsAndTouchingCounts) {
    Place(window, 100, 100);
    Drag(0, 0);
    EXPECT_EQ(DropAt(160, 100, 0), kDropOverlap); // touches the right edge
    EXPECT_EQ(DropAt(161, 100, 0), kDropAccepted);
    Place(window, 1450, 10);
    EXPECT_EQ(DropAt(1445, 10, 0), kDropOverlap); // also outside, but overlap comes first
}

TEST_F(DropRules, AMacroPortStaysOutOfWindowsThatAreNoMacros) {
    Drag(0, 0, kMacroInput);
    EXPECT_EQ(DropAt(30, 30, 1, 1), kDropPortOutsideMacro);
    // From another window the transfer sends it back; the drop itself is not refused.
    EXPECT_EQ(DropAt(30, 30, 1, 0), kDropAccepted);
    ATestMacro macro(&window, 0, 0);
    EXPECT_EQ(CheckElementDrop(macro, dragged, 30, 30, 1, 15, 15, 1500, 1000, 1), kDropAccepted);
}

TEST_F(DropRules, AMacroNeverGoesIntoItself) {
    // outer holds inner; inner holds deepest.
    auto* outer = new ATestMacro(&window, 0, 0);
    window.GetElements().Add(outer);
    auto* inner = new ATestMacro(outer, 0, 0);
    outer->GetElements().Add(inner);
    auto* deepest = new ATestMacro(inner, 0, 0);
    inner->GetElements().Add(deepest);
    auto* stranger = new ATestMacro(&other, 0, 0);
    other.GetElements().Add(stranger);

    struct Case {
        Architecture* destination;
        ATestMacro* macro;
        int refused;
    };
    const Case kCases[] = {
        {outer, outer, 1},      // into its own window
        {inner, outer, 1},      // into a window nested in it
        {deepest, outer, 1},    // deeper still
        {outer, deepest, 1},    // a macro that lies inside the destination's macros
        {deepest, stranger, 0}, // unrelated
        {&window, outer, 0},    // the main window is no macro
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.macro == outer ? "outer" : "other");
        PtrArray<AElement> list;
        list.Add(c.macro);
        EXPECT_EQ(PutsMacroIntoItself(*c.destination, list), c.refused);
    }
    EXPECT_EQ(ContainsArchitecture(inner, outer), 1);
    EXPECT_EQ(ContainsArchitecture(&window, outer), 1); // nested in the window's macros
    EXPECT_EQ(ContainsArchitecture(&window, &other), 0);
}

namespace {

// A window with a source S (output at its right edge) and targets; a connection from S's
// output being drawn, its loose end on the help element's input.
class ConnectionEndFixture : public DropFixture {
protected:
    ConnectionEndFixture() : end(&window) {
        source = Place(window, 100, 100);
        target = Place(window, 300, 100);
        wire = new Connection(&window, source, OutputPinCode(0), &end, InputPinCode(0), 0);
    }
    ~ConnectionEndFixture() override { delete wire; }
    DropVerdict DropEnd(int x, int y, AElement*& element, int& pin) {
        return CheckConnectionEndDrop(window, window, end, x, y, element, pin);
    }

    AHelpElem end;
    ATestElem* source;
    ATestElem* target;
    Connection* wire;
};

using ConnectionEndDrop = ConnectionEndFixture;

} // namespace

TEST_F(ConnectionEndDrop, ChecksRunInTheirOrder) {
    ATestElem* busy = Place(window, 500, 100);
    ATestElem* feeder = Place(window, 500, 300);
    Connect(window, feeder, OutputPinCode(0), busy, InputPinCode(0));
    ATestElem* small = Place(window, 700, 100);
    small->SetInputPlaneSize(0, 8, 16);

    struct Case {
        int x, y;
        DropVerdict verdict;
    };
    const Case kCases[] = {
        {250, 115, kDropNoElement},      // empty area
        {330, 115, kDropNoPin},          // the body of the target
        {303, 121, kDropNoPin},          // between the pin rows
        {503, 115, kDropPinBusy},        // an input that holds a connection
        {357, 115, kDropWrongDirection}, // an output pin for an input end
        {703, 115, kDropPlaneSize},      // 8 x 16 against 16 x 16
        {303, 115, kDropAccepted},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.x);
        AElement* element = nullptr;
        int pin = -1;
        EXPECT_EQ(DropEnd(c.x, c.y, element, pin), c.verdict);
        if (c.verdict == kDropAccepted) {
            EXPECT_EQ(element, target);
            EXPECT_EQ(pin, InputPinCode(0));
        } else {
            EXPECT_EQ(element, nullptr);
            EXPECT_EQ(pin, kNoPin);
        }
    }
}

TEST_F(ConnectionEndDrop, AnOutputEndGoesOnAnOutputPinOfTheSameSize) {
    delete wire;
    // Pulled back from the target's input: the loose end is now an output end.
    wire = new Connection(&window, &end, OutputPinCode(0), target, InputPinCode(0), 0);
    AElement* element = nullptr;
    int pin = 0;
    EXPECT_EQ(DropEnd(103, 115, element, pin), kDropWrongDirection);
    EXPECT_EQ(DropEnd(157, 115, element, pin), kDropAccepted);
    EXPECT_EQ(pin, OutputPinCode(0));
    target->SetInputPlaneSize(0, 16, 17);
    EXPECT_EQ(DropEnd(157, 115, element, pin), kDropPlaneSize);
}

TEST_F(ConnectionEndDrop, AnotherWindowIsRefused) {
    Place(other, 300, 100);
    AElement* element = nullptr;
    int pin = 0;
    EXPECT_EQ(CheckConnectionEndDrop(window, other, end, 303, 115, element, pin), kDropOtherWindow);
}

TEST_F(DropRules, ACopyRepeatsOnlyTheConnectionsAmongTheCopiedElements) {
    ATestElem* a = Place(window, 10, 10);
    ATestElem* b = Place(window, 100, 10);
    ATestElem* c = Place(window, 200, 10);
    Connect(window, a, OutputPinCode(0), b, InputPinCode(0));
    Connect(window, b, OutputPinCode(0), c, InputPinCode(0));
    ATestElem* port = Place(window, 10, 100, kMacroInput, 0, 1);
    ATestElem* d = Place(window, 100, 100, kMask, 2, 1);
    Connect(window, port, OutputPinCode(0), d, InputPinCode(1));
    Connect(window, c, OutputPinCode(0), d, InputPinCode(0)); // from outside the selection
    PtrArray<AElement> selection;
    for (AElement* e : {static_cast<AElement*>(a), static_cast<AElement*>(b),
                        static_cast<AElement*>(port), static_cast<AElement*>(d)}) {
        selection.Add(e);
    }
    const int before = window.GetConnections().GetCount();
    PtrArray<AElement> clones;
    PtrArray<Connection> made;
    EXPECT_EQ(CloneSelection(selection, window, clones, &made), 3);
    for (AElement* e : {clones[0], clones[1], clones[2]})
        loose.push_back(e);
    // The port's clone is gone; the others keep their order.
    EXPECT_EQ(clones[0]->GetX(), 10);
    EXPECT_EQ(clones[1]->GetX(), 100);
    EXPECT_EQ(clones[2]->GetInputCount(), 2);
    // a -> b is repeated between the clones; b -> c, c -> d and port -> d are not.
    ASSERT_EQ(made.GetCount(), 1);
    EXPECT_EQ(window.GetConnections().GetCount(), before + 1);
    EXPECT_EQ(made[0]->GetSource(), clones[0]);
    EXPECT_EQ(made[0]->GetTarget(), clones[1]);
    EXPECT_EQ(made[0]->GetTargetPin(), InputPinCode(0));
    EXPECT_EQ(clones[2]->GetInputConnection(0), nullptr);
    EXPECT_EQ(clones[2]->GetInputConnection(1), nullptr);
    // The originals keep their own connections.
    EXPECT_EQ(b->GetInputSource(0), a);
}

TEST_F(DropRules, ACopyOfOnlyPortsLeavesNothing) {
    PtrArray<AElement> selection;
    selection.Add(Place(window, 10, 10, kMacroInput, 0, 1));
    selection.Add(Place(window, 10, 100, kMacroOutput, 1, 0));
    PtrArray<AElement> clones;
    EXPECT_EQ(CloneSelection(selection, window, clones, nullptr), 0);
    EXPECT_EQ(window.GetElements().GetCount(), 2);
}
