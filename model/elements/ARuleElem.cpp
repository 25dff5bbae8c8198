#include "model/elements/ARuleElem.h"

#include <cstring>
#include <iostream>
#include <istream>
#include <ostream>
#include <utility>

#include "model/elements/ElementType.h"
#include "model/elements/ElementUi.h"
#include "model/elements/PlaneCopy.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"

namespace {

std::unique_ptr<Matrix> CopyOf(const Matrix* matrix) {
    return matrix != nullptr ? std::make_unique<Matrix>(*matrix) : nullptr;
}

// A keyword alone on its line, then a MATRIX block two levels deeper.
int WriteMatrixSection(std::ostream& out, int level, const char* keyword, Matrix& matrix) {
    Indent(out, level + 1) << keyword << '\n';
    return matrix.Write(out, level + 2, nullptr);
}

// The keyword, then a MATRIX block of exactly the matrix's size into it. The matrix reader has
// replaced the line, so the rest of the block's last line is not looked at.
int ReadMatrixSection(std::istream& in, char*& cursor, const char* keyword, Matrix& matrix) {
    int code = ExpectKeyword(in, cursor, keyword);
    if (code != kNoError) return code;
    code = matrix.Read(in, nullptr);
    cursor = EmptyCursor();
    return code;
}

} // namespace

D_RuleElem::D_RuleElem(int width, int height)
    : mask(std::make_unique<D_MaskElem>(width, height)), maxWidth(width), maxHeight(height) {}

D_RuleElem::D_RuleElem(const D_RuleElem& other)
    : FileArgument(other), search(CopyOf(other.search.get())),
      substitution(CopyOf(other.substitution.get())),
      mask(other.mask != nullptr ? std::make_unique<D_MaskElem>(*other.mask) : nullptr),
      maxWidth(other.maxWidth), maxHeight(other.maxHeight) {}

D_RuleElem& D_RuleElem::operator=(const D_RuleElem& other) {
    if (this == &other) return *this;
    auto assign = [](std::unique_ptr<Matrix>& to, const Matrix* from) {
        if (from == nullptr) {
            to.reset();
        } else if (to != nullptr) {
            *to = *from;
        } else {
            to = std::make_unique<Matrix>(*from);
        }
    };
    assign(search, other.search.get());
    assign(substitution, other.substitution.get());
    if (other.mask == nullptr) {
        mask.reset();
    } else if (mask != nullptr) {
        *mask = *other.mask;
    } else {
        mask = std::make_unique<D_MaskElem>(*other.mask);
    }
    maxWidth = other.maxWidth;
    maxHeight = other.maxHeight;
    return *this;
}

bool D_RuleElem::IsComplete() const {
    return search != nullptr && substitution != nullptr && mask != nullptr;
}

int D_RuleElem::Write(std::ostream& out, int level) const {
    Indent(out, level) << "LOGICAL_DATA {\n";
    if (IsComplete()) {
        Indent(out, level + 1) << "PATTERN_DIMENSION: (" << search->GetDimX() << ','
                               << search->GetDimY() << ")\n";
        int code = WriteMatrixSection(out, level, "SEARCH_PATTERN:", *search);
        if (code == kNoError) {
            code = WriteMatrixSection(out, level, "SUBSTITUTION_PATTERN:", *substitution);
        }
        if (code == kNoError) code = WriteMatrixSection(out, level, "MASK:", mask->GetMask());
        if (code != kNoError) return code;
    } else {
        Indent(out, level + 1) << "NOT_DEFINED\n";
    }
    Indent(out, level) << "}\n";
    return FinishWrite(out);
}

