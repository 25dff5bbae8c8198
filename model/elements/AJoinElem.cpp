#include "model/elements/AJoinElem.h"

#include <cstring>
#include <iostream>
#include <istream>
#include <ostream>

#include "model/elements/ElementType.h"
#include "model/elements/PlaneCopy.h"
#include "model/format/ParseError.h"
#include "model/format/TextFormat.h"

namespace {

const char* const kJoinRuleNames[kJoinRuleCount] = {"OR", "NOR", "XOR", "AND", "NAND"};

// The order in which rule names are matched as prefixes: no name is a prefix of a later one.
const int32_t kMatchOrder[kJoinRuleCount] = {kJoinNand, kJoinAnd, kJoinXor, kJoinNor, kJoinOr};

struct RuleOps {
    void (Matrix::*of)(const Matrix&, const Matrix&); // out := a op b
    void (Matrix::*with)(const Matrix&);              // out := out op b
};

const RuleOps kRuleOps[kJoinRuleCount] = {
    {&Matrix::OrOf, &Matrix::Or},     {&Matrix::NorOf, &Matrix::Nor},
    {&Matrix::XorOf, &Matrix::Xor},   {&Matrix::AndOf, &Matrix::And},
    {&Matrix::NandOf, &Matrix::Nand},
};

} // namespace

const char* GetJoinRuleName(int rule) {
    return rule >= 0 && rule < kJoinRuleCount ? kJoinRuleNames[rule] : "";
}

int D_JoinElem::Write(std::ostream& out, int level) const {
    Indent(out, level) << "LOGICAL_DATA{\n";
    Indent(out, level + 1) << "RULE: " << GetJoinRuleName(rule) << '\n';
    Indent(out, level) << "}\n";
    return FinishWrite(out);
}

int D_JoinElem::Read(std::istream& in) {
    char* cursor = EmptyCursor();
    int code;
    if ((code = ExpectKeywords(in, cursor, {"LOGICAL_DATA", "{"})) != kNoError) return code;
    if ((code = ExpectKeyword(in, cursor, "RULE:")) != kNoError) return code;
    SkipBlanks(cursor);
    int32_t found = -1;
    for (int32_t candidate : kMatchOrder) {
        const char* name = kJoinRuleNames[candidate];
        if (std::strncmp(cursor, name, std::strlen(name)) == 0) {
            found = candidate;
            break;
        }
    }
    if (found < 0) return SetReadError(in, kUnknownLogicalOperation, cursor);
    EndLine(cursor);
    if ((code = ExpectKeyword(in, cursor, "}")) != kNoError) return code;
    rule = found;
    return kNoError;
}

void AJoinElem::Simulate() {
    Matrix* out = GetOutputPlane(0);
    int inputs = GetInputCount();
    int32_t rule = GetData().GetRule();
    if (rule < 0 || rule >= kJoinRuleCount) {
        std::cerr << "AJoinElem::Simulate: unknown rule " << rule << ", taken as OR" << std::endl;
        rule = kJoinOr;
    }
    const RuleOps& ops = kRuleOps[rule];
    if (out != nullptr && inputs > 0) {
        bool sameSizes = true;
        for (int k = 0; k < inputs; k++)
            sameSizes = sameSizes && SamePlaneSize(*out, *GetInputPlane(k));
        if (sameSizes && inputs >= 2) {
            // The first two inputs in one pass over the words.
            (out->*ops.of)(*GetInputPlane(0), *GetInputPlane(1));
            for (int k = 2; k < inputs; k++)
                (out->*ops.with)(*GetInputPlane(k));
        } else {
            CopyPlane(*out, *GetInputPlane(0));
            Matrix scratch(1, 1);
            for (int k = 1; k < inputs; k++) {
                (out->*ops.with)(FitPlane(*GetInputPlane(k), *out, scratch));
            }
        }
    }
    AElement::Simulate();
}
