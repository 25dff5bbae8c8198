#include "model/elements/APermElem.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/data/ClockList.h"
#include "tests/model/elements/BlockText.h"
#include "tests/model/elements/ElementFixture.h"
#include "tests/model/elements/FakeElementUi.h"
#include "tests/model/elements/PlaneText.h"

namespace {

// A PERM from 2 x 2 cells to 3 x 1: (0,0) sends to (0,0) and then (2,0), (0,1) to (1,0), (1,0)
// to (2,0), written at level 1.
const char* const kPermBlock = R"(  TYPE: PERM
  INTERNAL_DATA {
    NAME:       PERM
    COMMENT:    
    INPUTS:     1
    OUTPUTS:    1
    INPUT_DIM:  (2,2)
    OUTPUT_DIM: (3,1)
    CLOCK:      0
    TIME:       0
  }
  LOGICAL_DATA {
    CONNECTIONS {
      (0,0)  -> (2,0)(0,0)
      (0,1)  -> (1,0)
      (1,0)  -> (2,0)
      (1,1)  -> (-,-)
    }
  }
)";

class PermUi : public FakeElementUi {
public:
    PermUi() { makes[kPermDimensionView] = true; }
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Targets(const D_PermElem& table, int i, int j) {
    std::string text;
    for (int k = 0; k < table.GetTargetCount(i, j); k++) {
        PermTarget target = table.GetTarget(i, j, k);
        text += "(" + std::to_string(target.x) + "," + std::to_string(target.y) + ")";
    }
    return text;
}

class APermElemFixture : public ElementFixture {
protected:
    APermElemFixture() : perm(nullptr, 0, 0) {
        Resize(perm, 2, 2, 3, 1);
        perm.CreateData();
    }

    static void Resize(AElement& element, int inWidth, int inHeight, int outWidth, int outHeight) {
        element.SetInputPlaneSize(0, inWidth, inHeight);
        element.SetOutputPlaneSize(0, outWidth, outHeight);
    }

    static void SetBlockTable(D_PermElem& table) {
        EXPECT_EQ(table.Add(0, 0, 0, 0), 1);
        EXPECT_EQ(table.Add(0, 0, 2, 0), 1);
        EXPECT_EQ(table.Add(0, 1, 1, 0), 1);
        EXPECT_EQ(table.Add(1, 0, 2, 0), 1);
    }

    PermUi ui;
    APermElem perm;
};

using APermElemStep = APermElemFixture;
using APermElemBlock = APermElemFixture;
using APermElemTable = APermElemFixture;

} // namespace

TEST_F(APermElemTable, ListsKeepEachTargetOnceInTheOrderAdded) {
    D_PermElem table(2, 2, 4, 3);
    EXPECT_EQ(table.GetTargetCount(1, 1), 0);
    // Beyond the first two targets the list grows.
    const int kTargets[][2] = {{3, 2}, {0, 0}, {1, 2}, {2, 1}, {0, 2}, {3, 0}};
    for (const auto& t : kTargets)
        EXPECT_EQ(table.Add(1, 1, t[0], t[1]), 1);
    EXPECT_EQ(table.Add(1, 1, 1, 2), 0);
    EXPECT_EQ(Targets(table, 1, 1), "(3,2)(0,0)(1,2)(2,1)(0,2)(3,0)");
    EXPECT_EQ(Targets(table, 0, 1), "");

    EXPECT_EQ(table.Remove(1, 1, 1, 2), 1);
    EXPECT_EQ(table.Remove(1, 1, 1, 2), 0);
    EXPECT_EQ(table.Remove(0, 0, 3, 2), 0);
    EXPECT_EQ(Targets(table, 1, 1), "(3,2)(0,0)(2,1)(0,2)(3,0)");

    Matrix plane(4, 3, 1);
    table.FillTargets(1, 1, plane);
    EXPECT_EQ(PlaneText(plane), "1001/0010/1001");
    table.FillTargets(0, 0, plane);
    EXPECT_EQ(PlaneText(plane), "0000/0000/0000");

    // Cells outside the planes are never stored.
    EXPECT_EQ(table.Add(2, 0, 0, 0), 0);
    EXPECT_EQ(table.Add(0, 0, 4, 0), 0);
    EXPECT_EQ(table.Add(0, 0, 0, -1), 0);
    EXPECT_EQ(Targets(table, 0, 0), "");

    D_PermElem copy(table);
    table.Remove(1, 1, 3, 2);
    EXPECT_EQ(Targets(copy, 1, 1), "(3,2)(0,0)(2,1)(0,2)(3,0)");
    D_PermElem assigned(1, 1, 1, 1);
    assigned = copy;
    EXPECT_EQ(assigned.GetInputWidth(), 2);
    EXPECT_EQ(assigned.GetOutputHeight(), 3);
    EXPECT_EQ(Targets(assigned, 1, 1), "(3,2)(0,0)(2,1)(0,2)(3,0)");
}

