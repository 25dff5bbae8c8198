#pragma once

// The MACRO_OUTPUT port: inside a macro, the port with number k takes the plane that arrives at
// its input and sets the macro's output k with it, at the time the sub-architecture produced it,
// and schedules the element outside that the macro's output k feeds. It has one input and no
// output, no data of its own, and no modify window.

#include "model/elements/AMacroPortElem.h"
#include "model/elements/ElementOf.h"
#include "model/elements/ElementType.h"

class AMacroOutputElem : public StockElement<AMacroOutputElem, AMacroPortElem> {
public:
    static constexpr ElementType kType = kMacroOutput;

    AMacroOutputElem(Architecture* owner, int x, int y) : StockElement(owner, x, y) {}

    // The macro's output plane at this port's number := input plane 0; the base tail; then the
    // macro is told, so that its show-data windows follow.
    void Simulate() override;
    // The unclocked element the macro's output at this port's number feeds latches now.
    int Propagate() override;
    // Inside a macro: the macro's output at this port's number takes the new plane size, and its
    // outside connection, which no longer fits, goes.
    void DimensionChanged() override;

protected:
    const char* NumberKeyword() const override { return "OUTPUT_NR:"; }
    int PortCount(const AElement& macro) const override { return macro.GetOutputCount(); }
};
