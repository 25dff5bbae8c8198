#include "model/elements/AMaskElem.h"

#include <istream>
#include <ostream>

#include "model/elements/ElementType.h"
#include "model/elements/PlaneCopy.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"

// The mask is made when it is first used: a reader holds one of the declared size before the
// file has shown its rows.
D_MaskElem::D_MaskElem(int width, int height)
    : mask(std::make_unique<Matrix>(Matrix::MadeOnFirstUse(width, height, 1))) {}

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
    if ((code = ExpectKeywords(in, cursor, {"LOGICAL_DATA", "{"})) != kNoError) return code;
    if ((code = ExpectKeyword(in, cursor, "MASK:")) != kNoError) return code;
    Matrix read = Matrix::MadeOnFirstUse(mask->GetDimX(), mask->GetDimY());
    if ((code = read.Read(in, nullptr)) != kNoError) return code;
    // The matrix reader has replaced the line; the rest of its last line is not ours.
    cursor = EmptyCursor();
    if ((code = ExpectKeyword(in, cursor, "}")) != kNoError) return code;
    *mask = read;
    return kNoError;
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
