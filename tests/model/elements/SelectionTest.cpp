#include "model/elements/Selection.h"

#include <gtest/gtest.h>

#include "model/data/Architecture.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/TestElement.h"

namespace {

// Three 60 x 30 elements in a row, 40 pixels apart.
class SelectionFixture : public ::testing::Test {
protected:
    SelectionFixture() {
        for (int i = 0; i < 3; i++) {
            e[i] = new ATestElem(&window, 100 * i, 0);
            window.GetElements().Add(e[i]);
        }
    }
    ~SelectionFixture() override {
        while (window.GetElements().GetCount() > 0)
            delete window.GetElements()[0];
    }
    bool Marked(std::initializer_list<int> which) {
        for (int i = 0; i < 3; i++) {
            bool in = false;
            for (int k : which)
                in = in || k == i;
            if ((e[i]->IsMarked() != 0) != in || (selection.Find(e[i]) >= 0) != in) return false;
        }
        return static_cast<int>(which.size()) == selection.GetCount();
    }

    FakeElementUi ui;
    Architecture window;
    ATestElem* e[3];
    PtrArray<AElement> selection;
};

using SelectionRules = SelectionFixture;

} // namespace

TEST_F(SelectionRules, SelectOnlyReplacesTheSelectionAndReportsTheChanges) {
    ToggleSelected(selection, *e[0]);
    ToggleSelected(selection, *e[1]);
    PtrArray<AElement> changed;
    SelectOnly(selection, *e[2], changed);
    EXPECT_TRUE(Marked({2}));
    EXPECT_EQ(changed.GetCount(), 3);
    // Selecting the one selected element again changes nothing.
    PtrArray<AElement> again;
    SelectOnly(selection, *e[2], again);
    EXPECT_TRUE(Marked({2}));
    EXPECT_EQ(again.GetCount(), 0);
}

TEST_F(SelectionRules, ShiftClicksToggleMembership) {
    EXPECT_EQ(ToggleSelected(selection, *e[1]), 1);
    EXPECT_EQ(ToggleSelected(selection, *e[2]), 1);
    EXPECT_TRUE(Marked({1, 2}));
    EXPECT_EQ(ToggleSelected(selection, *e[1]), 0);
    EXPECT_TRUE(Marked({2}));
}

TEST_F(SelectionRules, ClearingUnmarksEverything) {
    ToggleSelected(selection, *e[0]);
    ToggleSelected(selection, *e[2]);
    PtrArray<AElement> changed;
    ClearSelection(selection, &changed);
    EXPECT_TRUE(Marked({}));
    EXPECT_EQ(changed.GetCount(), 2);
}

TEST_F(SelectionRules, ARubberBandSelectsEveryElementItTouches) {
    struct Case {
        int x1, y1, x2, y2;
        std::initializer_list<int> selected;
    };
    const Case kCases[] = {
        {70, 10, 20, 20, {0}},     // corners in any order
        {60, 40, 100, 50, {}},     // below them all
        {60, 10, 100, 20, {0, 1}}, // touching both edges
        {61, 10, 99, 20, {}},      // in the gap
        {-5, -5, 300, 300, {0, 1, 2}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.x1);
        ClearSelection(selection, nullptr);
        EXPECT_EQ(SelectInRect(window, selection, c.x1, c.y1, c.x2, c.y2),
                  static_cast<int>(c.selected.size()));
        EXPECT_TRUE(Marked(c.selected));
    }
}
