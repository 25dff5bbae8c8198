#include "model/elements/LogicCompiler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The expected lists are written with these; each follows the record table of the compiler.
LogicOp D(int a, int b) {
    return {kLogicPEData, a, b, 0};
}
LogicOp ND(int a, int b, int direction) {
    return {kLogicNeighbourData, a, b, direction};
}
LogicOp E(int k) {
    return {kLogicExternal, k, 0, 0};
}
LogicOp I(int k) {
    return {kLogicInternal, k, 0, 0};
}
LogicOp NI(int k, int direction) {
    return {kLogicNeighbourInternal, k, 0, direction};
}
const LogicOp kZero = {kLogicZero, 0, 0, 0};
const LogicOp kOne = {kLogicOne, 0, 0, 0};
const LogicOp kAnd = {kLogicAnd, 0, 0, 0};
const LogicOp kNand = {kLogicNand, 0, 0, 0};
const LogicOp kXor = {kLogicXor, 0, 0, 0};
const LogicOp kOr = {kLogicOr, 0, 0, 0};
const LogicOp kNor = {kLogicNor, 0, 0, 0};
const LogicOp kNot = {kLogicNot, 0, 0, 0};
const LogicOp kEnd = {kLogicEnd, 0, 0, 0};

// External first, then internal, then PE data of a 2 x 3 PE (name j is pixel (j / 3, j mod 3)).
// "e[1]" and "d[1,1]" are also internal names: the first list that holds a name wins.
const std::vector<std::string> kExternal = {"e[0]", "e[1]"};
const std::vector<std::string> kInternal = {"i[0]", "x",   "s1", "a",    "b",
                                            "e",    "der", "OR", "e[1]", "d[1,1]"};
const std::vector<std::string> kPEData = {"d[0,0]", "d[0,1]", "d[0,2]",
                                          "d[1,0]", "d[1,1]", "d[1,2]"};
const int kPEY = 3;

const int kX = 1, kS1 = 2, kA = 3, kB = 4, kE = 5, kDer = 6, kOR = 7, kD11 = 9;

std::string Text(const LogicOpList& list) {
    std::string text;
    for (const LogicOp& op : list) {
        text += "{" + std::to_string(op.kind) + "," + std::to_string(op.a) + "," +
                std::to_string(op.b) + "," + std::to_string(op.direction) + "}";
    }
    return text;
}

struct SinkCall {
    std::string message;
    int equation;
    int position;
};

class RecordingSink : public LogicErrorSink {
public:
    void ShowEquationError(const char* message, int equation, int position) override {
        calls.push_back({message, equation, position});
    }
    std::vector<SinkCall> calls;
};

int Compile(const std::vector<std::string>& equations, std::vector<LogicOpList>& lists,
            LogicErrorSink* sink) {
    LogicCompiler compiler(kExternal, kInternal, kPEData, kPEY, sink);
    return compiler.Compile(equations, lists);
}

struct ValidCase {
    const char* equation;
    LogicOpList list;
};

