// Reading a block costs memory in proportion to its text, never to the sizes it declares: an
// element, matrix or plane list of 99999 x 99999 cells (1.2 GB a plane) whose text breaks off
// after a few lines is refused with the code, line and token its first fault gives, in a process
// whose address space is limited to what it holds plus 200 MB.

#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "model/data/ClockList.h"
#include "model/data/Matrix.h"
#include "model/data/PlaneList.h"
#include "model/elements/ACElem.h"
#include "model/elements/AInputElem.h"
#include "model/elements/AJoinElem.h"
#include "model/elements/ALogicElem.h"
#include "model/elements/AMacroInputElem.h"
#include "model/elements/AMaskElem.h"
#include "model/elements/AOutputElem.h"
#include "model/elements/APermElem.h"
#include "model/elements/ARuleElem.h"
#include "model/elements/ASSeedElem.h"
#include "model/format/ParseError.h"
#include "tests/support/AddressSpace.h"

namespace {

const char* const kHuge = "(99999,99999)";
const char* const kShortRow = "0000000000000000"; // 16 of the 99999 cells a row must hold

std::string Header(const char* type, int inputs, int outputs) {
    auto dims = [](int count) {
        std::string text;
        for (int i = 0; i < count; i++)
            text += kHuge;
        return count == 0 ? std::string("(-,-)") : text;
    };
    return std::string("TYPE: ") + type + "\nINTERNAL_DATA {\n  NAME:       big\n" +
           "  COMMENT:    \n  INPUTS:     " + std::to_string(inputs) +
           "\n  OUTPUTS:    " + std::to_string(outputs) + "\n  INPUT_DIM:  " + dims(inputs) +
           "\n  OUTPUT_DIM: " + dims(outputs) + "\n  CLOCK:      0\n  TIME:       0\n}\n";
}

// A MATRIX block of the given dimension whose data holds the one short row.
std::string ShortMatrix(const char* dimension) {
    return std::string("MATRIX {\n  DIMENSION: ") + dimension + "\n  DATA {\n    " + kShortRow +
           "\n    " + kShortRow + "\n  }\n}\n";
}

// The same after a first row that holds all its cells, every one set.
std::string FullRowThenShortMatrix() {
    return std::string("MATRIX {\n  DIMENSION: (99999,99999)\n  DATA {\n    ") +
           std::string(99999, '1') + "\n    " + kShortRow + "\n  }\n}\n";
}

std::string OneCellMatrix() {
    return "MATRIX {\n  DIMENSION: (1,1)\n  DATA {\n    1\n  }\n}\n";
}

struct ReadCase {
    const char* name;
    std::function<int(std::istream&)> read;
    std::string text;
    int code;
    const char* lineOf; // the first line holding this text is the one reported
    const char* token;
};

template <class Elem> std::function<int(std::istream&)> ElementRead() {
    return [](std::istream& in) {
        Elem element(nullptr, 0, 0);
        return element.Read(in, nullptr);
    };
}

const ReadCase kCases[] = {
    {"MATRIX",
     [](std::istream& in) {
         Matrix plane = Matrix::MadeOnFirstUse(99999, 99999);
         return plane.Read(in, nullptr);
     },
     ShortMatrix(kHuge), kUnexpectedChar, kShortRow, "DATA"},
    {"XY_PLANE_DATA",
     [](std::istream& in) {
         PlaneList planes(99999, 99999, 1);
         return planes.Read(in);
     },
     "XY_PLANE_DATA {\n  NUMBER: 1000000\n  PLANES {\n" + ShortMatrix(kHuge), kUnexpectedChar,
     kShortRow, "DATA"},
    {"INPUT", ElementRead<AInputElem>(),
     Header("INPUT", 1, 1) + "LOGICAL_DATA {\n  XY_PLANE_DATA {\n    NUMBER: 3\n    PLANES {\n" +
         ShortMatrix(kHuge),
     kUnexpectedChar, kShortRow, "DATA"},
    {"MASK", ElementRead<AMaskElem>(),
     Header("MASK", 1, 1) + "LOGICAL_DATA {\n  MASK:\n" + ShortMatrix(kHuge), kUnexpectedChar,
     kShortRow, "DATA"},
    {"MASK with a whole row", ElementRead<AMaskElem>(),
     Header("MASK", 1, 1) + "LOGICAL_DATA {\n  MASK:\n" + FullRowThenShortMatrix(), kUnexpectedChar,
     kShortRow, "DATA"},
    {"RULE search pattern", ElementRead<ARuleElem>(),
     Header("RULE", 1, 1) + "LOGICAL_DATA {\n  PATTERN_DIMENSION: (99999,99999)\n" +
         "  SEARCH_PATTERN:\n" + ShortMatrix(kHuge),
     kUnexpectedChar, kShortRow, "DATA"},
    {"RULE mask", ElementRead<ARuleElem>(),
     Header("RULE", 1, 1) + "LOGICAL_DATA {\n  PATTERN_DIMENSION: (1,1)\n  SEARCH_PATTERN:\n" +
         OneCellMatrix() + "  SUBSTITUTION_PATTERN:\n" + OneCellMatrix() + "  MASK:\n" +
         ShortMatrix(kHuge),
     kUnexpectedChar, kShortRow, "DATA"},
    {"LOGIC internal data", ElementRead<ALogicElem>(),
     Header("LOGIC", 1, 1) +
         "LOGICAL_DATA {\n  PE_DIMENSION: (1,1)\n  PE_DATA {\n    NAMES {\n      d[0,0]\n"
         "    }\n  }\n  EXTERNAL_DATA {\n    NUMBER: 0\n    NAMES {\n    }\n  }\n"
         "  INTERNAL_DATA {\n    NUMBER: 1\n    NAMES {\n      s\n    }\n  }\n"
         "  EQUATION_DATA {\n    NUMBER: 1\n    EQUATIONS {\n      d[0,0] = s\n    }\n"
         "    COMPUTE_PARALLEL: MAYBE\n",
     kUnexpectedChar, "MAYBE", "COMPUTE_PARALLEL:"},
    {"LOGIC external data", ElementRead<ALogicElem>(),
     Header("LOGIC", 1, 1) +
         "LOGICAL_DATA {\n  PE_DIMENSION: (1,1)\n  PE_DATA {\n    NAMES {\n      d[0,0]\n"
         "    }\n  }\n  EXTERNAL_DATA {\n    NUMBER: 1\n    NAMES {\n      e\n    }\n"
         "    MATRIX {\n      DIMENSION: (1,99999)\n      DATA {\n        1\n      }\n",
     kUnexpectedChar, "      }\n", "DATA"},
    {"S-SEED", ElementRead<ASSeedElem>(),
     Header("S-SEED", 1, 1) + "LOGICAL_DATA {\n  ORIENTATION: DIAGONAL\n}\n", kUnexpectedChar,
     "DIAGONAL", "DIAGONAL"},
    {"PERM", ElementRead<APermElem>(),
     Header("PERM", 1, 1) + "LOGICAL_DATA {\n  CONNECTIONS {\n    (0,0) -> (1,1)\n" +
         "    (99999,0) -> (0,0)\n",
     kPermNotInDimension, "(99999,0)", "(99999,0)"},
    {"OUTPUT", ElementRead<AOutputElem>(),
     Header("OUTPUT", 1, 1) + "LOGICAL_DATA {\n  NUMBER_PLANES: 1000000\n", kUnexpectedEof,
     "NUMBER_PLANES", ""},
    {"C++", ElementRead<ACElem>(), Header("C++", 1, 1) + "LOGICAL_DATA {\n  CODE:\n}\n",
     kKeywordExpected, "CODE:", "LISTING:"},
    {"JOIN", ElementRead<AJoinElem>(), Header("JOIN", 8, 1) + "LOGICAL_DATA{\n  RULE: XNOR\n}\n",
     kUnknownLogicalOperation, "XNOR", "XNOR"},
    {"MACRO_INPUT", ElementRead<AMacroInputElem>(),
     Header("MACRO_INPUT", 0, 1) + "LOGICAL_DATA {\n  INPUT_NR: one\n}\n", kUnexpectedChar,
     "INPUT_NR", "INPUT_NR:"},
};

int LineOf(const std::string& text, const char* part) {
    const size_t at = text.find(part);
    if (at == std::string::npos) return -1;
    int line = 1;
    for (size_t i = 0; i < at; i++)
        line += text[i] == '\n';
    return line;
}

// Reads the case and compares its first error with the expected one; 0 when they agree, else 1
// with what differs on std::cerr.
int ReadAndCompare(const ReadCase& c) {
    ClearParseError();
    std::istringstream in(c.text);
    const int code = c.read(in);
    const char* token = GetParseErrorToken() != nullptr ? GetParseErrorToken() : "";
    const int line = GetParseErrorLine();
    if (code == c.code && GetParseError() == c.code && line == LineOf(c.text, c.lineOf) &&
        std::strcmp(token, c.token) == 0) {
        return 0;
    }
    std::cerr << c.name << ": code " << code << " line " << line << " token '" << token
              << "' where " << c.code << ", " << LineOf(c.text, c.lineOf) << ", '" << c.token
              << "' was expected\n";
    return 1;
}

#ifndef __SANITIZE_ADDRESS__
// In a child process: the address space is limited to what the process holds plus 200 MB, so a
// plane of the declared size can never be had, and the case is read.
void ReadWithLittleMemory(const ReadCase& c) {
    LimitAddressSpaceToHeldPlus(std::size_t{200} << 20);
    std::exit(ReadAndCompare(c));
}
#endif

class DeclaredSizeRead : public ::testing::Test {
protected:
    DeclaredSizeRead() { ResetClocks(); }
    ~DeclaredSizeRead() override { GetClocks().Clear(); }
};

} // namespace

TEST_F(DeclaredSizeRead, ShortTextIsRefusedBeforePlanesOfTheDeclaredSizeAreMade) {
    for (const ReadCase& c : kCases) {
        SCOPED_TRACE(c.name);
#ifdef __SANITIZE_ADDRESS__
        // The address sanitizer reserves address space that no limit can follow: the errors are
        // still those of the text.
        EXPECT_EQ(ReadAndCompare(c), 0);
#else
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        EXPECT_EXIT(ReadWithLittleMemory(c), testing::ExitedWithCode(0), "");
#endif
    }
}
