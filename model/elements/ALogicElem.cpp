#include "model/elements/ALogicElem.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <iostream>
#include <istream>
#include <limits>
#include <numeric>
#include <ostream>
#include <utility>

#include "model/data/ClockList.h"
#include "model/elements/ElementHeader.h"
#include "model/elements/ElementUi.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"

namespace {

// What one step of the equations reads besides the op records: the input plane, the PE size, the
// state the equations see (null without internal data) and the external data of the cycle.
struct LogicSources {
    const Matrix& in;
    int peX, peY; // cells
    int perRow;   // PEs in a row
    const std::vector<Matrix>* state;
    const Matrix* external;
    int cycle;
};

// One PE: its number (row by row), its first cell and the borders of the plane it lies on.
struct LogicSite {
    size_t p;
    int x0, y0;
    bool top, bottom, left, right;
};

// "NUMBER:" and a count of at least minimum; else 21.
int ReadNumber(std::istream& in, char*& cursor, int minimum, int32_t& number) {
    int code = ExpectKeyword(in, cursor, "NUMBER:");
    if (code != kNoError) return code;
    if ((code = RecordReadResult(in, ParseInt(cursor, number), "NUMBER:")) != kNoError) return code;
    if (number < minimum) return SetReadError(in, kWrongNumber, "NUMBER:");
    return kNoError;
}

// count lines, each one name that passes the name rule.
int ReadNames(std::istream& in, char*& cursor, int64_t count, std::vector<std::string>& names) {
    names.clear();
    for (int64_t i = 0; i < count; i++) {
        EndLine(cursor);
        int code = ReadRequiredLine(in, cursor);
        if (code != kNoError) return code;
        if (!D_LogicElem::IsValidName(cursor)) return SetReadError(in, kInvalidIdentifier, cursor);
        names.push_back(ReadRestOfLine(cursor));
    }
    return kNoError;
}

// keyword, "{", "NUMBER:" and a count of at least 0, "NAMES {" and that many names; count is set
// only when all were read.
int ReadNameBlock(std::istream& in, char*& cursor, const char* keyword,
                  std::vector<std::string>& names, int32_t& count) {
    int32_t n = 0;
    int code = ExpectKeywords(in, cursor, {keyword, "{"});
    if (code != kNoError) return code;
    if ((code = ReadNumber(in, cursor, 0, n)) != kNoError) return code;
    if ((code = ExpectKeywords(in, cursor, {"NAMES", "{"})) != kNoError) return code;
    if ((code = ReadNames(in, cursor, n, names)) != kNoError) return code;
    count = n;
    return kNoError;
}

// "NAMES {", one name per line two levels deeper, "}".
void WriteNames(std::ostream& out, int level, const std::vector<std::string>& names) {
    Indent(out, level) << "NAMES {\n";
    for (const std::string& name : names)
        Indent(out, level + 1) << name << '\n';
    Indent(out, level) << "}\n";
}

bool ValidNames(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        // An empty name would be written as a blank line, which no reader delivers.
        if (name.empty() || !D_LogicElem::IsValidName(name.c_str())) return false;
    }
    return true;
}

int32_t Count(const std::vector<std::string>& list) {
    return static_cast<int32_t>(list.size());
}

// The internal bit a of PE p as the equations see it; 0 without internal data.
int InternalBit(const LogicSources& from, size_t p, int a) {
    return from.state != nullptr ? (*from.state)[p](a, 0) : 0;
}

