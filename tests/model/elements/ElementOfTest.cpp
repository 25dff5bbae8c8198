#include "model/elements/ElementOf.h"

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/data/ClockList.h"
#include "model/elements/AInputElem.h"
#include "model/elements/AJoinElem.h"
#include "model/elements/ALogicElem.h"
#include "model/elements/AMacroInputElem.h"
#include "model/elements/AMacroOutputElem.h"
#include "model/elements/AMaskElem.h"
#include "model/elements/AOutputElem.h"
#include "model/elements/APermElem.h"
#include "model/elements/ARuleElem.h"
#include "model/elements/ASSeedElem.h"
#include "model/elements/ASplitElem.h"
#include "model/format/ParseError.h"
#include "tests/model/elements/BlockText.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/PlaneText.h"

namespace {

using MakeElement = std::function<AElement*()>;

// Every pin of the element gets a 4 x 1 plane, then its data.
AElement* Sized(AElement* element) {
    for (int k = 0; k < element->GetInputCount(); k++)
        element->SetInputPlaneSize(k, 4, 1);
    for (int k = 0; k < element->GetOutputCount(); k++)
        element->SetOutputPlaneSize(k, 4, 1);
    element->CreateData();
    return element;
}

template <class Elem> MakeElement Maker() {
    return [] { return Sized(new Elem(nullptr, 0, 0)); };
}

std::string Written(AElement& element, FileArgument* source = nullptr) {
    std::ostringstream out;
    EXPECT_EQ(element.Write(out, 1, source), 0);
    return out.str();
}

// What std::cerr receives while it lives.
class CerrCapture {
public:
    CerrCapture() : old(std::cerr.rdbuf(text.rdbuf())) {}
    ~CerrCapture() { std::cerr.rdbuf(old); }
    std::string Text() const { return text.str(); }

private:
    std::ostringstream text;
    std::streambuf* old;
};

struct StaticsCase {
    const char* type;
    MakeElement make;
    int inputs;
    int outputs;
};

const StaticsCase kStatics[] = {
    {"MASK", Maker<AMaskElem>(), 1, 1},
    {"RULE", Maker<ARuleElem>(), 1, 1},
    {"PERM", Maker<APermElem>(), 1, 1},
    {"LOGIC", Maker<ALogicElem>(), 1, 1},
    {"S-SEED", Maker<ASSeedElem>(), 1, 1},
    {"SPLIT", Maker<ASplitElem>(), 1, 2},
    {"JOIN", Maker<AJoinElem>(), 2, 1},
    {"INPUT", Maker<AInputElem>(), 1, 1},
    {"OUTPUT", Maker<AOutputElem>(), 1, 1},
    {"MACRO_INPUT", Maker<AMacroInputElem>(), 0, 1},
    {"MACRO_OUTPUT", Maker<AMacroOutputElem>(), 1, 0},
};

// A new element of each type has its type's pins and stock icon, and copies into its own type.
TEST(ElementOf, TypeStaticsComeFromTheTypesRow) {
    FakeElementUi ui;
    ResetClocks();
    for (const StaticsCase& c : kStatics) {
        SCOPED_TRACE(c.type);
        CerrCapture cerr;
        std::unique_ptr<AElement> element(c.make());
        EXPECT_STREQ(GetTypeName(element->GetType()), c.type);
        EXPECT_EQ(element->GetDefaultInputs(), c.inputs);
        EXPECT_EQ(element->GetDefaultOutputs(), c.outputs);
        EXPECT_EQ(element->GetInputCount(), c.inputs);
        EXPECT_EQ(element->GetOutputCount(), c.outputs);
        EXPECT_EQ(element->HasOwnIcon(), 0);
        EXPECT_GT(element->GetIconWidth(), 0);
        EXPECT_GT(element->GetIconHeight(), 0);
        std::unique_ptr<AElement> copy(element->Copy());
        EXPECT_EQ(copy->GetType(), element->GetType());
        EXPECT_EQ(Written(*copy), Written(*element));
        // The base's answers for a type without statics print on std::cerr.
        EXPECT_EQ(cerr.Text(), "");
    }
    GetClocks().Clear();
}

struct ArgumentCase {
    const char* type;
    MakeElement make;
    const char* readMessage; // empty: the type does not look at the argument
    const char* writeMessage;
};

const ArgumentCase kArguments[] = {
    {"MASK", Maker<AMaskElem>(), "", ""},
    {"S-SEED", Maker<ASSeedElem>(), "", ""},
    {"RULE", Maker<ARuleElem>(), "ARuleElem::Read: the target is no RULE data\n",
     "ARuleElem::Write: the source is no RULE data\n"},
    {"PERM", Maker<APermElem>(), "APermElem::Read: the target is no PERM table\n",
     "APermElem::Write: the source is no PERM table\n"},
    {"LOGIC", Maker<ALogicElem>(), "ALogicElem::Read: the target is no LOGIC data\n",
     "ALogicElem::Write: the source is no LOGIC data\n"},
    {"JOIN", Maker<AJoinElem>(), "AJoinElem::Read: the target is no JOIN rule\n",
     "AJoinElem::Write: the source is no JOIN rule\n"},
    {"INPUT", Maker<AInputElem>(), "AInputElem::Read: the target is no INPUT stack\n",
     "AInputElem::Write: the source is no INPUT stack\n"},
    {"OUTPUT", Maker<AOutputElem>(), "AOutputElem::Read: the target is no OUTPUT stack\n",
     "AOutputElem::Write: the source is no OUTPUT stack\n"},
};

// A data object of another type is reported and the element's own data is read or written
// instead: a wrong argument never reaches the type's reader or writer.
TEST(ElementOf, AnArgumentOfAnotherTypeFallsBackToTheOwnData) {
    FakeElementUi ui;
    ResetClocks();
    for (const ArgumentCase& c : kArguments) {
        SCOPED_TRACE(c.type);
        std::unique_ptr<AElement> element(c.make());
        const std::string block = Written(*element);
        // Of no element type's data.
        FileArgument stranger;
        {
            CerrCapture cerr;
            EXPECT_EQ(Written(*element, &stranger), block);
            EXPECT_EQ(cerr.Text(), c.writeMessage);
        }
        element->SetName("changed");
        ClearParseError();
        std::istringstream in(block);
        CerrCapture cerr;
        EXPECT_EQ(element->Read(in, &stranger), 0);
        EXPECT_EQ(cerr.Text(), c.readMessage);
        EXPECT_EQ(GetParseError(), 0);
        EXPECT_STREQ(element->GetName(), c.type);
        EXPECT_EQ(Written(*element), block);
    }
    GetClocks().Clear();
}

using MakeData = std::function<std::unique_ptr<FileArgument>(int variant)>;

// Data of each type for 4 x 1 planes whose content depends on the variant, so that a block of
// one variant read into data of another shows in what the data writes.
std::unique_ptr<FileArgument> RuleData(int variant) {
    auto data = std::make_unique<D_RuleElem>(4, 1);
    data->SetSearch(std::make_unique<Matrix>(PlaneFromText(variant == 0 ? "10" : "11")));
    data->SetSubstitution(std::make_unique<Matrix>(PlaneFromText(variant == 0 ? "01" : "00")));
    data->GetMask()->GetMask() = PlaneFromText(variant == 0 ? "0110" : "1011");
    return data;
}

std::unique_ptr<FileArgument> PermData(int variant) {
    auto data = std::make_unique<D_PermElem>(4, 1, 4, 1);
    data->Add(0, 0, variant == 0 ? 1 : 3, 0);
    data->Add(2, 0, variant == 0 ? 0 : 1, 0);
    return data;
}

std::unique_ptr<FileArgument> JoinData(int variant) {
    auto data = std::make_unique<D_JoinElem>();
    data->SetRule(variant == 0 ? kJoinXor : kJoinNand);
    return data;
}

template <class Data> std::unique_ptr<FileArgument> StackData(int variant) {
    auto data = std::make_unique<Data>(4, 1, variant == 0 ? 2 : 3);
    data->GetPlaneList().SetBit(variant, 0, 0, 1);
    data->GetPlaneList().SetBit(3, 0, 1, 1);
    return data;
}

std::unique_ptr<FileArgument> LogicData(int variant) {
    auto data = std::make_unique<D_LogicElem>(4, 1);
    EXPECT_EQ(data->SetPEDimension(2, 1), 1);
    data->SetPEDataNames({"d[0,0]", "d[1,0]"});
    data->SetExternalNames({variant == 0 ? "e[0]" : "x[0]"});
    *data->GetExternalData() = Matrix(1, 2);
    data->GetExternalData()->SetBit(0, variant, 1);
    data->SetInternalNames({"s"});
    data->SetEquations(variant == 0 ? std::vector<std::string>{"d[0,0] = e[0] ^ s", "s = d[1,0]"}
                                    : std::vector<std::string>{"d[1,0] = x[0] | s", "s = d[0,0]"});
    return data;
}

struct ReadIntoCase {
    const char* type;
    MakeElement make;
    MakeData data;
    // Faults of the block variant 1 writes, each with the code the type's reader records.
    std::vector<BrokenBlock> broken;
};

const ReadIntoCase kReadsInto[] = {
    {"RULE",
     Maker<ARuleElem>(),
     RuleData,
     {{"PATTERN_DIMENSION: (2,1)", "PATTERN_DIMENSION: (5,1)", kRuleDimensionError, 0, ""},
      {"          00\n", "          0x\n", kUnexpectedChar, 0, ""},
      {"          1011\n        }\n      }\n  }\n", "          1011\n", kUnexpectedEof, 0, ""}}},
    {"PERM",
     Maker<APermElem>(),
     PermData,
     {{"(2,0)  -> (1,0)", "(2,0)  -> (4,0)", kPermNotInDimension, 0, ""},
      {"    }\n  }\n", "    }\n", kUnexpectedEof, 0, ""}}},
    {"JOIN",
     Maker<AJoinElem>(),
     JoinData,
     {{"RULE:", "RULES", kKeywordExpected, 0, ""},
      {"NAND\n  }\n", "NAND\n", kUnexpectedEof, 0, ""}}},
    {"INPUT",
     Maker<AInputElem>(),
     StackData<D_InputElem>,
     {{"NUMBER: 3", "NUMBER: 4", kKeywordExpected, 0, ""},
      {"NUMBER: 3", "NUMBER: 0", kNotEnoughPlanes, 0, ""},
      {"    }\n  }\n", "    }\n", kUnexpectedEof, 0, ""}}},
    {"OUTPUT",
     Maker<AOutputElem>(),
     StackData<D_OutputElem>,
     {{"NUMBER_PLANES: 3", "NUMBER_PLANES: 0", kOutputNotEnoughPlanes, 0, ""},
      {"3\n  }\n", "3\n", kUnexpectedEof, 0, ""}}},
    {"LOGIC",
     Maker<ALogicElem>(),
     LogicData,
     {{"(2,1)", "(3,1)", kLogicDimensionError, 0, ""},
      {"        x[0]\n", "        x(0)\n", kInvalidIdentifier, 0, ""},
      {"COMPUTE_PARALLEL:", "COMPUTE_PARALLEL: MAYBE", kUnexpectedChar, 0, ""},
      {"    }\n  }\n", "    }\n", kUnexpectedEof, 0, ""}}},
};

// A broken block read into given data fails with the type's code and leaves both the element
// and the given data as they were: a half-read target is as lost as a half-read element.
TEST(ElementOf, AFailedReadIntoGivenDataLeavesTheDataAndTheElementAsTheyWere) {
    FakeElementUi ui;
    ResetClocks();
    for (const ReadIntoCase& c : kReadsInto) {
        SCOPED_TRACE(c.type);
        // The good block: another name, the element's planes, the data of variant 1.
        std::unique_ptr<AElement> writer(c.make());
        writer->SetName("written");
        std::unique_ptr<FileArgument> written = c.data(1);
        const std::string good = Written(*writer, written.get());
        std::unique_ptr<AElement> element(c.make());
        element->SetName("kept");
        std::unique_ptr<FileArgument> given = c.data(0);
        const std::string own = Written(*element);
        const std::string givenText = Written(*element, given.get());
        ASSERT_NE(givenText, good);
        for (const BrokenBlock& broken : c.broken) {
            SCOPED_TRACE(broken.replace);
            EXPECT_EQ(ReadBlock(*element, Broken(good, broken), given.get()), broken.code);
            EXPECT_EQ(GetParseError(), broken.code);
            EXPECT_STREQ(element->GetName(), "kept");
            EXPECT_EQ(element->GetInputCount(), writer->GetInputCount());
            EXPECT_EQ(element->GetOutputCount(), writer->GetOutputCount());
            EXPECT_EQ(element->GetInputPlaneWidth(0), 4);
            EXPECT_EQ(element->GetOutputPlaneWidth(0), 4);
            EXPECT_EQ(Written(*element), own);
            EXPECT_EQ(Written(*element, given.get()), givenText);
        }
        // The good block itself reads into the given data.
        EXPECT_EQ(ReadBlock(*element, good, given.get()), 0);
        EXPECT_NE(Written(*element, given.get()), givenText);
    }
    GetClocks().Clear();
}

} // namespace
