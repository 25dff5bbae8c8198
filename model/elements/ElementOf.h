#pragma once

// The bases of the stock element types. StockElement gives a type the five type statics and Copy
// from its row in the type list (ElementType.h; the type's static kType names it). ElementOf adds
// the data object: an element type is its data class, its Simulate and its row. ElementOf owns the
// data object, makes it on first use, copies it with the element and reads and writes the element
// block the one way every type does: the target check, ParseHeader, the LOGICAL_DATA block read
// into the given data object or into a fresh one, ApplyHeader, and only then the fresh one taken,
// so that a failed read leaves the element as it was.
//
// The steps are protected virtual functions: a type must give the first two and may override the
// others; the compiler checks the name and the signature of every override:
//   NewData(in, out)        fresh data for planes of those sizes (input 0, output 0).
//   ReadData(into, in, own) the LOGICAL_DATA block into the data; own when it is the element's
//       fresh data, not a given object.
//   TakeData(read)          after a read into the element's own data: read becomes the data, and
//       the windows that edit the data being replaced go first.
//   TookHeader(into)        after a read into given data has applied the header.
//   ReadIntoDone(code)      after a read into given data: the open modify window shows a
//       successful one anew.
//   SavedData()             what Write writes without a source; default the data.

#include <iostream>
#include <istream>
#include <memory>
#include <ostream>
#include <utility>

#include "model/elements/AElement.h"
#include "model/elements/ElementHeader.h"
#include "model/elements/ElementType.h"
#include "model/elements/ElementUi.h"

// Of the text format; declared here so that the element headers do not bring its names along.
int FinishWrite(std::ostream& out);

// The type statics of a type with a stock icon, taken from its row, and the copy by its own class.
template <class Elem, class Base = AElement> class StockElement : public Base {
public:
    // The type's row in the type list (Elem::kType names it).
    static const ElementRow& Row() { return *FindElementRow(Elem::kType); }

    int GetDefaultInputs() override { return Row().inputs; }
    int GetDefaultOutputs() override { return Row().outputs; }
    int GetIconWidth() override {
        return AElement::StockIconWidth(Elem::kType, Row().inputs, Row().outputs);
    }
    int GetIconHeight() override {
        return AElement::StockIconHeight(Elem::kType, Row().inputs, Row().outputs);
    }
    Pixmap GetIconPixmap() override {
        return AElement::StockIconPixmap(Elem::kType, Row().inputs, Row().outputs);
    }
    AElement* Copy() const override { return new Elem(static_cast<const Elem&>(*this)); }

protected:
    // The type's code and default pin counts; the icon is the stock one until pins or name change.
    StockElement(Architecture* owner, int x, int y)
        : Base(owner, Elem::kType, x, y, Row().inputs, Row().outputs) {
        this->UpdateIcon();
    }
    StockElement(const StockElement& other) : Base(other) { this->UpdateIcon(); }
};

template <class Elem, class Data, class Base = AElement>
class ElementOf : public StockElement<Elem, Base> {
public:
    // Into or from the given data object, or the element's own when null (see above).
    int Read(std::istream& in, FileArgument* target) override;
    int Write(std::ostream& out, int level, FileArgument* source) override;
    // The modify window on the element's own data.
    void OpenModifyWindow() override { this->OpenTypeModifyWindow(&GetData()); }
    // The data and any editor are discarded: fresh data of the new size.
    void DimensionChanged() override {
        this->CloseModifyWindow();
        data.reset();
        CreateData();
    }
    // data := fresh data for the current planes; an open editor works on the data being replaced.
    void CreateData() override {
        if (data != nullptr) this->CloseModifyWindow();
        data = NewData(PlaneOf(this->GetInputPlane(0)), PlaneOf(this->GetOutputPlane(0)));
    }

    // The data object; made on first use when the creator has not called CreateData.
    Data& GetData() {
        if (data == nullptr) CreateData();
        return *data;
    }
    // Readers and writers answer 0 or the error code they recorded.

protected:
    ElementOf(Architecture* owner, int x, int y) : StockElement<Elem, Base>(owner, x, y) {}
    ElementOf(const ElementOf& other)
        : StockElement<Elem, Base>(other), data(CopyOf(other.data)), stored(CopyOf(other.stored)) {}
    // The one place the windows close: no window outlives the data it shows.
    ~ElementOf() override { this->CloseWindows(); }

    // The steps every type spells out, and those it may replace.
    virtual std::unique_ptr<Data> NewData(const PlaneSize& in, const PlaneSize& out) const = 0;
    virtual int ReadData(Data& into, std::istream& in, bool own) = 0;
    virtual void TakeData(std::unique_ptr<Data> read) {
        if (data != nullptr) this->CloseModifyWindow();
        data = std::move(read);
    }
    virtual void TookHeader(Data&) {}
    virtual void ReadIntoDone(int code) {
        if (code == 0 && this->GetModifyWindow() != nullptr) {
            this->GetModifyWindow()->Rebuild();
        }
    }
    virtual Data& SavedData() { return GetData(); }

    std::unique_ptr<Data> data;
    // A second data object a type keeps beside the data (INPUT's stored stack); null for the
    // others. It goes with the data, after the windows.
    std::unique_ptr<Data> stored;

private:
    static std::unique_ptr<Data> CopyOf(const std::unique_ptr<Data>& from) {
        return from != nullptr ? std::make_unique<Data>(*from) : nullptr;
    }
    static PlaneSize PlaneOf(const Matrix* plane) {
        return plane != nullptr ? PlaneSize{plane->GetDimX(), plane->GetDimY()} : PlaneSize{0, 0};
    }
    // The size a header gives pin 0 of a side, else the size the pin has now.
    static PlaneSize SizeOf(const std::vector<PlaneSize>& sizes, const Matrix* plane) {
        return sizes.empty() ? PlaneOf(plane) : sizes[0];
    }
    // The argument as this type's data; null, with a message, when it is another kind of object.
    Data* DataArgument(FileArgument* argument, const char* operation, const char* role) const {
        const ElementRow& row = StockElement<Elem, Base>::Row();
        if (row.dataName == nullptr || argument == nullptr) return nullptr;
        Data* given = dynamic_cast<Data*>(argument);
        if (given == nullptr) {
            std::cerr << row.className << "::" << operation << ": the " << role << " is no "
                      << row.dataName << std::endl;
        }
        return given;
    }
};

template <class Elem, class Data, class Base>
int ElementOf<Elem, Data, Base>::Read(std::istream& in, FileArgument* target) {
    Data* into = DataArgument(target, "Read", "target");
    ElementHeader header;
    int code = this->ParseHeader(in, header);
    if (code != 0) return code;
    if (into != nullptr) {
        code = ReadData(*into, in, false);
        if (code == 0) {
            this->ApplyHeader(header);
            TookHeader(*into);
        }
        ReadIntoDone(code);
        return code;
    }
    // The data is made once, for the header's planes, and taken only when the block has read.
    std::unique_ptr<Data> read = NewData(SizeOf(header.inputSizes, this->GetInputPlane(0)),
                                         SizeOf(header.outputSizes, this->GetOutputPlane(0)));
    if ((code = ReadData(*read, in, true)) != 0) return code;
    this->ApplyHeader(header);
    TakeData(std::move(read));
    return 0;
}

template <class Elem, class Data, class Base>
int ElementOf<Elem, Data, Base>::Write(std::ostream& out, int level, FileArgument* source) {
    Data* from = DataArgument(source, "Write", "source");
    if (from == nullptr) from = &SavedData();
    if (this->WriteHeader(out, level) != 0) return FinishWrite(out);
    return from->Write(out, level);
}
