#include "model/elements/LibraryColumn.h"

#include <algorithm>
#include <vector>

#include "model/elements/AElement.h"

void SortByPosition(PtrArray<AElement>& column) {
    std::vector<AElement*> order;
    for (int i = 0; i < column.GetCount(); i++)
        order.push_back(column[i]);
    std::stable_sort(order.begin(), order.end(),
                     [](const AElement* a, const AElement* b) { return a->GetY() < b->GetY(); });
    column.Reset();
    for (AElement* element : order)
        column.Add(element);
}

void InsertIntoColumn(PtrArray<AElement>& column, AElement& element) {
    const int y = element.GetY();
    int top = kColumnGap;
    for (int i = 0; i < column.GetCount(); i++) {
        AElement* other = column[i];
        if (other == &element) continue;
        if (other->GetY() < y) {
            const int bottom = other->GetY() + other->GetHeight();
            if (top < bottom) top = bottom + kColumnGap;
        } else {
            other->SetPosition(kColumnX, other->GetY() + element.GetHeight() + kColumnGap);
        }
    }
    element.SetPosition(kColumnX, top);
    column.Add(&element);
    SortByPosition(column);
}

void RestackColumn(PtrArray<AElement>& column) {
    SortByPosition(column);
    int y = kColumnGap;
    for (int i = 0; i < column.GetCount(); i++) {
        column[i]->SetPosition(kColumnX, y);
        y += column[i]->GetHeight() + kColumnGap;
    }
}

void ColumnExtent(const PtrArray<AElement>& column, int& width, int& height) {
    width = 0;
    height = 0;
    for (int i = 0; i < column.GetCount(); i++) {
        const AElement* e = column[i];
        width = std::max(width, e->GetX() + e->GetWidth() + kColumnGap);
        height = std::max(height, e->GetY() + e->GetHeight() + kColumnGap);
    }
}
