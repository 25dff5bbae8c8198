#include "model/elements/AInputElem.h"

#include <iostream>
#include <istream>
#include <ostream>

#include "model/elements/ElementType.h"
#include "model/elements/ElementUi.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"

int D_InputElem::Write(std::ostream& out, int level) {
    Indent(out, level) << "LOGICAL_DATA {\n";
    planes.Write(out, level + 1);
    Indent(out, level) << "}\n";
    return FinishWrite(out);
}

int D_InputElem::Read(std::istream& in) {
    char* cursor = EmptyCursor();
    int code;
    if ((code = ExpectKeyword(in, cursor, "LOGICAL_DATA")) != kNoError) return code;
    if ((code = ExpectKeyword(in, cursor, "{")) != kNoError) return code;
    PlaneList read(planes.GetWidth(), planes.GetHeight(), 1);
    if ((code = read.Read(in)) != kNoError) return code;
    // The plane-list reader has replaced the line; the rest of its last line is not ours.
    cursor = EmptyCursor();
    if ((code = ExpectKeyword(in, cursor, "}")) != kNoError) return code;
    planes = read;
    return kNoError;
}

AInputElem::AInputElem(Architecture* owner, int x, int y) : AIOElem(owner, kInput, x, y) {
    UpdateIcon();
}

AInputElem::AInputElem(const AInputElem& other) : AIOElem(other) {
    UpdateIcon();
    if (other.working != nullptr) working = std::make_unique<D_InputElem>(*other.working);
    if (other.stored != nullptr) stored = std::make_unique<D_InputElem>(*other.stored);
}

AInputElem::~AInputElem() {
    CloseWindows();
}

D_InputElem& AInputElem::GetWorkingData() {
    if (working == nullptr || stored == nullptr) CreateData();
    return *working;
}

D_InputElem& AInputElem::GetStoredData() {
    if (working == nullptr || stored == nullptr) CreateData();
    return *stored;
}

void AInputElem::CreateData() {
    // The plane window works on the stack that is being replaced.
    if (working != nullptr) CloseModifyWindow();
    working = std::make_unique<D_InputElem>(GetInputPlaneWidth(0), GetInputPlaneHeight(0), 1);
    stored = std::make_unique<D_InputElem>(*working);
}

void AInputElem::DimensionChanged() {
    CloseModifyWindow();
    working.reset();
    stored.reset();
    CreateData();
}

void AInputElem::OpenModifyWindow() {
    OpenTypeModifyWindow(&GetWorkingData());
}

int AInputElem::Read(std::istream& in, FileArgument* target) {
    D_InputElem* into = dynamic_cast<D_InputElem*>(target);
    if (target != nullptr && into == nullptr) {
        std::cerr << "AInputElem::Read: the target is no INPUT stack" << std::endl;
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
    D_InputElem read(size.width, size.height, 1);
    if ((code = read.Read(in)) != kNoError) return code;
    ApplyHeader(header, nullptr);
    GetStoredData() = read;
    GetWorkingData() = read;
    return kNoError;
}

int AInputElem::Write(std::ostream& out, int level, FileArgument* source) {
    D_InputElem* from = dynamic_cast<D_InputElem*>(source);
    if (source != nullptr && from == nullptr) {
        std::cerr << "AInputElem::Write: the source is no INPUT stack" << std::endl;
    }
    if (from == nullptr) from = &GetStoredData();
    if (WriteHeader(out, level) != 0) return FinishWrite(out);
    return from->Write(out, level);
}

void AInputElem::EmitPlane(const Matrix* plane) {
    EmitFrom(plane, working.get());
}

void AInputElem::Simulate() {
    SimulateWith(GetWorkingData());
}

void AInputElem::ResetData() {
    GetWorkingData() = GetStoredData();
    FinishResetData();
}
