#pragma once

// A minimal element type for the tests of the element base: its data object is one number in a
// "LOGICAL_DATA { VALUE: n }" block, its step copies input 0 to every output, and it reads the
// way every type does, so that a failed read leaves it as it was.

#include <istream>
#include <ostream>

#include "model/data/Architecture.h"
#include "model/elements/AElement.h"
#include "model/elements/ElementType.h"
#include "model/elements/IconGeometry.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"

struct D_TestElem : public FileArgument {
    int32_t value = 0;
};

class ATestElem : public AElement {
public:
    ATestElem(Architecture* owner, int x, int y, uint32_t type = kMask, int inputs = 1,
              int outputs = 1)
        : AElement(owner, type, x, y, inputs, outputs), defaultInputs(inputs),
          defaultOutputs(outputs) {
        UpdateIcon();
    }
    ATestElem(const ATestElem& other)
        : AElement(other), defaultInputs(other.defaultInputs),
          defaultOutputs(other.defaultOutputs) {
        UpdateIcon();
        if (other.data != nullptr) data = new D_TestElem(*other.data);
    }
    ~ATestElem() override {
        CloseWindows();
        delete data;
    }

    AElement* Copy() const override { return new ATestElem(*this); }

    int Read(std::istream& in, FileArgument* target) override {
        ElementHeader header;
        if (ParseHeader(in, header) != kNoError) return GetParseError();
        D_TestElem read;
        char* cursor = EmptyCursor();
        int code = ExpectKeyword(in, cursor, "LOGICAL_DATA");
        if (code == kNoError) code = ExpectKeyword(in, cursor, "{");
        if (code == kNoError) code = ExpectKeyword(in, cursor, "VALUE:");
        if (code == kNoError) {
            code = ParseInt(cursor, read.value);
            if (code != kNoError) code = SetReadError(in, code, "VALUE:");
        }
        if (code == kNoError) code = ExpectKeyword(in, cursor, "}");
        if (code != kNoError) return code;
        ApplyHeader(header, target);
        D_TestElem* into = target != nullptr ? static_cast<D_TestElem*>(target) : data;
        if (into != nullptr) *into = read;
        return kNoError;
    }

    int Write(std::ostream& out, int level, FileArgument* source) override {
        if (WriteHeader(out, level) != 0) return SetWriteError(out, kIoError, nullptr);
        const D_TestElem* from = source != nullptr ? static_cast<D_TestElem*>(source) : data;
        Indent(out, level) << "LOGICAL_DATA {\n";
        Indent(out, level + 1) << "VALUE: " << (from != nullptr ? from->value : 0) << '\n';
        Indent(out, level) << "}\n";
        return FinishWrite(out);
    }

    void OpenModifyWindow() override { OpenTypeModifyWindow(data); }

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
    void CreateData() override {
        delete data;
        data = new D_TestElem;
    }

    int GetDefaultInputs() override { return defaultInputs; }
    int GetDefaultOutputs() override { return defaultOutputs; }
    int GetIconWidth() override { return StockIconWidth(GetType(), defaultInputs, defaultOutputs); }
    int GetIconHeight() override {
        return StockIconHeight(GetType(), defaultInputs, defaultOutputs);
    }
    Pixmap GetIconPixmap() override {
        return StockIconPixmap(GetType(), defaultInputs, defaultOutputs);
    }

    D_TestElem* data = nullptr;
    int simulations = 0;
    int resets = 0;
    int dimensionChanges = 0;

private:
    int defaultInputs;
    int defaultOutputs;
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