// The value an operand record pushes for the PE. Neighbours beyond the plane's border read 0.
int FetchOperand(const LogicOp& op, const LogicSources& from, const LogicSite& pe) {
    switch (op.kind) {
        case kLogicPEData:
            return from.in(pe.x0 + op.a, pe.y0 + op.b);
        case kLogicNeighbourData:
            switch (op.direction) {
                case kLogicNorth:
                    return pe.top ? 0 : from.in(pe.x0 + op.a, pe.y0 + from.peY + op.b);
                case kLogicEast:
                    return pe.right ? 0 : from.in(pe.x0 + from.peX + op.a, pe.y0 + op.b);
                case kLogicSouth:
                    return pe.bottom ? 0 : from.in(pe.x0 + op.a, pe.y0 - from.peY + op.b);
                case kLogicWest:
                    return pe.left ? 0 : from.in(pe.x0 - from.peX + op.a, pe.y0 + op.b);
            }
            return 0;
        case kLogicExternal:
            return from.external != nullptr ? (*from.external)(op.a, from.cycle) : 0;
        case kLogicInternal:
            return InternalBit(from, pe.p, op.a);
        case kLogicNeighbourInternal:
            switch (op.direction) {
                case kLogicNorth:
                    return pe.top ? 0 : InternalBit(from, pe.p + from.perRow, op.a);
                case kLogicEast:
                    return pe.right ? 0 : InternalBit(from, pe.p + 1, op.a);
                case kLogicSouth:
                    return pe.bottom ? 0 : InternalBit(from, pe.p - from.perRow, op.a);
                case kLogicWest:
                    return pe.left ? 0 : InternalBit(from, pe.p - 1, op.a);
            }
            return 0;
        case kLogicOne:
            return 1;
        default:
            return 0;
    }
}

bool IsOperand(int32_t kind) {
    return kind >= kLogicPEData && kind <= kLogicOne;
}

// An operator record on the value stack of sp values. One that lacks operands is skipped.
void ApplyOperator(int32_t kind, int* stack, size_t& sp) {
    if (kind == kLogicNot) {
        if (sp > 0) stack[sp - 1] = !stack[sp - 1];
        return;
    }
    if (sp < 2) return;
    const int b = stack[--sp];
    int& a = stack[sp - 1];
    switch (kind) {
        case kLogicAnd:
            a = a & b;
            break;
        case kLogicNand:
            a = !(a & b);
            break;
        case kLogicXor:
            a = a ^ b;
            break;
        case kLogicOr:
            a = a | b;
            break;
        case kLogicNor:
            a = !(a | b);
            break;
    }
}

// One compiled list for one PE: the value left on top of the stack, 0 when none is. stack holds
// depth values; operands beyond it are dropped.
int Evaluate(const LogicOpList& list, const LogicSources& from, const LogicSite& pe, int* stack,
             size_t depth) {
    size_t sp = 0;
    for (size_t i = 1; i < list.size() && list[i].kind != kLogicEnd; i++) {
        const LogicOp& op = list[i];
        if (!IsOperand(op.kind)) {
            ApplyOperator(op.kind, stack, sp);
        } else if (sp < depth) {
            stack[sp++] = FetchOperand(op, from, pe);
        }
    }
    return sp > 0 ? stack[sp - 1] : 0;
}

} // namespace

Matrix TakeColumns(const Matrix* from, int count, const std::vector<int>& sources) {
    const int rows = from != nullptr ? from->GetDimY() : 1;
    Matrix columns(count, rows);
    for (int k = 0; k < count; k++) {
        const size_t at = static_cast<size_t>(k);
        const int source = at < sources.size() ? sources[at] : -1;
        if (from == nullptr || source < 0 || source >= from->GetDimX()) continue;
        for (int y = 0; y < rows; y++)
            columns.SetBit(k, y, (*from)(source, y));
    }
    return columns;
}

D_LogicElem::D_LogicElem(int planeWidth, int planeHeight)
    : width(planeWidth), height(planeHeight), peX(0), peY(0), externalCount(0), internalCount(0),
      peDataCount(0), equationCount(0), computeParallel(0), errorSink(nullptr) {}

D_LogicElem::D_LogicElem(const D_LogicElem& other) : FileArgument(other), errorSink(nullptr) {
    CopyFrom(other);
}

D_LogicElem& D_LogicElem::operator=(const D_LogicElem& other) {
    if (this != &other) CopyFrom(other);
    return *this;
}

D_LogicElem& D_LogicElem::operator=(D_LogicElem&& other) noexcept {
    if (this == &other) return *this;
    width = other.width;
    height = other.height;
    peX = other.peX;
    peY = other.peY;
    externalCount = other.externalCount;
    internalCount = other.internalCount;
    peDataCount = other.peDataCount;
    equationCount = other.equationCount;
    externalNames = std::move(other.externalNames);
    internalNames = std::move(other.internalNames);
    peDataNames = std::move(other.peDataNames);
    equations = std::move(other.equations);
    computeParallel = other.computeParallel;
    // An open external-data window refers to the matrix itself: it stays where it is.
    if (externalData != nullptr && other.externalData != nullptr) {
        *externalData = std::move(*other.externalData);
    } else {
        externalData = std::move(other.externalData);
    }
    currentState = std::move(other.currentState);
    nextState = std::move(other.nextState);
    compiledLists = std::move(other.compiledLists);
    return *this;
}

