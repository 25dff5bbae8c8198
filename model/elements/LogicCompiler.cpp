#include "model/elements/LogicCompiler.h"

#include <cstring>

namespace {

// The characters that end an operand run.
const char kOperandEnd[] = "()}&|^!~ ";

bool EndsOperand(char c) {
    return c == '\0' || std::strchr(kOperandEnd, c) != nullptr;
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

int32_t DirectionOf(char c) {
    switch (c) {
        case 'N':
            return kLogicNorth;
        case 'E':
            return kLogicEast;
        case 'S':
            return kLogicSouth;
        case 'W':
            return kLogicWest;
        default:
            return kLogicNoDirection;
    }
}

int Find(const std::vector<std::string>& names, const std::string& name) {
    for (size_t i = 0; i < names.size(); i++) {
        if (names[i] == name) return static_cast<int>(i);
    }
    return -1;
}

} // namespace

void RemoveBlanks(char* text) {
    char* to = text;
    for (const char* from = text; *from != '\0'; from++) {
        if (*from != ' ') *to++ = *from;
    }
    *to = '\0';
}

void RemoveBlanks(std::string& text) {
    size_t to = 0;
    for (char c : text) {
        if (c != ' ') text[to++] = c;
    }
    text.resize(to);
}

LogicCompiler::LogicCompiler(const std::vector<std::string>& external,
                             const std::vector<std::string>& internal,
                             const std::vector<std::string>& peData, int height,
                             LogicErrorSink* sink)
    : externalNames(external), internalNames(internal), peDataNames(peData), peY(height),
      errorSink(sink), text(nullptr), cursor(0), equationIndex(0), errorCode(kLogicCompiled),
      records(nullptr) {}

int LogicCompiler::Compile(const std::vector<std::string>& equations,
                           std::vector<LogicOpList>& lists) {
    errorCode = kLogicCompiled;
    std::vector<LogicOpList> scratch(equations.size());
    for (size_t i = 0; i < equations.size() && errorCode == kLogicCompiled; i++) {
        equationIndex = static_cast<int>(i);
        CompileEquation(equations[i], scratch[i]);
    }
    if (errorCode == kLogicCompiled) lists.swap(scratch);
    text = nullptr;
    records = nullptr;
    return errorCode;
}

void LogicCompiler::CompileEquation(const std::string& equation, LogicOpList& list) {
    text = &equation;
    records = &list;
    // Every record consumes at least one character; the end record is paid for by "=".
    list.reserve(equation.size());

    const size_t equals = equation.find('=');
    if (equals == std::string::npos) {
        ReportError("Error: '=' not found!", static_cast<int>(equation.size()),
                    kLogicNoDestination);
    } else {
        std::string destination = equation.substr(0, equals);
        RemoveBlanks(destination);
        if (destination.empty()) {
            ReportError("Error: Destination not found!", 0, kLogicNoDestination);
        } else {
            cursor = equals + 1;
            LogicOp op = {kLogicEnd, 0, 0, 0};
            if (!Resolve(destination, op)) {
                ReportError("Error: Unknown identifier!", static_cast<int>(equals),
                            kLogicUnknownIdentifier);
            } else if (op.kind == kLogicExternal) {
                ReportError("Error: Destination is not allowed.", static_cast<int>(equals),
                            kLogicExternalNotAllowed);
            } else {
                list.push_back(op);
                ParseExpression();
            }
        }
    }
    Append(kLogicEnd);
    if (errorCode == kLogicCompiled && cursor < equation.size()) {
        ReportError("Error: Equation terminated incorrectly!", static_cast<int>(cursor),
                    kLogicBadTermination);
    }
}

void LogicCompiler::ParseExpression() {
    ParseXorTerm();
    while (errorCode == kLogicCompiled) {
        SkipBlanks();
        int32_t op;
        if (Accept("|") || Accept("OR")) {
            op = kLogicOr;
        } else if (Accept("NOR")) {
            op = kLogicNor;
        } else {
            return;
        }
        ParseXorTerm();
        Append(op);
    }
}

void LogicCompiler::ParseXorTerm() {
    ParseAndTerm();
    while (errorCode == kLogicCompiled) {
        SkipBlanks();
        if (!Accept("^") && !Accept("XOR")) return;
        ParseAndTerm();
        Append(kLogicXor);
    }
}

void LogicCompiler::ParseAndTerm() {
    ParseNotTerm();
    while (errorCode == kLogicCompiled) {
        SkipBlanks();
        int32_t op;
        if (Accept("&") || Accept("AND")) {
            op = kLogicAnd;
        } else if (Accept("NAND")) {
            op = kLogicNand;
        } else {
            return;
        }
        ParseNotTerm();
        Append(op);
    }
}

void LogicCompiler::ParseNotTerm() {
    SkipBlanks();
    // One negation at most: a second "~" is an empty operand for the primary.
    const bool negate = Accept("~") || Accept("!") || Accept("NOT");
    ParsePrimary();
    if (negate) Append(kLogicNot);
}

void LogicCompiler::ParsePrimary() {
    if (errorCode != kLogicCompiled) return;
    SkipBlanks();
    const std::string& equation = *text;
    if (Accept("(")) {
        ParseExpression();
        if (errorCode != kLogicCompiled) return;
        SkipBlanks();
        if (!Accept(")")) {
            ReportError("Error: ')' expected!", static_cast<int>(cursor), kLogicCharExpected);
        }
        return;
    }

    int32_t direction = kLogicNoDirection;
    if (cursor + 1 < equation.size() && equation[cursor + 1] == '{') {
        direction = DirectionOf(equation[cursor]);
        if (direction != kLogicNoDirection) {
            cursor += 2;
            SkipBlanks();
        }
    }

    // The operand is held in a buffer of the longest name; a longer run names nothing.
    // An unknown run is reported at its first character, where the user has to look.
    const size_t runStart = cursor;
    char operand[kLogicNameLength + 1];
    size_t length = 0;
    bool tooLong = false;
    while (cursor < equation.size() && !EndsOperand(equation[cursor])) {
        if (length < static_cast<size_t>(kLogicNameLength)) {
            operand[length++] = equation[cursor];
        } else {
            tooLong = true;
        }
        cursor++;
    }
    operand[length] = '\0';
    if (length == 0) {
        ReportError("Error: Bad syntax!", static_cast<int>(cursor), kLogicBadSyntax);
        return;
    }
    if (tooLong) {
        ReportError("Error: Unknown identifier!", static_cast<int>(runStart),
                    kLogicUnknownIdentifier);
        return;
    }

    if (std::strcmp(operand, "0") == 0) {
        Append(kLogicZero);
    } else if (std::strcmp(operand, "1") == 0) {
        Append(kLogicOne);
    } else {
        LogicOp op = {kLogicEnd, 0, 0, 0};
        if (!Resolve(operand, op)) {
            ReportError("Error: Unknown identifier!", static_cast<int>(runStart),
                        kLogicUnknownIdentifier);
            return;
        }
        if (direction != kLogicNoDirection) {
            if (op.kind == kLogicExternal) {
                ReportError("Error: only DATA or INTERNAL allowed here!", static_cast<int>(cursor),
                            kLogicExternalNotAllowed);
                return;
            }
            op.kind = op.kind == kLogicPEData ? kLogicNeighbourData : kLogicNeighbourInternal;
            op.direction = direction;
        }
        records->push_back(op);
    }

    if (direction != kLogicNoDirection) {
        SkipBlanks();
        if (!Accept("}")) {
            ReportError("Error: '}' expected!", static_cast<int>(cursor), kLogicCharExpected);
        }
    }
}

void LogicCompiler::SkipBlanks() {
    while (cursor < text->size() && (*text)[cursor] == ' ')
        cursor++;
}

bool LogicCompiler::Accept(const char* word) {
    const size_t length = std::strlen(word);
    if (text->size() - cursor < length) return false;
    for (size_t i = 0; i < length; i++) {
        if (Upper((*text)[cursor + i]) != word[i]) return false;
    }
    cursor += length;
    return true;
}

bool LogicCompiler::Resolve(const std::string& name, LogicOp& op) const {
    int k = Find(externalNames, name);
    if (k >= 0) {
        op = {kLogicExternal, k, 0, 0};
        return true;
    }
    k = Find(internalNames, name);
    if (k >= 0) {
        op = {kLogicInternal, k, 0, 0};
        return true;
    }
    k = peY > 0 ? Find(peDataNames, name) : -1;
    if (k >= 0) {
        op = {kLogicPEData, k / peY, k % peY, 0};
        return true;
    }
    return false;
}

void LogicCompiler::Append(int32_t kind, int32_t a, int32_t b, int32_t direction) {
    records->push_back({kind, a, b, direction});
}

void LogicCompiler::ReportError(const char* message, int position, int code) {
    if (errorCode != kLogicCompiled) return;
    if (errorSink != nullptr) errorSink->ShowEquationError(message, equationIndex, position);
    errorCode = code;
}