int D_RuleElem::Read(std::istream& in) {
    char* cursor = EmptyCursor();
    int code;
    if ((code = ExpectKeywords(in, cursor, {"LOGICAL_DATA", "{"})) != kNoError) return code;
    if ((code = ReadRequiredLine(in, cursor)) != kNoError) return code;
    if (std::strncmp(cursor, "NOT_DEFINED", std::strlen("NOT_DEFINED")) == 0) {
        EndLine(cursor);
        return ExpectKeyword(in, cursor, "}");
    }

    if ((code = ExpectKeyword(in, cursor, "PATTERN_DIMENSION:")) != kNoError) return code;
    int32_t w = 0, h = 0;
    if ((code = ParsePair(cursor, w, h)) != kNoError) {
        return SetReadError(in, code, "PATTERN_DIMENSION:");
    }
    if (w < 1 || w > maxWidth || h < 1 || h > maxHeight) {
        return SetReadError(in, kRuleDimensionError, "PATTERN_DIMENSION:");
    }
    // Everything is read aside, so that a failure leaves the data as it was; the planes are made
    // as their rows are read.
    Matrix readSearch = Matrix::MadeOnFirstUse(w, h);
    Matrix readSubstitution = Matrix::MadeOnFirstUse(w, h);
    D_MaskElem readMask(maxWidth, maxHeight);
    if ((code = ReadMatrixSection(in, cursor, "SEARCH_PATTERN:", readSearch)) != kNoError) {
        return code;
    }
    code = ReadMatrixSection(in, cursor, "SUBSTITUTION_PATTERN:", readSubstitution);
    if (code != kNoError) return code;
    if ((code = ReadMatrixSection(in, cursor, "MASK:", readMask.GetMask())) != kNoError) {
        return code;
    }
    if ((code = ExpectKeyword(in, cursor, "}")) != kNoError) return code;
    search = std::make_unique<Matrix>(std::move(readSearch));
    substitution = std::make_unique<Matrix>(std::move(readSubstitution));
    mask = std::make_unique<D_MaskElem>(readMask);
    return kNoError;
}

ARuleElem::ARuleElem(Architecture* owner, int x, int y)
    : ElementOf(owner, x, y), maskWindowWidth(300), maskWindowHeight(460), maskWindowZoom(100) {}

int ARuleElem::IsDefined() {
    const D_RuleElem& rule = GetData();
    return rule.GetSearch() != nullptr && rule.GetSubstitution() != nullptr ? 1 : 0;
}

void ARuleElem::SetMaskWindowSize(int mwidth, int mheight) {
    maskWindowWidth = static_cast<int16_t>(mwidth);
    maskWindowHeight = static_cast<int16_t>(mheight);
}

void ARuleElem::GetMaskWindowSize(int& mwidth, int& mheight) const {
    mwidth = maskWindowWidth;
    mheight = maskWindowHeight;
}

void ARuleElem::Simulate() {
    Matrix* out = GetOutputPlane(0);
    const Matrix* in = GetInputPlane(0);
    const D_RuleElem& rule = GetData();
    const Matrix* search = rule.GetSearch();
    const Matrix* substitution = rule.GetSubstitution();
    if (out != nullptr && in != nullptr && search != nullptr && substitution != nullptr) {
        // M(x, y) = AND over the set search cells (j, i) of in(x + j, y + i); cleared pattern
        // cells are not compared.
        Matrix match(in->GetDimX(), in->GetDimY(), 1);
        for (int i = 0; i < search->GetDimY(); i++) {
            for (int j = 0; j < search->GetDimX(); j++) {
                if ((*search)(j, i)) match.AndMoved(*in, j, i);
            }
        }
        if (rule.GetMask() != nullptr) {
            Matrix scratch(1, 1);
            match.And(FitPlane(rule.GetMask()->GetMask(), match, scratch));
        }
        // out(x, y) = OR over the set substitution cells (j, i) of M(x - j, y - i).
        Matrix scratch(1, 1);
        const Matrix& matches = FitPlane(match, *out, scratch);
        out->UnsetAll();
        for (int i = 0; i < substitution->GetDimY(); i++) {
            for (int j = 0; j < substitution->GetDimX(); j++) {
                if ((*substitution)(j, i)) out->OrMoved(matches, j, i);
            }
        }
    }
    AElement::Simulate();
}