void D_LogicElem::CopyFrom(const D_LogicElem& other) {
    width = other.width;
    height = other.height;
    peX = other.peX;
    peY = other.peY;
    externalCount = other.externalCount;
    internalCount = other.internalCount;
    peDataCount = other.peDataCount;
    equationCount = other.equationCount;
    externalNames = other.externalNames;
    internalNames = other.internalNames;
    peDataNames = other.peDataNames;
    equations = other.equations;
    computeParallel = other.computeParallel;
    if (other.externalData == nullptr) {
        externalData.reset();
    } else if (externalData != nullptr) {
        // An open external-data window refers to the matrix itself: it stays where it is.
        *externalData = *other.externalData;
    } else {
        externalData = std::make_unique<Matrix>(*other.externalData);
    }
    currentState = other.currentState;
    nextState = other.currentState;
    compiledLists = other.compiledLists;
}

void D_LogicElem::Release() {
    externalNames.clear();
    internalNames.clear();
    peDataNames.clear();
    equations.clear();
    externalCount = internalCount = peDataCount = equationCount = 0;
    externalData.reset();
    currentState.clear();
    nextState.clear();
    compiledLists.clear();
}

int64_t D_LogicElem::GetPECount() const {
    if (peX <= 0 || peY <= 0) return 0;
    return static_cast<int64_t>(width / peX) * (height / peY);
}

void D_LogicElem::MakeStates() {
    currentState.clear();
    nextState.clear();
    const int64_t count = GetPECount();
    if (internalCount <= 0 || count <= 0) return;
    currentState.assign(static_cast<size_t>(count), Matrix(internalCount, 1));
    nextState.assign(static_cast<size_t>(count), Matrix(internalCount, 1));
}

int D_LogicElem::IsValidName(const char* name) {
    static const char* const kOperatorWords[] = {"or", "nor", "and", "nand", "xor", "xnor", "not"};
    if (name == nullptr) return 0;
    if (std::strlen(name) > static_cast<size_t>(kLogicNameLength)) return 0;
    for (const char* word : kOperatorWords) {
        if (std::strcmp(name, word) == 0) return 0;
    }
    if (name[0] >= '0' && name[0] <= '9') return 0;
    // A name line beginning with '#' would be skipped as a comment on reading.
    if (name[0] == '#') return 0;
    if (std::strpbrk(name, "=&|^(){}!~ ") != nullptr) return 0;
    return 1;
}

const Matrix* D_LogicElem::GetInternalMatrix(int p) const {
    if (peX == 0 || peY == 0 || equationCount == 0 || internalCount == 0) return nullptr;
    if (p < 0 || static_cast<size_t>(p) >= currentState.size()) return nullptr;
    return &currentState[static_cast<size_t>(p)];
}

const char* D_LogicElem::GetInternalName(int i) const {
    if (peX == 0 || peY == 0 || equationCount == 0 || internalCount == 0) return nullptr;
    if (i < 0 || i >= internalCount) return nullptr;
    return internalNames[static_cast<size_t>(i)].c_str();
}

const char* D_LogicElem::GetPEDataName(int j) const {
    if (peX == 0 || peY == 0 || equationCount == 0) return nullptr;
    if (j < 0 || j >= peDataCount) return nullptr;
    return peDataNames[static_cast<size_t>(j)].c_str();
}

int D_LogicElem::SetPEDimension(int x, int y) {
    if (x < 1 || y < 1 || x > width || y > height || width % x != 0 || height % y != 0) return 0;
    peX = x;
    peY = y;
    MakeStates();
    return 1;
}

void D_LogicElem::SetPEDataNames(const std::vector<std::string>& names) {
    if (!ValidNames(names)) {
        std::cerr << "D_LogicElem::SetPEDataNames: invalid name" << std::endl;
        return;
    }
    peDataNames = names;
    peDataCount = Count(peDataNames);
}

