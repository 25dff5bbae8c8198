#pragma once

// A minimal element type for the tests of the element base: the shared test element (one number
// as its data) whose step copies input 0 to every output and counts steps, resets and dimension
// changes.

#include <istream>
#include <ostream>

#include "model/data/Architecture.h"
#include "model/elements/AElement.h"
#include "model/elements/ElementType.h"
#include "model/elements/IconGeometry.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"
#include "tests/model/elements/TestElementBase.h"

class ATestElem : public TestElementBase {
public:
    ATestElem(Architecture* owner, int x, int y, uint32_t type = kMask, int inputs = 1,
              int outputs = 1)
        : TestElementBase(owner, type, x, y, inputs, outputs) {
        UpdateIcon();
    }
    ATestElem(const ATestElem& other) : TestElementBase(other) { UpdateIcon(); }

    AElement* Copy() const override { return new ATestElem(*this); }

    void Simulate() override {
        for (int i = 0; i < GetOutputCount(); i++)
            *GetOutputPlane(i) = *GetInputPlane(0);
        simulations++;
        AElement::Simulate();
    }
    void ResetData() override { resets++; }
    void DimensionChanged() override {
        CloseModifyWindow();
        dimensionChanges++;
    }
    Pixmap GetIconPixmap() override {
        return StockIconPixmap(GetType(), GetDefaultInputs(), GetDefaultOutputs());
    }

    int simulations = 0;
    int resets = 0;
    int dimensionChanges = 0;
};

// A MACRO-like element: an element and an architecture at once.
class ATestMacro : public AElement, public Architecture {
public:
    ATestMacro(Architecture* owner, int x, int y) : AElement(owner, kMacro, x, y, 0, 0) {
        UpdateIcon();
    }
    ATestMacro(const ATestMacro& other) : AElement(other), Architecture(other) { UpdateIcon(); }
    ~ATestMacro() override {
        while (GetElements().GetCount() > 0)
            delete GetElements()[0];
    }
    AElement* Copy() const override { return new ATestMacro(*this); }
    int Read(std::istream&, FileArgument*) override { return 0; }
    int Write(std::ostream&, int, FileArgument*) override { return 0; }
    int IsMacro() const override { return 1; }
    int GetDefaultInputs() override { return 0; }
    int GetDefaultOutputs() override { return 0; }
    int GetIconWidth() override { return kIconWidth; }
    int GetIconHeight() override { return 30; }
    Pixmap GetIconPixmap() override { return 0; }
};