TEST_F(APermElemTable, LongListsStillRefuseEveryDuplicate) {
    // Lists of a few and of many targets (a long list answers from its own set): every target
    // is refused a second time, in the table, after removals, and in copies and assignments.
    for (const int count : {3, 31, 32, 33, 200}) {
        SCOPED_TRACE(count);
        D_PermElem table(1, 1, count, 2);
        for (int x = 0; x < count; x++)
            ASSERT_EQ(table.Add(0, 0, x, x % 2), 1);
        D_PermElem copy(table);
        D_PermElem assigned(1, 1, 1, 1);
        assigned = table;
        for (D_PermElem* t : {&table, &copy, &assigned}) {
            for (int x = 0; x < count; x++) {
                EXPECT_EQ(t->Add(0, 0, x, x % 2), 0);
                EXPECT_EQ(t->Add(0, 0, x, 1 - x % 2), 1); // the other row is a new target
            }
            EXPECT_EQ(t->GetTargetCount(0, 0), 2 * count);
        }
        // A removed target may come back, at the end of the list; the others stay refused.
        EXPECT_EQ(table.Remove(0, 0, 0, 0), 1);
        EXPECT_EQ(table.Add(0, 0, 0, 1), 0);
        EXPECT_EQ(table.Add(0, 0, 0, 0), 1);
        EXPECT_EQ(table.Add(0, 0, 0, 0), 0);
        EXPECT_EQ(table.GetTargetCount(0, 0), 2 * count);
        const PermTarget last = table.GetTarget(0, 0, 2 * count - 1);
        EXPECT_EQ(last.x, 0);
        EXPECT_EQ(last.y, 0);
    }
}

// Input planes rows 0 first, with the block's table: (0,0) -> (0,0)(2,0), (0,1) -> (1,0),
// (1,0) -> (2,0), (1,1) -> nothing.
struct PermCase {
    const char* in;
    const char* out;
};
const PermCase kPermCases[] = {
    {"00/00", "000"}, {"10/00", "101"}, {"01/00", "001"}, {"00/10", "010"},
    {"00/01", "000"}, {"11/00", "101"}, {"01/10", "011"}, {"11/11", "111"},
};

TEST_F(APermElemStep, EveryReceiverIsTheOrOfItsTransmitters) {
    EXPECT_EQ(perm.IsDefined(), 1);
    SetBlockTable(perm.GetData());
    for (const PermCase& c : kPermCases) {
        SCOPED_TRACE(c.in);
        *perm.GetInputPlane(0) = PlaneFromText(c.in);
        *perm.GetOutputPlane(0) = Matrix(3, 1, 1);
        perm.Simulate();
        EXPECT_EQ(PlaneText(*perm.GetOutputPlane(0)), c.out);
    }
}

TEST_F(APermElemStep, ADimensionChangeDropsEveryConnectionAndTheEditor) {
    SetBlockTable(perm.GetData());
    perm.OpenModifyWindow();
    ASSERT_NE(perm.GetModifyWindow(), nullptr);
    Resize(perm, 5, 4, 8, 2);
    perm.DimensionChanged();
    EXPECT_EQ(perm.GetModifyWindow(), nullptr);
    const D_PermElem& table = perm.GetData();
    EXPECT_EQ(table.GetInputWidth(), 5);
    EXPECT_EQ(table.GetInputHeight(), 4);
    EXPECT_EQ(table.GetOutputWidth(), 8);
    EXPECT_EQ(table.GetOutputHeight(), 2);
    EXPECT_EQ(Targets(table, 0, 0), "");
}

