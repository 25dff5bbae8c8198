#include "model/elements/ASplitElem.h"

#include <istream>
#include <ostream>

#include "model/elements/ElementType.h"
#include "model/elements/PlaneCopy.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"

int ASplitElem::Read(std::istream& in, FileArgument*) {
    ElementHeader header;
    int code = ParseHeader(in, header);
    if (code != kNoError) return code;
    char* cursor = EmptyCursor();
    if ((code = ExpectKeywords(in, cursor, {"LOGICAL_DATA", "{"})) != kNoError) return code;
    if ((code = ExpectKeyword(in, cursor, "}")) != kNoError) return code;
    if (StreamFailed(in)) return SetReadError(in, kIoError, nullptr);
    ApplyHeader(header);
    return kNoError;
}

int ASplitElem::Write(std::ostream& out, int level, FileArgument*) {
    if (WriteHeader(out, level) != 0) return FinishWrite(out);
    Indent(out, level) << "LOGICAL_DATA {\n";
    Indent(out, level) << "}\n";
    return FinishWrite(out);
}

void ASplitElem::Simulate() {
    const Matrix* in = GetInputPlane(0);
    if (in != nullptr) {
        for (int i = 0; i < GetOutputCount(); i++)
            CopyPlane(*GetOutputPlane(i), *in);
    }
    AElement::Simulate();
}
