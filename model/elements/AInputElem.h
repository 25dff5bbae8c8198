#pragma once

// The INPUT element: feeds its stack into the architecture, one plane per computation, and
// records what arrives at its input in the place of the plane it has just emitted. It keeps two
// stacks: the working one that the simulation and the plane window use, and the stored one that
// files hold and every reset copies back into the working one.

#include <iosfwd>
#include <memory>

#include "model/elements/AIOElem.h"
#include "model/elements/ElementType.h"

class D_InputElem : public D_IOElem {
public:
    D_InputElem(int width, int height, int count) : D_IOElem(width, height, count) {}

    // "LOGICAL_DATA {", the XY_PLANE_DATA block one level deeper, "}". Reading needs planes of the
    // size the file holds.
    int Write(std::ostream& out, int level) override;
    int Read(std::istream& in) override;
};

class AInputElem : public AIOElem {
public:
    static const int kDefaultInputs = 1;
    static const int kDefaultOutputs = 1;

    // Clock 1, no stacks until CreateData.
    AInputElem(Architecture* owner, int x, int y);
    AInputElem(const AInputElem& other);
    ~AInputElem() override;

    // Into or from the given stack, or the stored one when null; reading into the stored stack
    // copies it into the working one.
    int Read(std::istream& in, FileArgument* target) override;
    int Write(std::ostream& out, int level, FileArgument* source) override;
    // The plane window on the working stack.
    void OpenModifyWindow() override;
    void Simulate() override;
    // working := stored; without a delay the first plane is at the output at once.
    void ResetData() override;
    // Closes the window; both stacks become one empty plane of the new size.
    void DimensionChanged() override;
    // Both stacks := one empty plane of the size of input plane 0.
    void CreateData() override;
    int GetDefaultInputs() override { return kDefaultInputs; }
    int GetDefaultOutputs() override { return kDefaultOutputs; }
    int GetIconWidth() override { return StockIconWidth(kInput, kDefaultInputs, kDefaultOutputs); }
    int GetIconHeight() override {
        return StockIconHeight(kInput, kDefaultInputs, kDefaultOutputs);
    }
    Pixmap GetIconPixmap() override {
        return StockIconPixmap(kInput, kDefaultInputs, kDefaultOutputs);
    }
    void EmitPlane(const Matrix* plane) override;
    AElement* Copy() const override { return new AInputElem(*this); }

    // The stacks; made on first use when the creator has not called CreateData.
    D_InputElem& GetWorkingData();
    D_InputElem& GetStoredData();

private:
    std::unique_ptr<D_InputElem> working;
    std::unique_ptr<D_InputElem> stored;
};