// Each list derived by hand: the destination, the expression in postfix order (operands when
// read, an operator after its right operand, NOT after its operand), the end record.
const ValidCase kValid[] = {
    {"d[0,0] = ~d[0,0] & e[0] | i[0] ^ 1",
     {D(0, 0), D(0, 0), kNot, E(0), kAnd, I(0), kOne, kXor, kOr, kEnd}},
    // Blanks are removed from the destination only.
    {"s 1 = x", {I(kS1), I(kX), kEnd}},
    {"x=a|b", {I(kX), I(kA), I(kB), kOr, kEnd}},
    {"x = a   ", {I(kX), I(kA), kEnd}},
    // Precedence NOT, AND, XOR, OR; one level associates to the left.
    {"x = a | b & e ^ der", {I(kX), I(kA), I(kB), I(kE), kAnd, I(kDer), kXor, kOr, kEnd}},
    {"x = a & b & e", {I(kX), I(kA), I(kB), kAnd, I(kE), kAnd, kEnd}},
    {"x = a ^ b | e ^ der", {I(kX), I(kA), I(kB), kXor, I(kE), I(kDer), kXor, kOr, kEnd}},
    {"x = (a | b) & ~(e)", {I(kX), I(kA), I(kB), kOr, I(kE), kNot, kAnd, kEnd}},
    {"x = ~(~a)", {I(kX), I(kA), kNot, kNot, kEnd}},
    {"x = !a", {I(kX), I(kA), kNot, kEnd}},
    // Operator words in any case, as prefixes.
    {"x = a nand b nor e xor der and x",
     {I(kX), I(kA), I(kB), kNand, I(kE), I(kDer), I(kX), kAnd, kXor, kNor, kEnd}},
    {"x = a OR b AnD e", {I(kX), I(kA), I(kB), I(kE), kAnd, kOr, kEnd}},
    {"x = NOTa", {I(kX), I(kA), kNot, kEnd}},
    {"x = note", {I(kX), I(kE), kNot, kEnd}},
    {"x = a order", {I(kX), I(kA), I(kDer), kOr, kEnd}},
    // An operand that begins a not-term is only read as NOT when it begins with "not".
    {"x = OR | OR", {I(kX), I(kOR), I(kOR), kOr, kEnd}},
    // Directions, blanks inside the braces allowed.
    {"d[1,2] = E{d[0,1]} | W{d[1,0]} | S{i[0]} | !N{ s1 }",
     {D(1, 2), ND(0, 1, kLogicEast), ND(1, 0, kLogicWest), kOr, NI(0, kLogicSouth), kOr,
      NI(kS1, kLogicNorth), kNot, kOr, kEnd}},
    {"x = N{ a }", {I(kX), NI(kA, kLogicNorth), kEnd}},
    // Constants, also inside a direction, which is then ignored.
    {"x = 0 | 1 & N{1}", {I(kX), kZero, kOne, kOne, kAnd, kOr, kEnd}},
    // The first list holding a name wins.
    {"x = e[1]", {I(kX), E(1), kEnd}},
    {"d[1,1] = d[0,2]", {I(kD11), D(0, 2), kEnd}},
    {"d[1,0] = d[1,2]", {D(1, 0), D(1, 2), kEnd}},
};

} // namespace

TEST(LogicCompiler, CompilesValidEquationsToPostfixLists) {
    for (const ValidCase& c : kValid) {
        SCOPED_TRACE(c.equation);
        RecordingSink sink;
        std::vector<LogicOpList> lists;
        EXPECT_EQ(Compile({c.equation}, lists, &sink), kLogicCompiled);
        ASSERT_EQ(lists.size(), 1u);
        EXPECT_EQ(Text(lists[0]), Text(c.list));
        EXPECT_TRUE(sink.calls.empty());
    }
}

struct InvalidCase {
    const char* equation;
    int code;
    const char* message;
    int position;
};

const InvalidCase kInvalid[] = {
    {"x a", kLogicNoDestination, "Error: '=' not found!", 3},
    {" = a", kLogicNoDestination, "Error: Destination not found!", 0},
    // An unknown destination is reported at the "=".
    {"yy = a", kLogicUnknownIdentifier, "Error: Unknown identifier!", 3},
    {"e[0] = 1", kLogicExternalNotAllowed, "Error: Destination is not allowed.", 5},
    {"x = a b", kLogicBadTermination, "Error: Equation terminated incorrectly!", 6},
    {"x = a = b", kLogicBadTermination, "Error: Equation terminated incorrectly!", 6},
    {"x = a}", kLogicBadTermination, "Error: Equation terminated incorrectly!", 5},
    // There is no XNOR operator.
    {"x = a xnor b", kLogicBadTermination, "Error: Equation terminated incorrectly!", 6},
    // "N" with a blank before the brace is a name; an unknown operand at its run's first
    // character.
    {"x = N {a}", kLogicUnknownIdentifier, "Error: Unknown identifier!", 4},
    {"x = a | zz", kLogicUnknownIdentifier, "Error: Unknown identifier!", 8},
    {"d[0,0] = N {d[0,1]}", kLogicUnknownIdentifier, "Error: Unknown identifier!", 9},
    {"d[0,0] = e[0]ORd[0,1]", kLogicUnknownIdentifier, "Error: Unknown identifier!", 9},
    {"x = ~ (a &  N{ zz })", kLogicUnknownIdentifier, "Error: Unknown identifier!", 15},
    {"x = N{e[0]}", kLogicExternalNotAllowed, "Error: only DATA or INTERNAL allowed here!", 10},
    {"x = (a & b", kLogicCharExpected, "Error: ')' expected!", 10},
    {"x = N{a", kLogicCharExpected, "Error: '}' expected!", 7},
    {"x = N{a b}", kLogicCharExpected, "Error: '}' expected!", 8},
    {"x = ~~a", kLogicBadSyntax, "Error: Bad syntax!", 5},
    {"x = not", kLogicBadSyntax, "Error: Bad syntax!", 7},
    {"x = a &", kLogicBadSyntax, "Error: Bad syntax!", 7},
    {"x = ", kLogicBadSyntax, "Error: Bad syntax!", 4},
    {"x = ()", kLogicBadSyntax, "Error: Bad syntax!", 5},
    {"x = N{}", kLogicBadSyntax, "Error: Bad syntax!", 6},
};

