#pragma once

// The equation compiler of the LOGIC element: turns each equation of an element's data into the
// postfix LogicOp list that the simulation step evaluates for every PE.
//
//   equation   = destination "=" expression, nothing after it
//   expression = xor-term { ("|" | "OR" | "NOR") xor-term }
//   xor-term   = and-term { ("^" | "XOR") and-term }
//   and-term   = not-term { ("&" | "AND" | "NAND") not-term }
//   not-term   = [ "~" | "!" | "NOT" ] primary
//   primary    = "(" expression ")" | [ "N{" | "E{" | "S{" | "W{" ] operand [ "}" ]
//
// Blanks are the only white space and every scanner skips them before it looks. Operator words
// are matched case-insensitively as prefixes, so "note" reads as NOT e. An operand is the run of
// characters up to the first of "()}&|^!~ "; "0" and "1" are constants, every other run a name,
// searched among the external, then the internal, then the PE data names (first match wins).
//
// Only the first error of a compilation is reported, to the error sink when there is one (the
// modify window's working copy); positions are 0-based offsets into the equation as stored.

#include <string>
#include <vector>

#include "model/elements/LogicOp.h"

// Where compiler messages go: the LOGIC modify window, which selects the equation and puts the
// text cursor at the position.
class LogicErrorSink {
public:
    virtual ~LogicErrorSink() = default;
    virtual void ShowEquationError(const char* message, int equation, int position) = 0;
};

// The compiler's result codes (not those of the file error table).
enum LogicCompileError {
    kLogicCompiled = 0,
    kLogicNoDestination = 1,     // no "=" or nothing before it
    kLogicUnknownIdentifier = 2, // also an operand too long to be any name
    kLogicCharExpected = 3,      // ")" or "}" missing
    kLogicBadSyntax = 4,
    kLogicBadTermination = 5,     // text after the expression
    kLogicExternalNotAllowed = 6, // external data as destination or with a direction
};

// Names longer than this cannot be declared; the operand buffer holds no more.
const int kLogicNameLength = 30;

// Removes every blank in place.
void RemoveBlanks(char* text);
void RemoveBlanks(std::string& text);

class LogicCompiler {
public:
    // The name lists the equations may use and the PE height (PE data name j is pixel
    // (j / peY, j mod peY)); they must outlive the compiler. The sink may be null.
    LogicCompiler(const std::vector<std::string>& externalNames,
                  const std::vector<std::string>& internalNames,
                  const std::vector<std::string>& peDataNames, int peY, LogicErrorSink* sink);

    // Compiles every equation in order, stopping after the first one with an error. Returns 0
    // and replaces lists by one list per equation, or the first error's code leaving lists as
    // they were.
    int Compile(const std::vector<std::string>& equations, std::vector<LogicOpList>& lists);

private:
    void CompileEquation(const std::string& equation, LogicOpList& list);
    void ParseExpression();
    void ParseXorTerm();
    void ParseAndTerm();
    void ParseNotTerm();
    void ParsePrimary();
    void SkipBlanks();
    // Steps past the word at the cursor when the text begins with it, in any case.
    bool Accept(const char* word);
    // The record of a name, or false when no list holds it.
    bool Resolve(const std::string& name, LogicOp& op) const;
    void Append(int32_t kind, int32_t a = 0, int32_t b = 0, int32_t direction = 0);
    // Delivers the message unless an error is already set, then sets the code.
    void ReportError(const char* message, int position, int code);

    const std::vector<std::string>& externalNames;
    const std::vector<std::string>& internalNames;
    const std::vector<std::string>& peDataNames;
    int peY;
    LogicErrorSink* errorSink;

    // The equation being compiled.
    const std::string* text;
    size_t cursor;
    int equationIndex;
    int errorCode;
    LogicOpList* records;
};
