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

class AOutputElem : public AIOElem {
public:
    static const int kDefaultInputs = 1;
    static const int kDefaultOutputs = 1;

    // Clock 1, no stack until CreateData.
    AOutputElem(Architecture* owner, int x, int y);
    AOutputElem(const AOutputElem& other);
    ~AOutputElem() override;

    // Into or from the given stack, or the element's own when null.
    int Read(std::istream& in, FileArgument* target) override;
    int Write(std::ostream& out, int level, FileArgument* source) override;
    void OpenModifyWindow() override;
    void Simulate() override;
    // Every plane cleared, the depth kept; without a delay the output shows it at once.
    void ResetData() override;
    // Closes the window; the stack becomes one empty plane of the new size (depth 1).
    void DimensionChanged() override;
    // The stack := one empty plane of the size of input plane 0.
    void CreateData() override;
    int GetDefaultInputs() override { return kDefaultInputs; }
    int GetDefaultOutputs() override { return kDefaultOutputs; }
    int GetIconWidth() override { return StockIconWidth(kOutput, kDefaultInputs, kDefaultOutputs); }
    int GetIconHeight() override {
        return StockIconHeight(kOutput, kDefaultInputs, kDefaultOutputs);
    }
    Pixmap GetIconPixmap() override {
        return StockIconPixmap(kOutput, kDefaultInputs, kDefaultOutputs);
    }
    void EmitPlane(const Matrix* plane) override;
    AElement* Copy() const override { return new AOutputElem(*this); }

    // The stack; made on first use when the creator has not called CreateData.
    D_OutputElem& GetData();

private:
    std::unique_ptr<D_OutputElem> data;
};
