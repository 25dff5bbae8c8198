#include "model/elements/AOutputElem.h"

#include <iostream>
#include <istream>
#include <ostream>

#include "model/elements/ElementType.h"
#include "model/elements/ElementUi.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"

int D_OutputElem::Write(std::ostream& out, int level) {
    Indent(out, level) << "LOGICAL_DATA {\n";
    Indent(out, level + 1) << "NUMBER_PLANES: " << planes.GetCount() << '\n';
    Indent(out, level) << "}\n";
    return FinishWrite(out);
}

int D_OutputElem::Read(std::istream& in) {
    char* cursor = EmptyCursor();
    int code;
    if ((code = ExpectKeyword(in, cursor, "LOGICAL_DATA")) != kNoError) return code;
    if ((code = ExpectKeyword(in, cursor, "{")) != kNoError) return code;
    if ((code = ExpectKeyword(in, cursor, "NUMBER_PLANES:")) != kNoError) return code;
    int32_t depth = 0;
    if ((code = ParseInt(cursor, depth)) != kNoError) {
        return SetReadError(in, code, "NUMBER_PLANES:");
    }
    if (depth <= 0) return SetReadError(in, kOutputNotEnoughPlanes, "NUMBER_PLANES:");
    // The depth alone allocates the planes: keep it to what a plane list holds.
    if (depth > kMaxPlaneCount) return SetReadError(in, kNumberOutOfRange, "NUMBER_PLANES:");
    if ((code = ExpectKeyword(in, cursor, "}")) != kNoError) return code;
    planes = PlaneList(planes.GetWidth(), planes.GetHeight(), depth);
    return kNoError;
}

AOutputElem::AOutputElem(Architecture* owner, int x, int y) : AIOElem(owner, kOutput, x, y) {
    UpdateIcon();
}

AOutputElem::AOutputElem(const AOutputElem& other) : AIOElem(other) {
    UpdateIcon();
    if (other.data != nullptr) data = std::make_unique<D_OutputElem>(*other.data);
}

AOutputElem::~AOutputElem() {
    CloseWindows();
}

D_OutputElem& AOutputElem::GetData() {
    if (data == nullptr) CreateData();
    return *data;
}

void AOutputElem::CreateData() {
    // The plane window works on the stack that is being replaced.
    if (data != nullptr) CloseModifyWindow();
    data = std::make_unique<D_OutputElem>(GetInputPlaneWidth(0), GetInputPlaneHeight(0), 1);
}

void AOutputElem::DimensionChanged() {
    CloseModifyWindow();
    data.reset();
    CreateData();
}

void AOutputElem::OpenModifyWindow() {
    OpenTypeModifyWindow(&GetData());
}

int AOutputElem::Read(std::istream& in, FileArgument* target) {
    D_OutputElem* into = dynamic_cast<D_OutputElem*>(target);
    if (target != nullptr && into == nullptr) {
        std::cerr << "AOutputElem::Read: the target is no OUTPUT stack" << std::endl;
        target = nullptr;
    }
    ElementHeader header;
    int code = ParseHeader(in, header);
    if (code != kNoError) return code;
    if (into != nullptr) {
        code = into->Read(in);
        if (code == kNoError) ApplyHeader(header, target);
        if (GetModifyWindow() != nullptr) GetModifyWindow()->Rebuild();
        return code;
    }
    PlaneSize size = {GetInputPlaneWidth(0), GetInputPlaneHeight(0)};
    if (!header.inputSizes.empty()) size = header.inputSizes[0];
    D_OutputElem read(size.width, size.height, 1);
    if ((code = read.Read(in)) != kNoError) return code;
    ApplyHeader(header, nullptr);
    GetData() = read;
    return kNoError;
}

int AOutputElem::Write(std::ostream& out, int level, FileArgument* source) {
    D_OutputElem* from = dynamic_cast<D_OutputElem*>(source);
    if (source != nullptr && from == nullptr) {
        std::cerr << "AOutputElem::Write: the source is no OUTPUT stack" << std::endl;
    }
    if (from == nullptr) from = &GetData();
    if (WriteHeader(out, level) != 0) return FinishWrite(out);
    return from->Write(out, level);
}

void AOutputElem::EmitPlane(const Matrix* plane) {
    EmitFrom(plane, data.get());
}

void AOutputElem::Simulate() {
    SimulateWith(GetData());
}

void AOutputElem::ResetData() {
    GetData().ClearAll();
    FinishResetData();
}
