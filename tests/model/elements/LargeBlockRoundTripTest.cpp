// Every element type at the largest plane sizes the dimension dialogs give, and a PERM table
// with one very long list: each block is written, read into a fresh element and written again.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "model/data/ClockList.h"
#include "model/data/Matrix.h"
#include "model/elements/ACElem.h"
#include "model/elements/AElement.h"
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
#include "tests/model/elements/BlockText.h"
#include "tests/model/elements/ElementFixture.h"

namespace {

const int kLargestSide = 65536; // what Change Dimension accepts

struct PlaneShape {
    int width, height;
};
const PlaneShape kShapes[] = {{kLargestSide, 1}, {1, kLargestSide}};

// Every third cell set, so that rows are long runs of both digits.
void Fill(Matrix& plane) {
    for (int y = 0; y < plane.GetDimY(); y++) {
        for (int x = 0; x < plane.GetDimX(); x++)
            plane.SetBit(x, y, (x + y) % 3 == 0);
    }
}

std::unique_ptr<Matrix> Filled(int width, int height) {
    auto plane = std::make_unique<Matrix>(width, height);
    Fill(*plane);
    return plane;
}

struct TypeCase {
    const char* name;
    std::function<AElement*()> make;
    std::function<void(AElement&, const PlaneShape&)> fill; // null: the fresh data
};

const TypeCase kTypes[] = {
    {"MASK", [] { return new AMaskElem(nullptr, 0, 0); },
     [](AElement& e, const PlaneShape&) { Fill(static_cast<AMaskElem&>(e).GetData().GetMask()); }},
    {"RULE", [] { return new ARuleElem(nullptr, 0, 0); },
     [](AElement& e, const PlaneShape& s) {
         D_RuleElem& rule = static_cast<ARuleElem&>(e).GetData();
         rule.SetSearch(Filled(s.width, s.height));
         rule.SetSubstitution(Filled(s.width, s.height));
         Fill(rule.GetMask()->GetMask());
     }},
    {"PERM", [] { return new APermElem(nullptr, 0, 0); },
     [](AElement& e, const PlaneShape& s) {
         // Every transmitter its own receiver and the first one every receiver.
         D_PermElem& table = static_cast<APermElem&>(e).GetData();
         for (int x = 0; x < s.width; x++)
             for (int y = 0; y < s.height; y++)
                 table.Add(x, y, x, y);
         for (int x = 0; x < s.width; x++)
             for (int y = 0; y < s.height; y++)
                 table.Add(0, 0, x, y);
     }},
    {"LOGIC", [] { return new ALogicElem(nullptr, 0, 0); }, nullptr},
    {"S-SEED", [] { return new ASSeedElem(nullptr, 0, 0); }, nullptr},
    {"SPLIT", [] { return new ASplitElem(nullptr, 0, 0); }, nullptr},
    {"JOIN", [] { return new AJoinElem(nullptr, 0, 0); }, nullptr},
    {"INPUT", [] { return new AInputElem(nullptr, 0, 0); },
     [](AElement& e, const PlaneShape& s) {
         PlaneList& planes = static_cast<AInputElem&>(e).GetStoredData().GetPlaneList();
         Matrix plane(s.width, s.height);
         Fill(plane);
         planes.SetXYPlane(plane, 0);
         planes.Push(plane);
     }},
    {"OUTPUT", [] { return new AOutputElem(nullptr, 0, 0); }, nullptr},
    {"Cpp", [] { return new ACElem(nullptr, 0, 0); }, nullptr},
    {"MACRO_INPUT", [] { return new AMacroInputElem(nullptr, 0, 0); }, nullptr},
    {"MACRO_OUTPUT", [] { return new AMacroOutputElem(nullptr, 0, 0); }, nullptr},
};

std::unique_ptr<AElement> Sized(const TypeCase& type, const PlaneShape& shape) {
    std::unique_ptr<AElement> element(type.make());
    for (int i = 0; i < element->GetInputCount(); i++)
        element->SetInputPlaneSize(i, shape.width, shape.height);
    for (int i = 0; i < element->GetOutputCount(); i++)
        element->SetOutputPlaneSize(i, shape.width, shape.height);
    element->CreateData();
    if (type.fill) type.fill(*element, shape);
    return element;
}

// The block written by a fresh element of the type after reading text; empty when it failed.
std::string ReadAndWrite(const TypeCase& type, const std::string& text) {
    std::unique_ptr<AElement> fresh(type.make());
    fresh->CreateData();
    const int result = ReadBlock(*fresh, text);
    EXPECT_EQ(result, kNoError) << ParseErrorMessage(GetParseError()) << " at line "
                                << GetParseErrorLine();
    if (result != kNoError) return std::string();
    return WriteBlock(*fresh, 0);
}

// The clocked types name clock 1 of the architecture.
class LargeBlockRoundTrip : public ElementFixture {};

TEST_F(LargeBlockRoundTrip, EveryTypeAtTheLargestPlanesReadsBackToTheSameBytes) {
    for (const TypeCase& type : kTypes) {
        for (const PlaneShape& shape : kShapes) {
            SCOPED_TRACE(std::string(type.name) + " " + std::to_string(shape.width) + " x " +
                         std::to_string(shape.height));
            std::unique_ptr<AElement> element = Sized(type, shape);
            const std::string first = WriteBlock(*element, 0);
            const std::string second = ReadAndWrite(type, first);
            // A PERM list comes back in reverse from every read, so its bytes repeat after two.
            const bool reverses = std::string(type.name) == "PERM";
            const std::string third = reverses ? ReadAndWrite(type, second) : second;
            EXPECT_EQ(second.size(), first.size());
            EXPECT_TRUE(third == first) << "the writings differ";
        }
    }
}

TEST_F(LargeBlockRoundTrip, APermTransmitterWithAHundredThousandTargetsReadsBack) {
    const TypeCase& perm = kTypes[2];
    APermElem element(nullptr, 0, 0);
    element.SetInputPlaneSize(0, 1, 1);
    element.SetOutputPlaneSize(0, 400, 250);
    element.CreateData();
    for (int x = 0; x < 400; x++)
        for (int y = 0; y < 250; y++)
            ASSERT_EQ(element.GetData().Add(0, 0, x, y), 1);
    const std::string first = WriteBlock(element, 0);
    ASSERT_GT(first.size(), 100000u * 7);
    const std::string second = ReadAndWrite(perm, first);
    EXPECT_EQ(second.size(), first.size());
    EXPECT_TRUE(ReadAndWrite(perm, second) == first) << "the writings differ";
}

} // namespace
