#pragma once

// The OUTPUT element: records the planes that arrive at its input in a stack of a chosen depth
// and passes on the plane recorded that many computations earlier. Only the depth is saved; a
// reset clears every recorded plane.

#include <iosfwd>
#include <memory>

#include "model/elements/AIOElem.h"
#include "model/elements/ElementType.h"

class D_OutputElem : public D_IOElem {
public:
    D_OutputElem(int width, int height, int count) : D_IOElem(width, height, count) {}

    // "LOGICAL_DATA {", "NUMBER_PLANES:" and the depth, "}"; the recorded planes are never
    // written. Reading makes that many empty planes of the holder's size.
    int Write(std::ostream& out, int level) override;
    int Read(std::istream& in) override;
};

class AOutputElem : public IOElementOf<AOutputElem, D_OutputElem> {
public:
    static constexpr ElementType kType = kOutput;

    // Clock 1, no stack until CreateData, which makes one empty plane of the size of input plane
    // 0; a dimension change closes the window and makes it anew (depth 1).
    AOutputElem(Architecture* owner, int x, int y) : IOElementOf(owner, x, y) {}

    // Every plane cleared, the depth kept; without a delay the output shows it at once.
    void ResetData() override;
};
