// The element header block: the type name and the "INTERNAL_DATA" block that begin every element
// block, in architecture and library files and in element data files.

#include <istream>
#include <ostream>

#include "model/data/ClockList.h"
#include "model/data/Connection.h"
#include "model/elements/AElement.h"
#include "model/elements/ElementType.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"

namespace {

// Records the code of a token reader with the keyword whose value it read.
// One pair per pin, or "(-,-)" for a side without pins. Sizes must lie in 1..kMaxPlaneSize.
int ParseSizes(std::istream& in, char*& cursor, const char* keyword, int count,
               std::vector<PlaneSize>& sizes) {
    int code = ExpectKeyword(in, cursor, keyword);
    if (code != kNoError) return code;
    sizes.clear();
    if (count == 0) {
        int32_t a = 0, b = 0;
        code = ParsePair(cursor, a, b);
        return code == kNotDefined ? kNoError : SetReadError(in, kDimensionError, keyword);
    }
    for (int i = 0; i < count; i++) {
        PlaneSize size = {0, 0};
        code = ParsePair(cursor, size.width, size.height);
        if (code != kNoError) return SetReadError(in, code, keyword);
        if (size.width < 1 || size.width > kMaxPlaneSize || size.height < 1 ||
            size.height > kMaxPlaneSize) {
            return SetReadError(in, kNumberOutOfRange, keyword);
        }
        sizes.push_back(size);
    }
    return kNoError;
}

void WriteSizes(std::ostream& out, const std::vector<PlaneSize>& sizes) {
    if (sizes.empty()) out << "(-,-)";
    for (const PlaneSize& size : sizes)
        out << '(' << size.width << ',' << size.height << ')';
}

} // namespace

int AElement::WriteHeader(std::ostream& out, int level) const {
    if (!out.good()) return 1;
    std::vector<PlaneSize> inputSizes, outputSizes;
    for (int i = 0; i < inputCount; i++) {
        inputSizes.push_back({GetInputPlaneWidth(i), GetInputPlaneHeight(i)});
    }
    for (int i = 0; i < outputCount; i++) {
        outputSizes.push_back({GetOutputPlaneWidth(i), GetOutputPlaneHeight(i)});
    }
    Indent(out, level) << "TYPE: " << GetTypeName(type) << '\n';
    Indent(out, level) << "INTERNAL_DATA {\n";
    Indent(out, level + 1) << "NAME:       " << name << '\n';
    Indent(out, level + 1) << "COMMENT:    " << comment << '\n';
    Indent(out, level + 1) << "INPUTS:     " << inputCount << '\n';
    Indent(out, level + 1) << "OUTPUTS:    " << outputCount << '\n';
    Indent(out, level + 1) << "INPUT_DIM:  ";
    WriteSizes(out, inputSizes);
    out << '\n';
    Indent(out, level + 1) << "OUTPUT_DIM: ";
    WriteSizes(out, outputSizes);
    out << '\n';
    Indent(out, level + 1) << "CLOCK:      " << clock << '\n';
    Indent(out, level + 1) << "TIME:       " << time << '\n';
    Indent(out, level) << "}\n";
    return out.good() ? 0 : 1;
}

int AElement::ParseHeader(std::istream& in, ElementHeader& header) const {
    char* cursor = EmptyCursor();
    int code = ExpectKeyword(in, cursor, "TYPE:");
    if (code != kNoError) return code;
    // The type name is not compared with the element's: the caller chose the element by it.
    EndLine(cursor);
    if ((code = ExpectKeywords(in, cursor, {"INTERNAL_DATA", "{"})) != kNoError) return code;
    if ((code = ExpectKeyword(in, cursor, "NAME:")) != kNoError) return code;
    header.name = ReadRestOfLine(cursor);
    if ((code = ExpectKeyword(in, cursor, "COMMENT:")) != kNoError) return code;
    header.comment = ReadRestOfLine(cursor);

    PinLimits limits = GetPinLimits(type);
    if ((code = ExpectKeyword(in, cursor, "INPUTS:")) != kNoError) return code;
    if ((code = RecordReadResult(in, ParseInt(cursor, header.inputs), "INPUTS:")) != kNoError)
        return code;
    if (header.inputs < limits.minInputs || header.inputs > limits.maxInputs) {
        return SetReadError(in, kNumberOutOfRange, "INPUTS:");
    }
    if ((code = ExpectKeyword(in, cursor, "OUTPUTS:")) != kNoError) return code;
    if ((code = RecordReadResult(in, ParseInt(cursor, header.outputs), "OUTPUTS:")) != kNoError)
        return code;
    if (header.outputs < limits.minOutputs || header.outputs > limits.maxOutputs) {
        return SetReadError(in, kNumberOutOfRange, "OUTPUTS:");
    }

    code = ParseSizes(in, cursor, "INPUT_DIM:", header.inputs, header.inputSizes);
    if (code != kNoError) return code;
    code = ParseSizes(in, cursor, "OUTPUT_DIM:", header.outputs, header.outputSizes);
    if (code != kNoError) return code;

    if ((code = ExpectKeyword(in, cursor, "CLOCK:")) != kNoError) return code;
    if ((code = RecordReadResult(in, ParseInt(cursor, header.clock), "CLOCK:")) != kNoError)
        return code;
    if (header.clock < 0 || header.clock > GetClockCount()) {
        return SetReadError(in, kNumberOutOfRange, "CLOCK:");
    }
    if ((code = ExpectKeyword(in, cursor, "TIME:")) != kNoError) return code;
    if ((code = RecordReadResult(in, ParseUnsigned(cursor, header.time), "TIME:")) != kNoError)
        return code;
    if (header.time > kMaxTime) return SetReadError(in, kNumberOutOfRange, "TIME:");
    return ExpectKeyword(in, cursor, "}");
}

void AElement::ApplyHeader(const ElementHeader& header) {
    name = header.name;
    comment = header.comment;
    if (header.inputs != inputCount || header.outputs != outputCount) {
        // The element is not placed while it is read: no overlap check, nothing to redraw.
        ChangePinCount(header.inputs, header.outputs, 0, false);
    }
    for (int i = 0; i < inputCount && i < static_cast<int>(header.inputSizes.size()); i++) {
        const PlaneSize& size = header.inputSizes[i];
        SetInputPlaneSize(i, size.width, size.height);
        Connection* connection = inputConnections[i];
        if (connection != nullptr) {
            int sw, sh;
            connection->GetSource()->GetPlaneSize(connection->GetSourcePin(), sw, sh);
            if (sw != size.width || sh != size.height) delete connection;
        }
    }
    for (int i = 0; i < outputCount && i < static_cast<int>(header.outputSizes.size()); i++) {
        const PlaneSize& size = header.outputSizes[i];
        SetOutputPlaneSize(i, size.width, size.height);
        Connection* connection = outputConnections[i];
        if (connection != nullptr) {
            int tw, th;
            connection->GetTarget()->GetPlaneSize(connection->GetTargetPin(), tw, th);
            if (tw != size.width || th != size.height) delete connection;
        }
    }
    clock = header.clock;
    time = header.time;
    UpdateIcon();
}

void AElement::ReadHeader(std::istream& in, FileArgument* target) {
    ElementHeader header;
    if (ParseHeader(in, header) != kNoError) return;
    ApplyHeader(header);
    if (target == nullptr) CreateData();
}
