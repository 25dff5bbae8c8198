#include "model/elements/ElementOf.h"

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

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
#include "tests/model/elements/FakeElementUi.h"

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

} // namespace
