#pragma once

// The element library keeps its elements in one column at x = 10, 10 pixels apart, in the order
// of their y positions. These functions lay the column out; the library window draws it.

#include "model/data/PtrArray.h"

class AElement;

const int kColumnX = 10;
const int kColumnGap = 10;

// Places the element into the column by its current y: the elements above it stay, those at or
// below it move down by its height + 10, and it takes the place between. The element is appended
// to the list, which is then put into column order.
void InsertIntoColumn(PtrArray<AElement>& column, AElement& element);
// Puts the list into the order of the elements' y positions (equal ones keep their order).
void SortByPosition(PtrArray<AElement>& column);
// Sorts the list by y and lays it out anew from y = 10 without gaps.
void RestackColumn(PtrArray<AElement>& column);
// The area the column needs: rightmost edge + 10 by lowest edge + 10; 0 by 0 for none.
void ColumnExtent(const PtrArray<AElement>& column, int& width, int& height);