TEST_F(APermElemStep, ACopyKeepsBothPlaneSizesAndATableOfItsOwn) {
    Resize(perm, 2, 2, 8, 4);
    perm.DimensionChanged();
    perm.GetData().Add(1, 0, 7, 3);
    perm.OpenDimensionDialog();
    std::unique_ptr<AElement> copy(AElement::Clone(perm));
    perm.GetData().Remove(1, 0, 7, 3);
    APermElem* permCopy = dynamic_cast<APermElem*>(copy.get());
    ASSERT_NE(permCopy, nullptr);
    EXPECT_EQ(permCopy->GetData().GetOutputWidth(), 8);
    EXPECT_EQ(permCopy->GetData().GetOutputHeight(), 4);
    EXPECT_EQ(permCopy->GetOutputPlaneHeight(0), 4);
    EXPECT_EQ(Targets(permCopy->GetData(), 1, 0), "(7,3)");
    EXPECT_EQ(permCopy->GetPermDimensionDialog(), nullptr);
}

TEST_F(APermElemStep, TheDimensionDialogIsOpenedOnceAndGoesWithTheElement) {
    perm.OpenDimensionDialog();
    perm.OpenDimensionDialog();
    EXPECT_EQ(ui.opened[kPermDimensionView], 1);
    EXPECT_NE(perm.GetPermDimensionDialog(), nullptr);
    perm.CloseDimensionDialog();
    EXPECT_EQ(ui.deleted[kPermDimensionView], 1);
    EXPECT_EQ(perm.GetPermDimensionDialog(), nullptr);
    perm.OpenDimensionDialog();
    EXPECT_EQ(ui.opened[kPermDimensionView], 2);
    // The two-value dialog of the other types is not used.
    EXPECT_TRUE(ui.dialogs.empty());

    auto other = std::make_unique<APermElem>(nullptr, 0, 0);
    other->OpenDimensionDialog();
    other.reset();
    EXPECT_EQ(ui.deleted[kPermDimensionView], 2); // the element takes its dialog with it
}

TEST_F(APermElemBlock, WritesOneLinePerTransmitterWithItsTargetsLastFirst) {
    SetBlockTable(perm.GetData());
    EXPECT_EQ(WriteBlock(perm, 1), kPermBlock);
    D_PermElem given(2, 2, 3, 1);
    SetBlockTable(given);
    EXPECT_EQ(WriteBlock(perm, 1, &given), kPermBlock);
}

TEST_F(APermElemBlock, AlignsTheArrowsAfterTheWidestPair) {
    APermElem empty(nullptr, 0, 0); // 16 x 16
    empty.CreateData();
    std::vector<std::string> lines = Lines(WriteBlock(empty, 0));
    ASSERT_EQ(lines.size(), 11u + 2u + 256u + 2u);
    EXPECT_EQ(lines[13], "    (0,0)    -> (-,-)");
    EXPECT_EQ(lines[13 + 3 * 16 + 12], "    (3,12)   -> (-,-)");
    EXPECT_EQ(lines[13 + 255], "    (15,15)  -> (-,-)");
    for (int n = 13; n < 13 + 256; n++)
        EXPECT_EQ(lines[static_cast<size_t>(n)].find("->"), 13u) << lines[static_cast<size_t>(n)];
    EXPECT_EQ(lines[269], "  }");
    EXPECT_EQ(lines[270], "}");

    // e = 2 + 0 for a 100 x 5 input.
    Resize(empty, 100, 5, 1, 1);
    empty.DimensionChanged();
    lines = Lines(WriteBlock(empty, 0));
    EXPECT_EQ(lines[13 + 7 * 5 + 3], "    (7,3)    -> (-,-)");
    EXPECT_EQ(lines[13 + 99 * 5 + 4], "    (99,4)   -> (-,-)");
}