TEST(LogicCompiler, RefusesInvalidEquationsWithMessageAndPosition) {
    for (const InvalidCase& c : kInvalid) {
        SCOPED_TRACE(c.equation);
        RecordingSink sink;
        std::vector<LogicOpList> lists = {{I(kX), kOne, kEnd}};
        EXPECT_EQ(Compile({c.equation}, lists, &sink), c.code);
        ASSERT_EQ(sink.calls.size(), 1u);
        EXPECT_EQ(sink.calls[0].message, c.message);
        EXPECT_EQ(sink.calls[0].equation, 0);
        EXPECT_EQ(sink.calls[0].position, c.position);
        // The previous lists stay.
        ASSERT_EQ(lists.size(), 1u);
        EXPECT_EQ(Text(lists[0]), Text({I(kX), kOne, kEnd}));
    }
}

TEST(LogicCompiler, AnOperandLongerThanAnyNameFailsSafely) {
    for (size_t length : {30u, 31u, 200u, 6000u}) {
        SCOPED_TRACE(length);
        const std::string equation = "x = a | " + std::string(length, 'q');
        RecordingSink sink;
        std::vector<LogicOpList> lists;
        EXPECT_EQ(Compile({equation}, lists, &sink), kLogicUnknownIdentifier);
        ASSERT_EQ(sink.calls.size(), 1u);
        EXPECT_EQ(sink.calls[0].message, "Error: Unknown identifier!");
        EXPECT_EQ(sink.calls[0].position, 8); // the run's first character
    }
    // A declared name of 30 characters is found.
    const std::vector<std::string> none;
    const std::vector<std::string> internal = {std::string(30, 'q')};
    LogicCompiler compiler(none, internal, none, 0, nullptr);
    std::vector<LogicOpList> lists;
    EXPECT_EQ(compiler.Compile({"x = 1", internal[0] + " = 1"}, lists), kLogicUnknownIdentifier);
    EXPECT_EQ(compiler.Compile({internal[0] + " = ~" + internal[0]}, lists), kLogicCompiled);
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(Text(lists[0]), Text({I(0), I(0), kNot, kEnd}));
}

TEST(LogicCompiler, ReportsOnlyTheFirstBadEquation) {
    RecordingSink sink;
    std::vector<LogicOpList> lists;
    EXPECT_EQ(Compile({"x = a", "x = zz", "x = (a", "e[0] = 1"}, lists, &sink),
              kLogicUnknownIdentifier);
    ASSERT_EQ(sink.calls.size(), 1u);
    EXPECT_EQ(sink.calls[0].equation, 1);
    EXPECT_EQ(sink.calls[0].position, 4);
    EXPECT_TRUE(lists.empty());

    // Without a sink nothing is shown; the code is the same.
    EXPECT_EQ(Compile({"x = a", "x = zz"}, lists, nullptr), kLogicUnknownIdentifier);
}

TEST(LogicCompiler, ReplacesTheListsOnSuccessOnly) {
    std::vector<LogicOpList> lists;
    ASSERT_EQ(Compile({"x = a", "d[0,1] = 0"}, lists, nullptr), kLogicCompiled);
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(Text(lists[1]), Text({D(0, 1), kZero, kEnd}));
    EXPECT_EQ(Compile({"x = b"}, lists, nullptr), kLogicCompiled);
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(Text(lists[0]), Text({I(kX), I(kB), kEnd}));
    EXPECT_EQ(Compile({}, lists, nullptr), kLogicCompiled);
    EXPECT_TRUE(lists.empty());
}

TEST(LogicCompiler, RemoveBlanksRemovesEveryBlankInPlace) {
    char text[] = "  s 1 =  a b ";
    RemoveBlanks(text);
    EXPECT_STREQ(text, "s1=ab");
    std::string other = " a\tb ";
    RemoveBlanks(other);
    EXPECT_EQ(other, "a\tb");
}
