#pragma once

// What the test element types of the model's and of the editors' tests share: the data object, one
// number in a "LOGICAL_DATA { VALUE: n }" block, read the way every type reads, so that a failed
// read leaves the element as it was, and written back; the pin counts it was made with are its
// defaults. Each test suite derives its own ATestElem with the steps it looks at.

#include <istream>
#include <ostream>

#include "model/elements/AElement.h"
#include "model/elements/ElementHeader.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"

struct D_TestElem : public FileArgument {
    int32_t value = 0;
};

class TestElementBase : public AElement {
public:
    ~TestElementBase() override {
        CloseWindows();
        delete data;
    }

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
        TakeRead(header, target, read);
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

    D_TestElem* data = nullptr;

protected:
    TestElementBase(Architecture* owner, uint32_t type, int x, int y, int inputs, int outputs)
        : AElement(owner, type, x, y, inputs, outputs), defaultInputs(inputs),
          defaultOutputs(outputs) {}
    TestElementBase(const TestElementBase& other)
        : AElement(other), defaultInputs(other.defaultInputs),
          defaultOutputs(other.defaultOutputs) {
        if (other.data != nullptr) data = new D_TestElem(*other.data);
    }

    // After the whole block has read: the header applied, the number in the target or in fresh
    // data.
    virtual void TakeRead(const ElementHeader& header, FileArgument* target,
                          const D_TestElem& read) {
        ApplyHeader(header);
        if (target == nullptr) CreateData();
        D_TestElem* into = target != nullptr ? static_cast<D_TestElem*>(target) : data;
        *into = read;
    }

private:
    int defaultInputs;
    int defaultOutputs;
};
