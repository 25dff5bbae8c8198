#include "model/elements/ASSeedElem.h"

#include <cstring>
#include <istream>
#include <ostream>

#include "model/elements/ElementType.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"

namespace {

const char kVertical[] = "VERTICAL";
const char kHorizontal[] = "HORIZONTAL";

bool StartsWith(const char* text, const char* word) {
    return std::strncmp(text, word, std::strlen(word)) == 0;
}

} // namespace

D_SSeedElem::D_SSeedElem(int planeWidth, int planeHeight)
    : width(planeWidth), height(planeHeight), orientation(kSSeedVertical),
      state(std::make_unique<Matrix>(Matrix::MadeOnFirstUse(planeWidth, planeHeight))) {}

D_SSeedElem::D_SSeedElem(const D_SSeedElem& other)
    : FileArgument(other), width(other.width), height(other.height), orientation(other.orientation),
      state(std::make_unique<Matrix>(*other.state)) {}

D_SSeedElem& D_SSeedElem::operator=(const D_SSeedElem& other) {
    if (this == &other) return *this;
    width = other.width;
    height = other.height;
    orientation = other.orientation;
    state = std::make_unique<Matrix>(*other.state);
    return *this;
}

int D_SSeedElem::Write(std::ostream& out, int level) const {
    Indent(out, level) << "LOGICAL_DATA {\n";
    Indent(out, level + 1) << "ORIENTATION: "
                           << (orientation == kSSeedHorizontal ? kHorizontal : kVertical) << '\n';
    Indent(out, level) << "}\n";
    return FinishWrite(out);
}

int D_SSeedElem::Read(std::istream& in) {
    char* cursor = EmptyCursor();
    int code;
    if ((code = ExpectKeywords(in, cursor, {"LOGICAL_DATA", "{"})) != kNoError) return code;
    if ((code = ExpectKeyword(in, cursor, "ORIENTATION:")) != kNoError) return code;
    int32_t read;
    if (StartsWith(cursor, kVertical)) {
        read = kSSeedVertical;
    } else if (StartsWith(cursor, kHorizontal)) {
        read = kSSeedHorizontal;
    } else {
        return SetReadError(in, kUnexpectedChar, *cursor != '\0' ? cursor : "ORIENTATION:");
    }
    EndLine(cursor);
    if ((code = ExpectKeyword(in, cursor, "}")) != kNoError) return code;
    orientation = read;
    return kNoError;
}

void ASSeedElem::ResetData() {
    GetData().GetState().UnsetAll();
}

void ASSeedElem::Simulate() {
    Matrix* out = GetOutputPlane(0);
    const Matrix* in = GetInputPlane(0);
    if (out != nullptr && in != nullptr) {
        Matrix& s = GetData().GetState();
        out->UnsetAll();
        // Cells outside a plane read 0 and are not written, whatever sizes the planes have.
        auto pair = [&](int x1, int y1, int x2, int y2) {
            bool a = (*in)(x1, y1), b = (*in)(x2, y2);
            bool s1 = s(x1, y1), s2 = s(x2, y2);
            out->SetBit(x1, y1, a && s1);
            out->SetBit(x2, y2, b && s2);
            s.SetBit(x1, y1, (s1 && a && b) || (!a && b));
            s.SetBit(x2, y2, (s2 && a && b) || (a && !b));
        };
        const int w = in->GetDimX();
        const int h = in->GetDimY();
        switch (GetData().GetOrientation()) {
            case kSSeedVertical:
                for (int y = 0; y + 1 < h; y += 2) {
                    for (int x = 0; x < w; x++)
                        pair(x, y, x, y + 1);
                }
                break;
            case kSSeedHorizontal:
                for (int y = 0; y < h; y++) {
                    for (int x = 0; x + 1 < w; x += 2)
                        pair(x, y, x + 1, y);
                }
                break;
            default:
                break;
        }
    }
    AElement::Simulate();
}
