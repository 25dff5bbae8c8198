#pragma once

// The MACRO_OUTPUT port: inside a macro, the port with number k takes the plane that arrives at
// its input and sets the macro's output k with it, at the time the sub-architecture produced it,
// and schedules the element outside that the macro's output k feeds. It has one input and no
// output, no data of its own, and no modify window.

#include "model/elements/AMacroPortElem.h"
#include "model/elements/ElementType.h"

class AMacroOutputElem : public AMacroPortElem {
public:
    static const int kDefaultInputs = 1;
    static const int kDefaultOutputs = 0;

    AMacroOutputElem(Architecture* owner, int x, int y);
    // Carries the number.
    AMacroOutputElem(const AMacroOutputElem& other);
    ~AMacroOutputElem() override;

    // The macro's output plane at this port's number := input plane 0; the base tail; then the
    // macro is told, so that its show-data windows follow.
    void Simulate() override;
    // The unclocked element the macro's output at this port's number feeds latches now.
    int Propagate() override;
    // Inside a macro: the macro's output at this port's number takes the new plane size, and its
    // outside connection, which no longer fits, goes.
    void DimensionChanged() override;
    int GetDefaultInputs() override { return kDefaultInputs; }
    int GetDefaultOutputs() override { return kDefaultOutputs; }
    int GetIconWidth() override {
        return StockIconWidth(kMacroOutput, kDefaultInputs, kDefaultOutputs);
    }
    int GetIconHeight() override {
        return StockIconHeight(kMacroOutput, kDefaultInputs, kDefaultOutputs);
    }
    Pixmap GetIconPixmap() override {
        return StockIconPixmap(kMacroOutput, kDefaultInputs, kDefaultOutputs);
    }
    AElement* Copy() const override { return new AMacroOutputElem(*this); }

protected:
    const char* NumberKeyword() const override { return "OUTPUT_NR:"; }
    int PortCount(const AElement& macro) const override { return macro.GetOutputCount(); }
};
