#pragma once

// The MACRO_INPUT port: inside a macro, the port with number k hands the plane at the macro's
// input k to the element its output feeds. It has no input and one output, no data of its own,
// and no modify window. The macro copies the plane into the port's output when it computes, so
// the port's own step only records the time.

#include "model/elements/AMacroPortElem.h"
#include "model/elements/ElementOf.h"
#include "model/elements/ElementType.h"

class AMacroInputElem : public StockElement<AMacroInputElem, AMacroPortElem> {
public:
    static constexpr ElementType kType = kMacroInput;

    AMacroInputElem(Architecture* owner, int x, int y) : StockElement(owner, x, y) {}

    // The base tail: the macro has set the output plane already.
    void Simulate() override;
    // Inside a macro: the macro's input at this port's number takes the new plane size, and its
    // outside connection, which no longer fits, goes.
    void DimensionChanged() override;

protected:
    const char* NumberKeyword() const override { return "INPUT_NR:"; }
    int PortCount(const AElement& macro) const override { return macro.GetInputCount(); }
};
