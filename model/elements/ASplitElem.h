#pragma once

// The SPLIT element: copies the plane at its one input to every output. It has no data; its
// LOGICAL_DATA block is empty. The only type with two default outputs.

#include <iosfwd>

#include "model/elements/AElement.h"
#include "model/elements/ElementType.h"

class ASplitElem : public AElement {
public:
    static const int kDefaultInputs = 1;
    static const int kDefaultOutputs = 2;

    ASplitElem(Architecture* owner, int x, int y);
    ASplitElem(const ASplitElem& other);
    ~ASplitElem() override;

    // Header and the empty LOGICAL_DATA block; the argument is not used.
    int Read(std::istream& in, FileArgument* target) override;
    int Write(std::ostream& out, int level, FileArgument* source) override;
    // Every output plane := input plane 0.
    void Simulate() override;
    int GetDefaultInputs() override { return kDefaultInputs; }
    int GetDefaultOutputs() override { return kDefaultOutputs; }
    int GetIconWidth() override { return StockIconWidth(kSplit, kDefaultInputs, kDefaultOutputs); }
    int GetIconHeight() override {
        return StockIconHeight(kSplit, kDefaultInputs, kDefaultOutputs);
    }
    Pixmap GetIconPixmap() override {
        return StockIconPixmap(kSplit, kDefaultInputs, kDefaultOutputs);
    }
    AElement* Copy() const override { return new ASplitElem(*this); }
};