TEST_F(APermElemBlock, ReadingBackReversesEveryList) {
    APermElem read(nullptr, 0, 0);
    EXPECT_EQ(ReadBlock(read, kPermBlock), 0);
    EXPECT_EQ(read.GetInputPlaneWidth(0), 2);
    EXPECT_EQ(read.GetOutputPlaneWidth(0), 3);
    EXPECT_EQ(read.GetOutputPlaneHeight(0), 1);
    EXPECT_EQ(Targets(read.GetData(), 0, 0), "(2,0)(0,0)");
    const std::string reversed = Broken(kPermBlock, {"-> (2,0)(0,0)", "-> (0,0)(2,0)", 0, 0, ""});
    EXPECT_EQ(WriteBlock(read, 1), reversed);

    EXPECT_EQ(ReadBlock(read, reversed), 0);
    EXPECT_EQ(WriteBlock(read, 1), kPermBlock);
}

TEST_F(APermElemBlock, ReadsLeniently) {
    // Undefined targets are skipped, a repeated target is taken once, and a line may be missing.
    const std::string text =
        Broken(Broken(kPermBlock, {"(1,0)  -> (2,0)", "(1,0) -> (-,-)(2,0) (2,0)[-,-]", 0, 0, ""}),
               {"      (1,1)  -> (-,-)\n", "", 0, 0, ""});
    APermElem read(nullptr, 0, 0);
    EXPECT_EQ(ReadBlock(read, text), 0);
    EXPECT_EQ(Targets(read.GetData(), 1, 0), "(2,0)");
    EXPECT_EQ(WriteBlock(read, 1),
              Broken(kPermBlock, {"-> (2,0)(0,0)", "-> (0,0)(2,0)", 0, 0, ""}));
}

TEST_F(APermElemBlock, ReadsIntoAGivenTableAddingToItAndRefreshesTheOpenEditor) {
    perm.OpenModifyWindow();
    D_PermElem into(2, 2, 3, 1);
    into.Add(1, 1, 1, 0);
    into.Add(0, 0, 2, 0);
    EXPECT_EQ(ReadBlock(perm, kPermBlock, &into), 0);
    EXPECT_EQ(ui.modifyRebuilds, 1);
    EXPECT_EQ(Targets(into, 1, 1), "(1,0)");
    EXPECT_EQ(Targets(into, 0, 0), "(2,0)(0,0)");
    EXPECT_EQ(Targets(into, 0, 1), "(1,0)");
    EXPECT_EQ(Targets(perm.GetData(), 0, 0), ""); // the element's own table is not touched

    const std::string broken = Broken(kPermBlock, {"(1,0)  -> (2,0)", "(1,0)  -> (3,0)", 0, 0, ""});
    EXPECT_EQ(ReadBlock(perm, broken, &into), kPermNotInDimension);
    EXPECT_EQ(ui.modifyRebuilds, 1);
    EXPECT_EQ(Targets(into, 0, 1), "(1,0)");
}

TEST_F(APermElemTable, CoordinatesAndCountsBeyondSixteenBitsStayWhole) {
    // Receivers from 32768 on, read from a file, keep their coordinates.
    const std::string wide =
        Broken(Broken(Broken(kPermBlock, {"OUTPUT_DIM: (3,1)", "OUTPUT_DIM: (40000,2)", 0, 0, ""}),
                      {"(0,1)  -> (1,0)", "(0,1)  -> (39999,1)(32768,0)", 0, 0, ""}),
               {"(0,0)  -> (2,0)(0,0)", "(0,0)  -> (39998,0)", 0, 0, ""});
    APermElem read(nullptr, 0, 0);
    ASSERT_EQ(ReadBlock(read, wide), 0);
    EXPECT_EQ(Targets(read.GetData(), 0, 1), "(39999,1)(32768,0)");
    EXPECT_EQ(Targets(read.GetData(), 0, 0), "(39998,0)");
    *read.GetInputPlane(0) = PlaneFromText("00/10");
    read.Simulate();
    const Matrix& out = *read.GetOutputPlane(0);
    EXPECT_EQ(out(32768, 0), 1);
    EXPECT_EQ(out(39999, 1), 1);
    EXPECT_EQ(out(39998, 0), 0);
    EXPECT_EQ(WriteBlock(read, 1),
              Broken(wide, {"(39999,1)(32768,0)", "(32768,0)(39999,1)", 0, 0, ""}));
    EXPECT_EQ(ReadBlock(read, Broken(wide, {"(39998,0)", "(40000,0)", 0, 0, ""})),
              kPermNotInDimension);

    // One transmitter with more than 32767 receivers.
    const int count = 32769;
    D_PermElem table(1, 1, count, 1);
    for (int x = 0; x < count; x++)
        ASSERT_EQ(table.Add(0, 0, x, 0), 1);
    EXPECT_EQ(table.GetTargetCount(0, 0), count);
    EXPECT_EQ(table.GetTarget(0, 0, count - 1).x, count - 1);
    EXPECT_EQ(table.Remove(0, 0, 0, 0), 1);
    EXPECT_EQ(table.GetTargetCount(0, 0), count - 1);
    EXPECT_EQ(table.GetTarget(0, 0, 32767).x, 32768);
    Matrix plane(count, 1);
    table.FillTargets(0, 0, plane);
    EXPECT_EQ(plane(0, 0), 0);
    EXPECT_EQ(plane(32768, 0), 1);
    D_PermElem copy(table);
    EXPECT_EQ(copy.GetTargetCount(0, 0), count - 1);
}

