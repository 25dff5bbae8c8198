#include "model/elements/LibraryColumn.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/data/Architecture.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/TestElement.h"

namespace {

class LibraryColumnFixture : public ::testing::Test {
protected:
    ~LibraryColumnFixture() override {
        while (library.GetElements().GetCount() > 0)
            delete library.GetElements()[0];
    }
    // A 60 x 30 element at y (1 input, 1 output), or 60 x 45 with two inputs.
    ATestElem* Make(int y, int inputs = 1) {
        auto* element = new ATestElem(&library, 400, y, 0, inputs, 1);
        return element;
    }
    std::vector<int> Ys() {
        std::vector<int> ys;
        PtrArray<AElement>& column = library.GetElements();
        for (int i = 0; i < column.GetCount(); i++) {
            EXPECT_EQ(column[i]->GetX(), kColumnX);
            ys.push_back(column[i]->GetY());
        }
        return ys;
    }

    FakeElementUi ui;
    Architecture library;
};

using LibraryColumn = LibraryColumnFixture;

} // namespace

TEST_F(LibraryColumn, ElementsReadInAnyOrderStackByTheirPositions) {
    // Stored at y = 300, 10 and 150, in that order.
    ATestElem* a = Make(300);
    ATestElem* b = Make(10);
    ATestElem* c = Make(150);
    PtrArray<AElement> read;
    for (AElement* e :
         {static_cast<AElement*>(a), static_cast<AElement*>(b), static_cast<AElement*>(c)}) {
        read.Add(e);
    }
    SortByPosition(read);
    for (int i = 0; i < read.GetCount(); i++)
        InsertIntoColumn(library.GetElements(), *read[i]);
    EXPECT_EQ(Ys(), (std::vector<int>{10, 50, 90}));
    EXPECT_EQ(library.GetElements()[0], b);
    EXPECT_EQ(library.GetElements()[1], c);
    EXPECT_EQ(library.GetElements()[2], a);
}

TEST_F(LibraryColumn, ADropBetweenTwoPushesTheLowerOnesDown) {
    PtrArray<AElement>& column = library.GetElements();
    InsertIntoColumn(column, *Make(10));
    InsertIntoColumn(column, *Make(50));
    InsertIntoColumn(column, *Make(90));
    ATestElem* dropped = Make(45, 2); // 45 high
    InsertIntoColumn(column, *dropped);
    EXPECT_EQ(Ys(), (std::vector<int>{10, 50, 105, 145}));
    EXPECT_EQ(column[1], dropped);
    // Above everything it goes first.
    ATestElem* top = Make(-20);
    InsertIntoColumn(column, *top);
    EXPECT_EQ(Ys(), (std::vector<int>{10, 50, 90, 145, 185}));
    EXPECT_EQ(column[0], top);
}

TEST_F(LibraryColumn, RestackingClosesTheGapsAndKeepsTheOrder) {
    PtrArray<AElement>& column = library.GetElements();
    InsertIntoColumn(column, *Make(10));
    InsertIntoColumn(column, *Make(50));
    ATestElem* middle = Make(45, 2);
    InsertIntoColumn(column, *middle);
    AElement* first = column[0];
    AElement* last = column[2];
    column.Remove(first);
    delete first;
    RestackColumn(column);
    EXPECT_EQ(Ys(), (std::vector<int>{10, 65}));
    EXPECT_EQ(column[0], middle);
    EXPECT_EQ(column[1], last);
    int width, height;
    ColumnExtent(column, width, height);
    EXPECT_EQ(width, 80);
    EXPECT_EQ(height, 105);
}
