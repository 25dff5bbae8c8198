#include "model/data/ElementQueries.h"

#include <algorithm>

#include "model/data/Architecture.h"
#include "model/elements/AElement.h"

AElement* ElementAt(const Architecture& architecture, int x, int y) {
    const PtrArray<AElement>& elements = architecture.GetElements();
    for (int i = 0; i < elements.GetCount(); i++) {
        if (elements[i]->Contains(x, y)) return elements[i];
    }
    return nullptr;
}

AElement* ElementInRect(const PtrArray<AElement>& list, int x, int y, int w, int h) {
    for (int i = 0; i < list.GetCount(); i++) {
        if (list[i]->Intersects(x, y, w, h)) return list[i];
    }
    return nullptr;
}

int ElementsInRect(const Architecture& architecture, PtrArray<AElement>& result, int x, int y,
                   int w, int h) {
    result.Reset();
    const PtrArray<AElement>& elements = architecture.GetElements();
    for (int i = 0; i < elements.GetCount(); i++) {
        if (elements[i]->Intersects(x, y, w, h)) result.Add(elements[i]);
    }
    return result.GetCount();
}

int OverlapsAny(const Architecture& architecture, const PtrArray<AElement>& list) {
    for (int i = 0; i < list.GetCount() && list[i] != nullptr; i++) {
        int x, y, w, h;
        list[i]->GetGeometry(x, y, w, h);
        if (ElementInRect(architecture.GetElements(), x, y, w, h) != nullptr) return 1;
    }
    return 0;
}

int MaxRight(const Architecture& architecture) {
    const PtrArray<AElement>& elements = architecture.GetElements();
    int right = 0;
    for (int i = 0; i < elements.GetCount(); i++) {
        right = std::max(right, elements[i]->GetX() + elements[i]->GetWidth());
    }
    return right;
}

int MaxBottom(const Architecture& architecture) {
    const PtrArray<AElement>& elements = architecture.GetElements();
    int bottom = 0;
    for (int i = 0; i < elements.GetCount(); i++) {
        bottom = std::max(bottom, elements[i]->GetY() + elements[i]->GetHeight());
    }
    return bottom;
}

int BoundingBox(const PtrArray<AElement>& list, int& left, int& top, int& right, int& bottom) {
    if (list.GetCount() == 0) return 0;
    const AElement* first = list[0];
    left = first->GetX();
    top = first->GetY();
    right = first->GetX() + first->GetWidth();
    bottom = first->GetY() + first->GetHeight();
    for (int i = 1; i < list.GetCount(); i++) {
        const AElement* element = list[i];
        left = std::min(left, element->GetX());
        top = std::min(top, element->GetY());
        right = std::max(right, element->GetX() + element->GetWidth());
        bottom = std::max(bottom, element->GetY() + element->GetHeight());
    }
    return 1;
}