void D_LogicElem::SetExternalNames(const std::vector<std::string>& names) {
    std::vector<int> sameIndex(names.size());
    std::iota(sameIndex.begin(), sameIndex.end(), 0);
    SetExternalNames(names, externalData.get(), sameIndex);
}

void D_LogicElem::SetExternalNames(const std::vector<std::string>& names, const Matrix* from,
                                   const std::vector<int>& sources) {
    if (!ValidNames(names)) {
        std::cerr << "D_LogicElem::SetExternalNames: invalid name" << std::endl;
        return;
    }
    const int32_t count = Count(names);
    if (count == 0) {
        externalNames.clear();
        externalCount = 0;
        externalData.reset();
        return;
    }
    const Matrix columns = TakeColumns(from, count, sources);
    externalNames = names;
    externalCount = count;
    if (externalData != nullptr) {
        // An open external-data window refers to the matrix itself: it stays where it is.
        *externalData = columns;
    } else {
        externalData = std::make_unique<Matrix>(columns);
    }
}

void D_LogicElem::SetInternalNames(const std::vector<std::string>& names) {
    if (!ValidNames(names)) {
        std::cerr << "D_LogicElem::SetInternalNames: invalid name" << std::endl;
        return;
    }
    internalNames = names;
    internalCount = Count(internalNames);
    MakeStates();
}

void D_LogicElem::SetEquations(const std::vector<std::string>& list) {
    for (const std::string& equation : list) {
        // A longer line could not be read back.
        if (equation.size() > static_cast<size_t>(kMaxEquationLength)) {
            std::cerr << "D_LogicElem::SetEquations: equation too long" << std::endl;
            return;
        }
    }
    equations = list;
    equationCount = Count(equations);
}

int D_LogicElem::CompileEquations() {
    LogicCompiler compiler(externalNames, internalNames, peDataNames, peY, errorSink);
    return compiler.Compile(equations, compiledLists);
}

int D_LogicElem::Write(std::ostream& out, int level) const {
    Indent(out, level) << "LOGICAL_DATA {\n";
    if (peX == 0 || peY == 0 || equationCount == 0) {
        Indent(out, level + 1) << "NOT_DEFINED\n";
        Indent(out, level) << "}\n";
        return FinishWrite(out);
    }
    Indent(out, level + 1) << "PE_DIMENSION: (" << peX << ',' << peY << ")\n";

    Indent(out, level + 1) << "PE_DATA {\n";
    WriteNames(out, level + 2, peDataNames);
    Indent(out, level + 1) << "}\n";

    Indent(out, level + 1) << "EXTERNAL_DATA {\n";
    Indent(out, level + 2) << "NUMBER: " << externalCount << '\n';
    WriteNames(out, level + 2, externalNames);
    if (externalCount > 0 && externalData != nullptr) {
        int code = externalData->Write(out, level + 2, nullptr);
        if (code != kNoError) return code;
    }
    Indent(out, level + 1) << "}\n";

    Indent(out, level + 1) << "INTERNAL_DATA {\n";
    Indent(out, level + 2) << "NUMBER: " << internalCount << '\n';
    WriteNames(out, level + 2, internalNames);
    Indent(out, level + 1) << "}\n";

    Indent(out, level + 1) << "EQUATION_DATA {\n";
    Indent(out, level + 2) << "NUMBER: " << equationCount << '\n';
    Indent(out, level + 2) << "EQUATIONS {\n";
    for (const std::string& equation : equations)
        Indent(out, level + 3) << equation << '\n';
    Indent(out, level + 2) << "}\n";
    Indent(out, level + 2) << "COMPUTE_PARALLEL: " << OnOffText(computeParallel) << '\n';
    Indent(out, level + 1) << "}\n";

    Indent(out, level) << "}\n";
    return FinishWrite(out);
}

int D_LogicElem::Read(std::istream& in, bool compile) {
    // Read aside, so that a failure leaves this object exactly as it was. A NOT_DEFINED block
    // keeps the PE dimension and the parallel flag.
    D_LogicElem read(width, height);
    read.peX = peX;
    read.peY = peY;
    read.computeParallel = computeParallel;
    int code = read.ReadBlock(in, compile);
    if (code != kNoError) return code;
    *this = std::move(read);
    return kNoError;
}

