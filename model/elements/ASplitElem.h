#pragma once

// The SPLIT element: copies the plane at its one input to every output. It has no data; its
// LOGICAL_DATA block is empty. The only type with two default outputs.

#include <iosfwd>

#include "model/elements/ElementOf.h"
#include "model/elements/ElementType.h"

class ASplitElem : public StockElement<ASplitElem> {
public:
    static constexpr ElementType kType = kSplit;

    ASplitElem(Architecture* owner, int x, int y) : StockElement(owner, x, y) {}

    // Header and the empty LOGICAL_DATA block; the argument is not used.
    int Read(std::istream& in, FileArgument* target) override;
    int Write(std::ostream& out, int level, FileArgument* source) override;
    // Every output plane := input plane 0.
    void Simulate() override;
};