TEST_F(APermElemBlock, AFailedStreamRecordsAnIoError) {
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    ClearParseError();
    EXPECT_EQ(perm.Write(out, 0, nullptr), kIoError);
    EXPECT_EQ(GetParseError(), kIoError);
}

TEST_F(APermElemBlock, BrokenBlocksAreRefusedAndLeaveTheElementAsItWas) {
    const BrokenBlock kBroken[] = {
        {"  LOGICAL_DATA {", "  LOGICAL {", kKeywordExpected, 12, "LOGICAL_DATA"},
        {"CONNECTIONS {", "CONNECTION {", kKeywordExpected, 13, "CONNECTIONS"},
        {"CONNECTIONS {", "CONNECTIONS", kKeywordExpected, 14, "{"},
        // A transmitter or receiver outside its plane.
        {"(1,0)  -> (2,0)", "(2,0)  -> (2,0)", kPermNotInDimension, 16, "(2,0)"},
        {"(1,0)  -> (2,0)", "(1,-1)  -> (2,0)", kPermNotInDimension, 16, "(1,-1)"},
        {"(0,1)  -> (1,0)", "(0,1)  -> (1,0)(3,0)", kPermNotInDimension, 15, "(3,0)"},
        {"(0,1)  -> (1,0)", "(0,1)  -> (1,1)", kPermNotInDimension, 15, "(1,1)"},
        // Malformed pairs.
        {"(1,1)  -> (-,-)", "(-,-)  -> (-,-)", kNotDefined, 17, "(-,-)"},
        {"(1,0)  -> (2,0)", "(1;0)  -> (2,0)", kUnexpectedChar, 16, "(1;0)"},
        {"(0,1)  -> (1,0)", "(0,1)  -> (1,0)(1,0", kUnexpectedEol, 15, "(1,0"},
        {"(0,1)  -> (1,0)", "(0,1)  -> (1,0) x", kUnexpectedChar, 15, "x"},
        {"(0,1)  ->", "(0,1)  =>", kKeywordExpected, 15, "->"},
        // The closing braces.
        {"    }\n  }\n", "    ]\n  }\n", kKeywordExpected, 18, "}"},
        {"    }\n  }\n", "    }\n  ]\n", kKeywordExpected, 19, "}"},
        {"    }\n  }\n", "    }\n", kUnexpectedEof, 18, ""},
    };
    for (const BrokenBlock& broken : kBroken) {
        APermElem read(nullptr, 0, 0);
        read.SetName("kept");
        read.CreateData();
        read.GetData().Add(3, 4, 5, 6);
        ExpectReadError(read, kPermBlock, broken);
        EXPECT_STREQ(read.GetName(), "kept");
        EXPECT_EQ(read.GetOutputPlaneWidth(0), 16);
        EXPECT_EQ(read.GetData().GetInputWidth(), 16);
        EXPECT_EQ(Targets(read.GetData(), 3, 4), "(5,6)");
        EXPECT_EQ(Targets(read.GetData(), 0, 0), "");
    }
}
