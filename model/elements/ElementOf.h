#pragma once

// The bases of the stock element types. StockElement gives a type the five type statics and Copy
// from its row (ElementRow, a static kRow of the type). ElementOf adds the data object: an element
// type is its data class, its Simulate and its row. ElementOf owns the data object, makes it on
// first use, copies it with the element and reads and writes the element block the one way every
// type does: the target check, ParseHeader, the LOGICAL_DATA block read into the given data object
// or into a fresh one, ApplyHeader, and only then the fresh one taken, so that a failed read
// leaves the element as it was.
//
// A type changes a step by declaring a public function of the same name; the base calls the
// type's version (Elem is the type itself):
//   static std::unique_ptr<Data> NewData(const PlaneSize& in, const PlaneSize& out)
//       fresh data for planes of those sizes (input 0, output 0); default Data(in.width,
//       in.height).
//   int ReadData(Data& into, std::istream& in, bool own)   default into.Read(in).
//   void TakeData(std::unique_ptr<Data> read)              default: it becomes the data.
//   void TookHeader(Data& into)     after a read into given data has applied the header.
//   void ReadIntoDone(int code)     after a read into given data: the open modify window shows a
//       successful one anew.
//   Data& SavedData()               what Write writes without a source; default the data.

#include <iostream>
#include <istream>
#include <memory>
#include <ostream>
#include <utility>

#include "model/elements/AElement.h"
#include "model/elements/ElementHeader.h"
#include "model/elements/ElementUi.h"

// Of the text format; declared here so that the element headers do not bring its names along.
int FinishWrite(std::ostream& out);

// What an element type is in the type table.
struct ElementRow {
    uint32_t type;
    int inputs; // default pin counts
    int outputs;
    const char* className; // names the type in messages
    // What a wrong target or source is not ("JOIN rule"); null for a type that reads and writes
    // only its own data and does not look at the argument.
    const char* dataName;
};

// The type statics of a type with a stock icon, taken from its row, and the copy by its own class.
template <class Elem, class Base = AElement> class StockElement : public Base {
public:
    int GetDefaultInputs() override { return Elem::kRow.inputs; }
    int GetDefaultOutputs() override { return Elem::kRow.outputs; }
    int GetIconWidth() override {
        return AElement::StockIconWidth(Elem::kRow.type, Elem::kRow.inputs, Elem::kRow.outputs);
    }
    int GetIconHeight() override {
        return AElement::StockIconHeight(Elem::kRow.type, Elem::kRow.inputs, Elem::kRow.outputs);
    }
    Pixmap GetIconPixmap() override {
        return AElement::StockIconPixmap(Elem::kRow.type, Elem::kRow.inputs, Elem::kRow.outputs);
    }
    AElement* Copy() const override { return new Elem(static_cast<const Elem&>(*this)); }

protected:
    // The type's code and default pin counts; the icon is the stock one until pins or name change.
    StockElement(Architecture* owner, int x, int y)
        : Base(owner, Elem::kRow.type, x, y, Elem::kRow.inputs, Elem::kRow.outputs) {
        this->UpdateIcon();
    }
    StockElement(const StockElement& other) : Base(other) { this->UpdateIcon(); }
    ~StockElement() override { this->CloseWindows(); }
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
        data = Elem::NewData(PlaneOf(this->GetInputPlane(0)), PlaneOf(this->GetOutputPlane(0)));
    }

    // The data object; made on first use when the creator has not called CreateData.
    Data& GetData() {
        if (data == nullptr) CreateData();
        return *data;
    }

    // The steps a type may replace.
    static std::unique_ptr<Data> NewData(const PlaneSize& in, const PlaneSize&) {
        return std::make_unique<Data>(in.width, in.height);
    }
    int ReadData(Data& into, std::istream& in, bool) { return into.Read(in); }
    void TakeData(std::unique_ptr<Data> read) { data = std::move(read); }
    void TookHeader(Data&) {}
    void ReadIntoDone(int code) {
        if (code == 0 && this->GetModifyWindow() != nullptr) {
            this->GetModifyWindow()->Rebuild();
        }
    }
    Data& SavedData() { return GetData(); }
    // Readers and writers answer 0 or the error code they recorded.

protected:
    ElementOf(Architecture* owner, int x, int y) : StockElement<Elem, Base>(owner, x, y) {}
    ElementOf(const ElementOf& other)
        : StockElement<Elem, Base>(other),
          data(other.data != nullptr ? std::make_unique<Data>(*other.data) : nullptr) {}
    // No window outlives the data it shows.
    ~ElementOf() override { this->CloseWindows(); }

    std::unique_ptr<Data> data;

private:
    static PlaneSize PlaneOf(const Matrix* plane) {
        return plane != nullptr ? PlaneSize{plane->GetDimX(), plane->GetDimY()} : PlaneSize{0, 0};
    }
    // The size a header gives pin 0 of a side, else the size the pin has now.
    static PlaneSize SizeOf(const std::vector<PlaneSize>& sizes, const Matrix* plane) {
        return sizes.empty() ? PlaneOf(plane) : sizes[0];
    }
    // The argument as this type's data; null, with a message, when it is another kind of object.
    Data* DataArgument(FileArgument* argument, const char* operation, const char* role) const {
        if (Elem::kRow.dataName == nullptr || argument == nullptr) return nullptr;
        Data* given = dynamic_cast<Data*>(argument);
        if (given == nullptr) {
            std::cerr << Elem::kRow.className << "::" << operation << ": the " << role << " is no "
                      << Elem::kRow.dataName << std::endl;
        }
        return given;
    }
};

template <class Elem, class Data, class Base>
int ElementOf<Elem, Data, Base>::Read(std::istream& in, FileArgument* target) {
    Elem& self = static_cast<Elem&>(*this);
    Data* into = DataArgument(target, "Read", "target");
    ElementHeader header;
    int code = this->ParseHeader(in, header);
    if (code != 0) return code;
    if (into != nullptr) {
        code = self.ReadData(*into, in, false);
        if (code == 0) {
            this->ApplyHeader(header, into);
            self.TookHeader(*into);
        }
        self.ReadIntoDone(code);
        return code;
    }
    std::unique_ptr<Data> read = Elem::NewData(SizeOf(header.inputSizes, this->GetInputPlane(0)),
                                               SizeOf(header.outputSizes, this->GetOutputPlane(0)));
    if ((code = self.ReadData(*read, in, true)) != 0) return code;
    // Makes fresh data for the header's planes, which the read data then replaces.
    this->ApplyHeader(header, nullptr);
    self.TakeData(std::move(read));
    return 0;
}

template <class Elem, class Data, class Base>
int ElementOf<Elem, Data, Base>::Write(std::ostream& out, int level, FileArgument* source) {
    Data* from = DataArgument(source, "Write", "source");
    if (from == nullptr) from = &static_cast<Elem&>(*this).SavedData();
    if (this->WriteHeader(out, level) != 0) return FinishWrite(out);
    return from->Write(out, level);
}