int D_LogicElem::ReadBlock(std::istream& in, bool compile) {
    char* cursor = EmptyCursor();
    int code = ExpectKeywords(in, cursor, {"LOGICAL_DATA", "{"});
    if (code != kNoError) return code;
    SkipBlanks(cursor);
    if (*cursor == '\0' && (code = ReadRequiredLine(in, cursor)) != kNoError) return code;
    if (std::strncmp(cursor, "NOT_DEFINED", std::strlen("NOT_DEFINED")) == 0) {
        EndLine(cursor);
        Release();
        return ExpectKeyword(in, cursor, "}");
    }
    if ((code = ReadPEData(in, cursor)) != kNoError) return code;
    if ((code = ReadExternalData(in, cursor)) != kNoError) return code;
    if ((code = ReadInternalData(in, cursor)) != kNoError) return code;
    if ((code = ReadEquationData(in, cursor)) != kNoError) return code;
    if (compile && CompileEquations() != kLogicCompiled) {
        return SetReadError(in, kCannotCompileEquations, "EQUATIONS");
    }
    if ((code = ExpectKeyword(in, cursor, "}")) != kNoError) return code;
    // One state set per PE, as many as the plane size declares: made once the whole block has
    // read.
    MakeStates();
    return kNoError;
}

int D_LogicElem::ReadPEData(std::istream& in, char*& cursor) {
    int code = ExpectKeyword(in, cursor, "PE_DIMENSION:");
    if (code != kNoError) return code;
    int32_t px = 0, py = 0;
    if ((code = RecordReadResult(in, ParsePair(cursor, px, py), "PE_DIMENSION:")) != kNoError)
        return code;
    if (px < 1 || py < 1 || px > width || py > height || width % px != 0 || height % py != 0 ||
        static_cast<int64_t>(px) * py > std::numeric_limits<int32_t>::max()) {
        return SetReadError(in, kLogicDimensionError, "PE_DIMENSION:");
    }
    if ((code = ExpectKeywords(in, cursor, {"PE_DATA", "{", "NAMES", "{"})) != kNoError)
        return code;
    Release();
    peX = px;
    peY = py;
    if ((code = ReadNames(in, cursor, static_cast<int64_t>(px) * py, peDataNames)) != kNoError) {
        return code;
    }
    peDataCount = Count(peDataNames);
    return ExpectKeywords(in, cursor, {"}", "}"});
}

int D_LogicElem::ReadExternalData(std::istream& in, char*& cursor) {
    int code = ReadNameBlock(in, cursor, "EXTERNAL_DATA", externalNames, externalCount);
    if (code != kNoError) return code;
    const int32_t n = externalCount;
    if ((code = ExpectKeyword(in, cursor, "}")) != kNoError) return code;
    if (n > 0) {
        // The dimension says how large a matrix to make for the rows that follow it.
        if ((code = ExpectKeywords(in, cursor, {"MATRIX", "{", "DIMENSION:"})) != kNoError)
            return code;
        int32_t w = 0, h = 0;
        if ((code = RecordReadResult(in, ParsePair(cursor, w, h), "DIMENSION:")) != kNoError)
            return code;
        // No more cycles than the largest plane has cells along a side: a corrupt count fails
        // before any matrix is made.
        if (w != n || h < 1 || h > kMaxPlaneSize) {
            return SetReadError(in, kBadMatrixDimension, "DIMENSION:");
        }
        auto matrix = std::make_unique<Matrix>(Matrix::MadeOnFirstUse(n, h));
        if ((code = matrix->ReadAfterDimension(in, cursor)) != kNoError) return code;
        externalData = std::move(matrix);
    }
    return ExpectKeyword(in, cursor, "}");
}

int D_LogicElem::ReadInternalData(std::istream& in, char*& cursor) {
    int code = ReadNameBlock(in, cursor, "INTERNAL_DATA", internalNames, internalCount);
    if (code != kNoError) return code;
    return ExpectKeywords(in, cursor, {"}", "}"});
}

