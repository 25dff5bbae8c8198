#include "model/elements/ElementHeader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "model/data/ClockList.h"
#include "model/data/Connection.h"
#include "model/elements/PinCode.h"
#include "model/format/ParseError.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/TestElement.h"

namespace {

const char* const kMaskHeader = R"(TYPE: MASK
INTERNAL_DATA {
  NAME:       MASK
  COMMENT:    
  INPUTS:     1
  OUTPUTS:    1
  INPUT_DIM:  (16,16)
  OUTPUT_DIM: (16,16)
  CLOCK:      0
  TIME:       0
}
)";

std::string Token() {
    const char* token = GetParseErrorToken();
    return token != nullptr ? token : "";
}

std::string WriteHeaderOf(const AElement& element, int level) {
    std::ostringstream out;
    EXPECT_EQ(element.WriteHeader(out, level), 0);
    return out.str();
}

// A header with the given lines 3..10 (the keys inside INTERNAL_DATA).
std::string Header(const std::string& inner, const char* type = "MASK") {
    return std::string("TYPE: ") + type + "\nINTERNAL_DATA {\n" + inner + "}\n";
}

std::string Inner(const char* inputs, const char* outputs, const char* inputDim,
                  const char* outputDim, const char* clock, const char* time) {
    return std::string("  NAME:       N\n  COMMENT:    C\n") + "  INPUTS:     " + inputs +
           "\n  OUTPUTS:    " + outputs + "\n  INPUT_DIM:  " + inputDim +
           "\n  OUTPUT_DIM: " + outputDim + "\n  CLOCK:      " + clock + "\n  TIME:       " + time +
           "\n";
}

class ElementHeaderFixture : public ::testing::Test {
protected:
    ElementHeaderFixture() {
        ResetClocks();
        AddClock(50, 0); // two clocks
        AElement::SetDefaultPlaneSize(16, 16);
        ClearParseError();
    }
    ~ElementHeaderFixture() override {
        while (architecture.GetElements().GetCount() > 0)
            delete architecture.GetElements()[0];
        GetClocks().Clear();
    }
    ATestElem* Add(int x, int y, uint32_t type = kMask, int inputs = 1, int outputs = 1) {
        ATestElem* element = new ATestElem(&architecture, x, y, type, inputs, outputs);
        architecture.GetElements().Add(element);
        return element;
    }
    int Read(AElement& element, const std::string& text) {
        ClearParseError();
        std::istringstream in(text);
        element.ReadHeader(in, nullptr);
        return GetParseError();
    }

    FakeElementUi ui;
    Architecture architecture;
};

using ElementHeaderBlock = ElementHeaderFixture;

} // namespace

TEST_F(ElementHeaderBlock, WritesTheColumnAlignedBlock) {
    ATestElem mask(nullptr, 0, 0);
    EXPECT_EQ(WriteHeaderOf(mask, 0), kMaskHeader);

    ATestElem split(nullptr, 0, 0, kMacro, 0, 2);
    split.SetName("Fan out  ");
    split.SetOutputPlaneSize(1, 8, 4);
    split.SetClock(2);
    split.SetTime(15);
    EXPECT_EQ(WriteHeaderOf(split, 1), "  TYPE: MACRO\n"
                                       "  INTERNAL_DATA {\n"
                                       "    NAME:       Fan out  \n"
                                       "    COMMENT:    \n"
                                       "    INPUTS:     0\n"
                                       "    OUTPUTS:    2\n"
                                       "    INPUT_DIM:  (-,-)\n"
                                       "    OUTPUT_DIM: (16,16)(8,4)\n"
                                       "    CLOCK:      2\n"
                                       "    TIME:       15\n"
                                       "  }\n");
}

