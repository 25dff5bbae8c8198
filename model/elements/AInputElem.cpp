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
    if ((code = ExpectKeywords(in, cursor, {"LOGICAL_DATA", "{"})) != kNoError) return code;
    PlaneList read(planes.GetWidth(), planes.GetHeight(), 1);
    if ((code = read.Read(in)) != kNoError) return code;
    // The plane-list reader has replaced the line; the rest of its last line is not ours.
    cursor = EmptyCursor();
    if ((code = ExpectKeyword(in, cursor, "}")) != kNoError) return code;
    planes = read;
    return kNoError;
}

D_InputElem& AInputElem::GetWorkingData() {
    if (data == nullptr || stored == nullptr) CreateData();
    return *data;
}

D_InputElem& AInputElem::GetStoredData() {
    if (data == nullptr || stored == nullptr) CreateData();
    return *stored;
}

void AInputElem::CreateData() {
    IOElementOf::CreateData();
    stored = std::make_unique<D_InputElem>(*data);
}

void AInputElem::TakeData(std::unique_ptr<D_InputElem> read) {
    IOElementOf::TakeData(std::move(read));
    stored = std::make_unique<D_InputElem>(*data);
}

void AInputElem::ResetData() {
    GetWorkingData() = GetStoredData();
    FinishResetData();
}
