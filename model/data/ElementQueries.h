#pragma once

// Hit tests over an architecture's element list or over any list of elements: the element under
// a point, the elements in a rectangle, whether a set of elements overlaps anything, and extents.
// A point hit leaves out the icon's right and bottom edges; an overlap counts touching edges.

#include "model/data/PtrArray.h"

class AElement;
class Architecture;

// The first element, in list order, whose icon contains the point; null if none.
AElement* ElementAt(const Architecture& architecture, int x, int y);
// The first element of the list that overlaps the rectangle; null if none.
AElement* ElementInRect(const PtrArray<AElement>& list, int x, int y, int w, int h);
// Resets the result list and fills it with every overlapping element, in list order; the count.
int ElementsInRect(const Architecture& architecture, PtrArray<AElement>& result, int x, int y,
                   int w, int h);
// 1 if some element of the list (up to its end or its first null entry) overlaps some element of
// the architecture, else 0.
int OverlapsAny(const Architecture& architecture, const PtrArray<AElement>& list);
// The largest x + width and y + height over the elements; 0 without elements.
int MaxRight(const Architecture& architecture);
int MaxBottom(const Architecture& architecture);
// 0 for an empty list, outputs unchanged; otherwise the smallest x and y and the largest
// x + width and y + height over the list, and 1.
int BoundingBox(const PtrArray<AElement>& list, int& left, int& top, int& right, int& bottom);
