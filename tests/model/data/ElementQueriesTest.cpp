#include "model/data/ElementQueries.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/model/elements/TestElement.h"

namespace {

// Elements of 60 x 30 pixels on one architecture.
class ElementQueriesFixture : public ::testing::Test {
protected:
    AElement* Place(int x, int y) {
        elements.push_back(std::make_unique<ATestElem>(&architecture, x, y));
        architecture.GetElements().Add(elements.back().get());
        return elements.back().get();
    }

    Architecture architecture;
    std::vector<std::unique_ptr<AElement>> elements;
};

using ElementQueries = ElementQueriesFixture;

} // namespace

TEST_F(ElementQueries, ElementAtPrefersTheEarlierOfOverlappingElements) {
    AElement* a = Place(0, 0);
    AElement* b = Place(30, 10);
    EXPECT_EQ(ElementAt(architecture, 40, 15), a);
    EXPECT_EQ(ElementAt(architecture, 70, 35), b);
    EXPECT_EQ(ElementAt(architecture, 200, 200), nullptr);
}

TEST_F(ElementQueries, TouchingEdgesOverlapButAreNotInside) {
    AElement* a = Place(0, 0);
    AElement* c = Place(60, 0);
    EXPECT_EQ(ElementAt(architecture, 59, 29), a);
    EXPECT_EQ(ElementAt(architecture, 60, 5), c);
    EXPECT_EQ(ElementAt(architecture, 5, 30), nullptr);

    PtrArray<AElement> found;
    ATestElem stray(nullptr, 900, 900);
    found.Add(&stray); // the result list is emptied first
    EXPECT_EQ(ElementsInRect(architecture, found, 60, 0, 0, 30), 2);
    EXPECT_EQ(found[0], a);
    EXPECT_EQ(found[1], c);
    EXPECT_EQ(ElementsInRect(architecture, found, 0, 31, 100, 10), 0);
    EXPECT_EQ(ElementInRect(architecture.GetElements(), 0, 30, 5, 5), a);
}

TEST_F(ElementQueries, OverlapsAnyStopsAtTheFirstNullEntry) {
    Place(0, 0);
    ATestElem away(nullptr, 500, 500);
    ATestElem over(nullptr, 10, 10);
    PtrArray<AElement> list;
    list.Add(&away);
    EXPECT_EQ(OverlapsAny(architecture, list), 0);
    list.Add(nullptr);
    list.Add(&over);
    EXPECT_EQ(OverlapsAny(architecture, list), 0);
    list.Remove(nullptr);
    EXPECT_EQ(OverlapsAny(architecture, list), 1);
}

TEST_F(ElementQueries, ExtentsOfAnArchitectureAndOfAList) {
    EXPECT_EQ(MaxRight(architecture), 0);
    EXPECT_EQ(MaxBottom(architecture), 0);
    int left = -1, top = -1, right = -1, bottom = -1;
    EXPECT_EQ(BoundingBox(architecture.GetElements(), left, top, right, bottom), 0);
    EXPECT_EQ(left, -1);
    EXPECT_EQ(bottom, -1);

    Place(100, 40);
    Place(20, 300);
    EXPECT_EQ(MaxRight(architecture), 160);
    EXPECT_EQ(MaxBottom(architecture), 330);
    EXPECT_EQ(BoundingBox(architecture.GetElements(), left, top, right, bottom), 1);
    EXPECT_EQ(left, 20);
    EXPECT_EQ(top, 40);
    EXPECT_EQ(right, 160);
    EXPECT_EQ(bottom, 330);
}