int D_LogicElem::ReadEquationData(std::istream& in, char*& cursor) {
    int32_t k = 0;
    int code = ExpectKeywords(in, cursor, {"EQUATION_DATA", "{"});
    if (code != kNoError) return code;
    if ((code = ReadNumber(in, cursor, 1, k)) != kNoError) return code;
    if ((code = ExpectKeywords(in, cursor, {"EQUATIONS", "{"})) != kNoError) return code;
    for (int32_t i = 0; i < k; i++) {
        EndLine(cursor);
        if ((code = ReadRequiredLine(in, cursor)) != kNoError) return code;
        if (std::strlen(cursor) > static_cast<size_t>(kMaxEquationLength)) {
            return SetReadError(in, kIdentifierTooLong, "EQUATIONS");
        }
        equations.push_back(ReadRestOfLine(cursor));
    }
    equationCount = k;
    if ((code = ExpectKeywords(in, cursor, {"}", "COMPUTE_PARALLEL:"})) != kNoError) return code;
    int parallel = 0;
    code = RecordReadResult(in, ParseOnOff(cursor, parallel), "COMPUTE_PARALLEL:");
    if (code != kNoError) return code;
    computeParallel = static_cast<int8_t>(parallel);
    return ExpectKeyword(in, cursor, "}");
}

bool D_LogicElem::FitsPlanes(const Matrix& in, const Matrix& out) const {
    return in.GetDimX() == width && in.GetDimY() == height && out.GetDimX() >= width &&
           out.GetDimY() >= height;
}

void D_LogicElem::ClearInternal() {
    for (Matrix& state : currentState)
        state.UnsetAll();
}

int D_LogicElem::GetExternalCycle(const ALogicElem& element) const {
    // Unsigned arithmetic throughout.
    if (externalData == nullptr || element.GetClock() < 1) return 0;
    const int clock = element.GetClock() - 1;
    const SimTime period = GetClockPeriod(clock);
    const SimTime offset = GetClockOffset(clock);
    const SimTime now = GetElementUi().GetSimulationTime();
    if (period == 0 || now < offset) return 0;
    const SimTime cycles = static_cast<SimTime>(externalData->GetDimY());
    return static_cast<int>(((now - offset) / period) % cycles);
}

void D_LogicElem::Simulate(ALogicElem& element) {
    if (peX <= 0 || peY <= 0 || equationCount == 0) return;
    const Matrix* in = element.GetInputPlane(0);
    Matrix* out = element.GetOutputPlane(0);
    if (in == nullptr || out == nullptr) return;
    // Data made for planes of another size (a header read for the modify window's copy
    // resizes the planes only) is not defined: its PEs would reach outside them.
    if (!FitsPlanes(*in, *out)) return;

    out->UnsetAll();
    const size_t peCount = static_cast<size_t>(GetPECount());
    const bool hasState =
        internalCount > 0 && currentState.size() == peCount && nextState.size() == peCount;
    if (hasState) {
        for (size_t p = 0; p < peCount; p++)
            nextState[p] = currentState[p];
    }
    // ON reads the state of the start of the step, OFF what this step has written so far.
    const std::vector<Matrix>& state = computeParallel ? currentState : nextState;
    LogicSources sources = {*in, peX, peY, width / peX, nullptr, externalData.get(), 0};
    if (hasState) sources.state = &state;
    sources.cycle = GetExternalCycle(element);

    size_t depth = 1;
    for (const LogicOpList& list : compiledLists)
        depth = std::max(depth, list.size());
    // Kept between steps: a step allocates nothing once the stack is as deep as the equations.
    if (evaluationStack.size() < depth) evaluationStack.resize(depth);

    const int rows = height / peY;
    LogicSite pe = {0, 0, 0, false, false, false, false};
    for (int row = 0; row < rows; row++) {
        pe.y0 = row * peY;
        pe.top = row == rows - 1;
        pe.bottom = row == 0;
        for (int column = 0; column < sources.perRow; column++, pe.p++) {
            pe.x0 = column * peX;
            pe.right = column == sources.perRow - 1;
            pe.left = column == 0;
            for (const LogicOpList& list : compiledLists) {
                if (list.empty()) continue;
                const int result = Evaluate(list, sources, pe, evaluationStack.data(), depth);
                const LogicOp& destination = list[0];
                if (destination.kind == kLogicPEData) {
                    out->SetBit(pe.x0 + destination.a, pe.y0 + destination.b, result);
                } else if (destination.kind == kLogicInternal && hasState) {
                    nextState[pe.p].SetBit(destination.a, 0, result);
                }
            }
        }
    }

    if (hasState) {
        for (size_t q = 0; q < peCount; q++)
            currentState[q] = nextState[q];
    }
}

