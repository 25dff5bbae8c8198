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
    if ((code = ExpectKeywords(in, cursor, {"LOGICAL_DATA", "{"})) != kNoError) return code;
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

void AOutputElem::ResetData() {
    GetData().GetPlaneList().ClearAll();
    FinishResetData();
}