TEST_F(ElementHeaderBlock, AFailedStreamGetsNothingWritten) {
    ATestElem mask(nullptr, 0, 0);
    std::ostringstream out;
    out.setstate(std::ios::failbit);
    EXPECT_EQ(mask.WriteHeader(out, 0), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(GetParseError(), 0);
}

TEST_F(ElementHeaderBlock, WrittenBlocksReadBackByteForByte) {
    ATestElem* original = Add(0, 0, kJoin, 2, 1);
    original->SetName("  Both  ends  ");
    original->SetComment("a # b");
    original->SetPinCount(3, 1, 0);
    original->SetInputPlaneSize(1, 7, 9);
    original->SetOutputPlaneSize(0, 99999, 1);
    original->SetClock(1);
    original->SetTime(999999);
    original->CreateData();
    original->data->value = -12;
    std::ostringstream first;
    ASSERT_EQ(original->Write(first, 2, nullptr), 0);

    ATestElem* copy = Add(300, 0, kJoin, 2, 1);
    std::istringstream in(first.str());
    ASSERT_EQ(copy->Read(in, nullptr), 0) << GetParseError() << " line " << GetParseErrorLine();
    // The blanks after a keyword are not part of the value: leading blanks are lost.
    EXPECT_STREQ(copy->GetName(), "Both  ends  ");
    copy->SetName(original->GetName());
    std::ostringstream second;
    ASSERT_EQ(copy->Write(second, 2, nullptr), 0);
    EXPECT_EQ(second.str(), first.str());
    EXPECT_EQ(copy->data->value, -12);
}

TEST_F(ElementHeaderBlock, AnElementWithTheLargestDefaultTimeReadsBack) {
    // The default times go up to 2147483647: what a new element is given must load again.
    SetDefaultTime(kMask, 2147483647);
    ATestElem* original = Add(0, 0);
    ResetDefaultTimes();
    original->CreateData();
    std::ostringstream out;
    ASSERT_EQ(original->Write(out, 0, nullptr), 0);
    ATestElem* copy = Add(300, 0);
    std::istringstream in(out.str());
    ASSERT_EQ(copy->Read(in, nullptr), 0) << GetParseError() << " line " << GetParseErrorLine();
    EXPECT_EQ(copy->GetTime(), 2147483647u);
}

TEST_F(ElementHeaderBlock, ReadsValidHeaders) {
    struct Case {
        std::string text;
        int inputs, outputs, inputWidth, outputHeight, clock;
        uint32_t time;
    };
    const Case kCases[] = {
        {kMaskHeader, 1, 1, 16, 16, 0, 0},
        {Header(Inner("1", "1", "(4,5)", "(6,7)", "2", "10"), "OUTPUT"), 1, 1, 4, 7, 2, 10},
        {Header(Inner("2", "1", "[3, 4)(3,4)", " ( 5 , 6 ] ", "0", "999999")), 2, 1, 3, 6, 0,
         999999},
        // The largest default time a new element can be given.
        {Header(Inner("1", "1", "(2,2)", "(2,2)", "1", "2147483647")), 1, 1, 2, 2, 1, 2147483647},
        {"TYPE: MASK\nINTERNAL_DATA {\n  NAME:       N\n  COMMENT:    C\n  INPUTS:     1\n"
         "  OUTPUTS:    1\n  INPUT_DIM:  (1,1)\n  OUTPUT_DIM: (1,1)\n\n# a comment\n"
         "  CLOCK:      1\n  TIME:       1 }\n",
         1, 1, 1, 1, 1, 1},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        ATestElem* element = Add(0, 0);
        ASSERT_EQ(Read(*element, c.text), 0) << GetParseErrorLine() << " " << Token();
        EXPECT_EQ(element->GetInputCount(), c.inputs);
        EXPECT_EQ(element->GetOutputCount(), c.outputs);
        EXPECT_EQ(element->GetInputPlaneWidth(c.inputs - 1), c.inputWidth);
        EXPECT_EQ(element->GetOutputPlaneHeight(0), c.outputHeight);
        EXPECT_EQ(element->GetClock(), c.clock);
        EXPECT_EQ(element->GetTime(), c.time);
        EXPECT_NE(element->data, nullptr); // a fresh data object for the new sizes
        delete element;
    }
}

TEST_F(ElementHeaderBlock, RefusesBrokenHeadersWithCodeLineAndToken) {
    struct Case {
        std::string text;
        int code, line;
        const char* token;
    };
    const Case kCases[] = {
        {"TYPO: MASK\n", 4, 1, "TYPE:"},
        {"TYPE: MASK\nINTERNAL_DAT {\n", 4, 2, "INTERNAL_DATA"},
        {"TYPE: MASK\nINTERNAL_DATA\n  NAME: x\n", 4, 3, "{"},
        {"TYPE: MASK\nINTERNAL_DATA {\n\tNAME:       N\n", 4, 3, "NAME:"},
        {Header(Inner("x", "1", "(1,1)", "(1,1)", "0", "0")), 2, 5, "INPUTS:"},
        {Header(Inner("", "1", "(1,1)", "(1,1)", "0", "0")), 9, 5, "INPUTS:"},
        {Header(Inner("1x", "1", "(1,1)", "(1,1)", "0", "0")), 4, 5, "OUTPUTS:"},
        {Header(Inner("-1", "1", "(1,1)", "(1,1)", "0", "0")), 5, 5, "INPUTS:"},
        {Header(Inner("0", "1", "(-,-)", "(1,1)", "0", "0")), 5, 5, "INPUTS:"},
        {Header(Inner("1", "1000", "(1,1)", "(1,1)", "0", "0")), 5, 6, "OUTPUTS:"},
        {Header(Inner("1", "1", "(-,-)", "(1,1)", "0", "0")), 11, 7, "INPUT_DIM:"},
        {Header(Inner("2", "1", "(1,1)", "(1,1)", "0", "0")), 9, 7, "INPUT_DIM:"},
        {Header(Inner("1", "1", "(3;4)", "(1,1)", "0", "0")), 2, 7, "INPUT_DIM:"},
        {Header(Inner("1", "1", "(0,16)", "(1,1)", "0", "0")), 5, 7, "INPUT_DIM:"},
        {Header(Inner("1", "1", "(16,-3)", "(1,1)", "0", "0")), 5, 7, "INPUT_DIM:"},
        {Header(Inner("1", "1", "(100000,1)", "(1,1)", "0", "0")), 5, 7, "INPUT_DIM:"},
        {Header(Inner("1", "1", "(1,1)(1,1)", "(1,1)", "0", "0")), 4, 7, "OUTPUT_DIM:"},
        {Header(Inner("1", "1", "(1,1)", "", "0", "0")), 9, 8, "OUTPUT_DIM:"},
        {Header(Inner("1", "1", "(1,1)", "(1,1)", "3", "0")), 5, 9, "CLOCK:"},
        {Header(Inner("1", "1", "(1,1)", "(1,1)", "-1", "0")), 5, 9, "CLOCK:"},
        {Header(Inner("1", "1", "(1,1)", "(1,1)", "0", "2147483648")), 5, 10, "TIME:"},
        {Header(Inner("1", "1", "(1,1)", "(1,1)", "0", "-1")), 5, 10, "TIME:"},
        {Header(Inner("1", "1", "(1,1)", "(1,1)", "0", "T")), 2, 10, "TIME:"},
        {"TYPE: MASK\nINTERNAL_DATA {\n  NAME:       N\n  COMMENT:    C\n  INPUTS:     1\n"
         "  OUTPUTS:    1\n  INPUT_DIM:  (1,1)\n  OUTPUT_DIM: (1,1)\n  CLOCK:      0\n"
         "  TIME:       0\n",
         8, 10, ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        ATestElem element(nullptr, 0, 0);
        EXPECT_EQ(Read(element, c.text), c.code);
        EXPECT_EQ(GetParseErrorLine(), c.line);
        EXPECT_EQ(Token(), c.token);
    }
}

TEST_F(ElementHeaderBlock, APinSideWithoutPinsNeedsAnUndefinedPair) {
    const std::string kGood = Header(Inner("0", "2", "(-,-)", "(4,4)(4,4)", "0", "0"), "MACRO");
    const std::string kBad = Header(Inner("0", "2", "(4,4)", "(4,4)(4,4)", "0", "0"), "MACRO");
    const std::string kMissing = Header(Inner("0", "2", "", "(4,4)(4,4)", "0", "0"), "MACRO");
    ATestElem element(nullptr, 0, 0, kMacro, 0, 0);
    EXPECT_EQ(Read(element, kGood), 0);
    EXPECT_EQ(element.GetOutputCount(), 2);
    EXPECT_EQ(Read(element, kBad), 14);
    EXPECT_EQ(GetParseErrorLine(), 7);
    EXPECT_EQ(Token(), "INPUT_DIM:");
    EXPECT_EQ(Read(element, kMissing), 14);
}

TEST_F(ElementHeaderBlock, AnotherTypesNameIsReadWithoutComplaint) {
    ATestElem element(nullptr, 0, 0);
    EXPECT_EQ(Read(element, Header(Inner("1", "1", "(2,2)", "(2,2)", "0", "0"), "RULE")), 0);
    EXPECT_STREQ(element.GetName(), "N");
    EXPECT_STREQ(element.GetComment(), "C");
}

TEST_F(ElementHeaderBlock, APlaneOfAnotherSizeDropsItsConnection) {
    ATestElem* source = Add(0, 0);
    ATestElem* element = Add(200, 0);
    ATestElem* target = Add(400, 0);
    new Connection(&architecture, source, 3, element, 2, 0);
    new Connection(&architecture, element, 3, target, 2, 0);
    EXPECT_EQ(Read(*element, Header(Inner("1", "1", "(16,16)", "(16,16)", "0", "0"))), 0);
    EXPECT_NE(element->GetInputConnection(0), nullptr);
    EXPECT_NE(element->GetOutputConnection(0), nullptr);
    EXPECT_EQ(Read(*element, Header(Inner("1", "1", "(8,8)", "(16,16)", "0", "0"))), 0);
    EXPECT_EQ(element->GetInputConnection(0), nullptr);
    EXPECT_EQ(source->GetOutputConnection(0), nullptr);
    EXPECT_NE(element->GetOutputConnection(0), nullptr);
    EXPECT_EQ(Read(*element, Header(Inner("1", "1", "(8,8)", "(16,8)", "0", "0"))), 0);
    EXPECT_EQ(target->GetInputConnection(0), nullptr);
}

TEST_F(ElementHeaderBlock, MorePinsAreTakenEvenWhereTheIconWouldOverlap) {
    // Reading happens before the element is placed: the file decides its pins.
    ATestElem* element = Add(0, 0, kJoin, 1, 1);
    Add(0, 35);
    ASSERT_EQ(Read(*element, Header(Inner("3", "1", "(5,5)(6,6)(7,7)", "(5,5)", "0", "0"))), 0);
    EXPECT_EQ(element->GetInputCount(), 3);
    EXPECT_EQ(element->GetInputPlaneWidth(2), 7);
    EXPECT_EQ(element->GetHeight(), 60);
    EXPECT_TRUE(ui.redraws.empty());
}

TEST_F(ElementHeaderBlock, AFailedReadLeavesTheElementAsItWas) {
    ATestElem* source = Add(0, 0);
    ATestElem* element = Add(200, 0);
    new Connection(&architecture, source, 3, element, 2, 0);
    element->SetName("Keep");
    element->SetClock(1);
    element->CreateData();
    element->data->value = 5;
    D_TestElem* data = element->data;
    std::ostringstream before;
    element->Write(before, 0, nullptr);

    const std::string kBrokenData = Header(Inner("2", "1", "(8,8)(8,8)", "(8,8)", "2", "3")) +
                                    "LOGICAL_DATA {\n  VALUE: x\n}\n";
    const std::string kBrokenHeader = Header(Inner("2", "1", "(8,8)(8,8)", "(8,8)", "5", "3")) +
                                      "LOGICAL_DATA {\n  VALUE: 1\n}\n";
    for (const std::string& text : {kBrokenData, kBrokenHeader}) {
        SCOPED_TRACE(text);
        ClearParseError();
        std::istringstream in(text);
        EXPECT_NE(element->Read(in, nullptr), 0);
        std::ostringstream after;
        element->Write(after, 0, nullptr);
        EXPECT_EQ(after.str(), before.str());
        EXPECT_EQ(element->data, data);
        EXPECT_NE(element->GetInputConnection(0), nullptr);
    }
}