ALogicElem::ALogicElem(Architecture* owner, int x, int y)
    : ElementOf(owner, x, y), externalDataWindow(nullptr), externalDataWindowWidth(280),
      externalDataWindowHeight(300), externalDataWindowZoom(100) {
    SetClock(1);
}

ALogicElem::ALogicElem(const ALogicElem& other)
    : ElementOf(other), externalDataWindow(nullptr),
      externalDataWindowWidth(other.externalDataWindowWidth),
      externalDataWindowHeight(other.externalDataWindowHeight),
      externalDataWindowZoom(other.externalDataWindowZoom) {}

ALogicElem::~ALogicElem() {
    // Its own window; the element's other windows go with the data.
    CloseExternalDataWindow();
}

void ALogicElem::CreateData() {
    // The external-data window too edits the data that is being replaced.
    if (data != nullptr) CloseExternalDataWindow();
    ElementOf::CreateData();
}

void ALogicElem::OpenShowDataWindow(int index) {
    if (index < 0 || index > GetOutputCount()) return;
    AElement::OpenShowDataWindow(0);
}

void ALogicElem::DimensionChanged() {
    CloseExternalDataWindow();
    ElementOf::DimensionChanged();
}

void ALogicElem::ResetData() {
    GetData().ClearInternal();
}

int ALogicElem::IsDefined() {
    if (data == nullptr) return 0;
    const Matrix* in = GetInputPlane(0);
    const Matrix* out = GetOutputPlane(0);
    if (in == nullptr || out == nullptr || !data->FitsPlanes(*in, *out)) return 0;
    return data->GetPEX() != 0 && data->GetPEY() != 0 && data->GetEquationCount() != 0 ? 1 : 0;
}

int ALogicElem::GetPEDimension(int& x, int& y) {
    if (data == nullptr || data->GetPEX() == 0 || data->GetPEY() == 0) return 0;
    x = data->GetPEX();
    y = data->GetPEY();
    return 1;
}

void ALogicElem::OpenExternalDataWindow() {
    if (externalDataWindow != nullptr) return;
    D_LogicElem& logic = GetData();
    if (logic.GetExternalCount() == 0 || logic.GetExternalData() == nullptr) return;
    externalDataWindow = GetElementUi().CreateView({kExternalDataView, this});
}

void ALogicElem::UpdateExternalDataWindow(const std::vector<int>& columns) {
    if (externalDataWindow == nullptr) return;
    D_LogicElem& logic = GetData();
    if (logic.GetExternalCount() > 0 && logic.GetExternalData() != nullptr) {
        std::vector<int> sources = columns;
        if (sources.empty()) {
            sources.resize(static_cast<size_t>(logic.GetExternalCount()));
            std::iota(sources.begin(), sources.end(), 0);
        }
        externalDataWindow->SetExternalData(logic.GetExternalData(), sources);
    } else {
        CloseExternalDataWindow();
    }
}

void ALogicElem::CloseExternalDataWindow() {
    DeleteView(externalDataWindow);
}

void ALogicElem::DetachView(ElementView* view) {
    if (view != nullptr && externalDataWindow == view) externalDataWindow = nullptr;
    AElement::DetachView(view);
}

void ALogicElem::SetExternalDataWindowSize(int wwidth, int wheight) {
    externalDataWindowWidth = static_cast<uint16_t>(wwidth);
    externalDataWindowHeight = static_cast<uint16_t>(wheight);
}

void ALogicElem::GetExternalDataWindowSize(int& wwidth, int& wheight) const {
    wwidth = externalDataWindowWidth;
    wheight = externalDataWindowHeight;
}

void ALogicElem::TakeData(std::unique_ptr<D_LogicElem> read) {
    // The external-data window edits the matrix that is being replaced.
    CloseExternalDataWindow();
    ElementOf::TakeData(std::move(read));
    RedrawShowDataWindows();
}

void ALogicElem::Simulate() {
    GetData().Simulate(*this);
    AElement::Simulate();
}
