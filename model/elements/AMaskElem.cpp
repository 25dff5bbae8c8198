#include "model/elements/AMaskElem.h"

#include <istream>
#include <ostream>

#include "model/elements/ElementType.h"
#include "model/elements/PlaneCopy.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"

D_MaskElem::D_MaskElem(int width, int height) : mask(std::make_unique<Matrix>(width, height, 1)) {}

D_MaskElem::D_MaskElem(const D_MaskElem& other)
    : FileArgument(other), mask(std::make_unique<Matrix>(*other.mask)) {}

D_MaskElem& D_MaskElem::operator=(const D_MaskElem& other) {
    if (this != &other) *mask = *other.mask;
    return *this;
}

int D_MaskElem::Write(std::ostream& out, int level) const {
    Indent(out, level) << "LOGICAL_DATA {\n";
    Indent(out, level + 1) << "MASK:\n";
    mask->Write(out, level + 2, nullptr);
    Indent(out, level) << "}\n";
    return FinishWrite(out);
}

int D_MaskElem::Read(std::istream& in) {
    char* cursor = EmptyCursor();
    int code;
    if ((code = ExpectKeyword(in, cursor, "LOGICAL_DATA")) != kNoError) return code;
    if ((code = ExpectKeyword(in, cursor, "{")) != kNoError) return code;
    if ((code = ExpectKeyword(in, cursor, "MASK:")) != kNoError) return code;
    Matrix read(mask->GetDimX(), mask->GetDimY());
    if ((code = read.Read(in, nullptr)) != kNoError) return code;
    // The matrix reader has replaced the line; the rest of its last line is not ours.
    cursor = EmptyCursor();
    if ((code = ExpectKeyword(in, cursor, "}")) != kNoError) return code;
    *mask = read;
    return kNoError;
}

AMaskElem::AMaskElem(Architecture* owner, int x, int y)
    : AElement(owner, kMask, x, y, kDefaultInputs, kDefaultOutputs) {
    UpdateIcon();
}

AMaskElem::AMaskElem(const AMaskElem& other) : AElement(other) {
    UpdateIcon();
    if (other.data != nullptr) data = std::make_unique<D_MaskElem>(*other.data);
}

AMaskElem::~AMaskElem() {
    CloseWindows();
}

D_MaskElem& AMaskElem::GetData() {
    if (data == nullptr) CreateData();
    return *data;
}

void AMaskElem::CreateData() {
    // An open editor works on a copy of the data that is being replaced.
    if (data != nullptr) CloseModifyWindow();
    data = std::make_unique<D_MaskElem>(GetInputPlaneWidth(0), GetInputPlaneHeight(0));
}

void AMaskElem::DimensionChanged() {
    CloseModifyWindow();
    data.reset();
    CreateData();
}

void AMaskElem::OpenModifyWindow() {
    OpenTypeModifyWindow(&GetData());
}

int AMaskElem::Read(std::istream& in, FileArgument* target) {
    ElementHeader header;
    int code = ParseHeader(in, header);
    if (code != kNoError) return code;
    // The mask has the size the header gives input plane 0; the element changes only once the
    // whole block has been read.
    PlaneSize size = {GetInputPlaneWidth(0), GetInputPlaneHeight(0)};
    if (!header.inputSizes.empty()) size = header.inputSizes[0];
    D_MaskElem read(size.width, size.height);
    if ((code = read.Read(in)) != kNoError) return code;
    ApplyHeader(header, target);
    if (data != nullptr && SamePlaneSize(data->GetMask(), read.GetMask())) {
        *data = read;
    } else {
        CloseModifyWindow();
        data = std::make_unique<D_MaskElem>(read);
    }
    return kNoError;
}

int AMaskElem::Write(std::ostream& out, int level, FileArgument*) {
    if (WriteHeader(out, level) != 0) return FinishWrite(out);
    return GetData().Write(out, level);
}

void AMaskElem::Simulate() {
    Matrix* out = GetOutputPlane(0);
    const Matrix* in = GetInputPlane(0);
    if (out != nullptr && in != nullptr) {
        const Matrix& mask = GetData().GetMask();
        if (SamePlaneSize(*out, *in) && SamePlaneSize(*in, mask)) {
            out->AndOf(*in, mask);
        } else {
            Matrix scratch(1, 1);
            Matrix masked = FitPlane(mask, *in, scratch);
            masked.And(*in);
            CopyPlane(*out, masked);
        }
    }
    AElement::Simulate();
}
