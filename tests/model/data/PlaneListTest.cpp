#include "model/data/PlaneList.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "model/format/ParseError.h"

namespace {

// A 3 x 1 plane list whose array entry i holds the number i + 1, column 0 the lowest bit.
PlaneList Numbered(int count) {
    PlaneList list(3, 1, count);
    for (int i = 0; i < count; ++i) {
        for (int bit = 0; bit < 3; ++bit)
            list.SetBit(bit, 0, i, ((i + 1) >> bit) & 1);
    }
    return list;
}

// The numbers of the planes in logical order.
std::string Order(const PlaneList& list) {
    std::string text;
    for (int k = 0; k < list.GetCount(); ++k) {
        int number = 0;
        for (int bit = 0; bit < 3; ++bit)
            number |= list.GetBit(bit, 0, k) << bit;
        text += static_cast<char>('0' + number);
    }
    return text;
}

const char* const kThreePlanes = R"(XY_PLANE_DATA {
  NUMBER: 3
  PLANES {
    MATRIX {
      DIMENSION: (3,1)
      DATA {
        110
      }
    }
    MATRIX {
      DIMENSION: (3,1)
      DATA {
        100
      }
    }
    MATRIX {
      DIMENSION: (3,1)
      DATA {
        010
      }
    }
  }
}
)";

TEST(PlaneList, WritesFromTheCurrentPositionAndReadsBackInThatOrder) {
    PlaneList list = Numbered(3); // array: 1, 2, 3
    list.Push(list.GetXYPlane(0));
    list.Push(list.GetXYPlane(0)); // position 2: logical order 3, 1, 2
    ASSERT_EQ(list.GetPosition(), 2);
    ASSERT_EQ(Order(list), "312");
    std::ostringstream out;
    ClearParseError();
    ASSERT_EQ(list.Write(out, 0), kNoError);
    EXPECT_EQ(out.str(), kThreePlanes);

    std::istringstream in(out.str());
    PlaneList back(3, 1, 1);
    ASSERT_EQ(back.Read(in), kNoError);
    EXPECT_EQ(back.GetPosition(), 0);
    EXPECT_EQ(Order(back), "312");
    std::ostringstream again;
    ASSERT_EQ(back.Write(again, 0), kNoError);
    EXPECT_EQ(again.str(), out.str());
}

TEST(PlaneList, WritesNestedAtItsLevel) {
    PlaneList list(1, 1, 1);
    std::ostringstream out;
    ClearParseError();
    ASSERT_EQ(list.Write(out, 1), kNoError);
    EXPECT_EQ(out.str(), "  XY_PLANE_DATA {\n"
                         "    NUMBER: 1\n"
                         "    PLANES {\n"
                         "      MATRIX {\n"
                         "        DIMENSION: (1,1)\n"
                         "        DATA {\n"
                         "          0\n"
                         "        }\n"
                         "      }\n"
                         "    }\n"
                         "  }\n");
}

struct ReadCase {
    const char* name;
    const char* input;
    int code;
    int line;
    const char* token;
};

const char* const kOnePlane = "MATRIX {\n DIMENSION: (3,1)\n DATA {\n  100\n }\n}\n";

const ReadCase kReadErrors[] = {
    {"empty", "", kUnexpectedEof, 0, nullptr},
    {"other block", "PLANE_DATA {\n", kKeywordExpected, 1, "XY_PLANE_DATA"},
    {"no number", "XY_PLANE_DATA {\n  COUNT: 1\n", kKeywordExpected, 2, "NUMBER:"},
    {"zero planes", "XY_PLANE_DATA {\n  NUMBER: 0\n", kNotEnoughPlanes, 2, "NUMBER:"},
    {"negative", "XY_PLANE_DATA {\n  NUMBER: -2\n", kNotEnoughPlanes, 2, "NUMBER:"},
    {"too many", "XY_PLANE_DATA {\n  NUMBER: 1000001\n", kNumberOutOfRange, 2, "NUMBER:"},
    {"saturated", "XY_PLANE_DATA {\n  NUMBER: 99999999999\n", kNumberOutOfRange, 2, "NUMBER:"},
    {"not a number", "XY_PLANE_DATA {\n  NUMBER: x\n", kUnexpectedChar, 2, "NUMBER:"},
    {"number missing", "XY_PLANE_DATA {\n  NUMBER:\n", kUnexpectedEol, 2, "NUMBER:"},
    {"no planes keyword", "XY_PLANE_DATA {\n  NUMBER: 1\n  {\n", kKeywordExpected, 3, "PLANES"},
    {"plane of other size",
     "XY_PLANE_DATA {\n NUMBER: 1\n PLANES {\n  MATRIX {\n   DIMENSION: (4,1)\n", kDimensionError,
     5, "DIMENSION:"},
    {"fewer planes than said",
     "XY_PLANE_DATA {\n NUMBER: 2\n PLANES {\nMATRIX {\n DIMENSION: (3,1)\n DATA {\n  010\n }\n}\n"
     " }\n}\n",
     kKeywordExpected, 10, "MATRIX"},
    {"more planes than said",
     "XY_PLANE_DATA {\n NUMBER: 1\n PLANES {\nMATRIX {\n DIMENSION: (3,1)\n DATA {\n  010\n }\n}\n"
     "MATRIX {\n",
     kKeywordExpected, 10, "}"},
    {"end after planes",
     "XY_PLANE_DATA {\n NUMBER: 1\n PLANES {\nMATRIX {\n DIMENSION: (3,1)\n DATA {\n  010\n }\n}\n"
     " }\n",
     kUnexpectedEof, 10, nullptr},
    {"a huge number with no planes", "XY_PLANE_DATA {\n NUMBER: 1000000\n PLANES {\n",
     kUnexpectedEof, 3, nullptr},
};

TEST(PlaneList, ReadReportsTheFirstErrorAndKeepsTheList) {
    for (const ReadCase& c : kReadErrors) {
        SCOPED_TRACE(c.name);
        ClearParseError();
        std::istringstream in(c.input);
        PlaneList list = Numbered(3);
        list.Push(list.GetXYPlane(0));
        EXPECT_EQ(list.Read(in), c.code);
        EXPECT_EQ(GetParseError(), c.code);
        EXPECT_EQ(GetParseErrorLine(), c.line);
        if (c.token) {
            EXPECT_STREQ(GetParseErrorToken(), c.token);
        } else {
            EXPECT_EQ(GetParseErrorToken(), nullptr);
        }
        EXPECT_EQ(list.GetCount(), 3);
        EXPECT_EQ(list.GetPosition(), 1);
        EXPECT_EQ(Order(list), "231");
    }
}

TEST(PlaneList, ReadAcceptsALastLineWithoutLineFeed) {
    const std::string text =
        std::string("XY_PLANE_DATA {\n NUMBER: 1\n PLANES {\n") + kOnePlane + " }\n}";
    std::istringstream in(text);
    ClearParseError();
    PlaneList list(3, 1, 4);
    ASSERT_EQ(list.Read(in), kNoError);
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(Order(list), "1");
}

TEST(PlaneList, NeverHoldsFewerThanOnePlane) {
    EXPECT_EQ(PlaneList(4, 4, 0).GetCount(), 1);
    PlaneList list = Numbered(3);
    list.DeletePlanes();
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(Order(list), "0");
}

struct RemoveCase {
    int count;
    int position;
    int n;
    int index;
    int newCount;
    int newPosition;
    const char* arrayOrder; // the remaining planes' numbers in array order
};

const RemoveCase kRemovals[] = {
    {4, 0, 5, 1, 1, 0, "1"},    // beyond the end: only up to the end
    {4, 0, 4, 0, 1, 0, "4"},    // the last remaining plane stays
    {3, 2, 1, 0, 2, 1, "23"},   // the position falls back to the last plane
    {3, 0, 0, 1, 3, 0, "123"},  // nothing
    {3, 0, 1, 3, 3, 0, "123"},  // index beyond the list: refused
    {3, 0, 1, -1, 3, 0, "123"}, // negative index: refused
    {3, 0, -2, 0, 3, 0, "123"}, // negative count: refused
};

TEST(PlaneList, RemovePlanesKeepsAtLeastOne) {
    for (const RemoveCase& c : kRemovals) {
        SCOPED_TRACE(::testing::Message() << c.n << " at " << c.index << " of " << c.count);
        PlaneList list = Numbered(c.count);
        for (int i = 0; i < c.position; ++i)
            list.Push(list.GetXYPlane(0));
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(list.RemovePlanes(c.n, c.index), c.newCount);
        ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(list.GetCount(), c.newCount);
        EXPECT_EQ(list.GetPosition(), c.newPosition);
        while (list.GetPosition() != 0)
            list.Push(list.GetXYPlane(0));
        EXPECT_EQ(Order(list), c.arrayOrder);
    }
}

TEST(PlaneList, InsertPlanesAddsEmptyPlanesBeforeAnIndex) {
    PlaneList list = Numbered(3);
    list.Push(list.GetXYPlane(0)); // position 1
    EXPECT_EQ(list.InsertPlanes(2, 1), 5);
    EXPECT_EQ(list.GetPosition(), 1);
    EXPECT_EQ(Order(list), "00231");
    EXPECT_EQ(list.InsertPlanes(1, 5), 6);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(list.InsertPlanes(1, 7), 6);
    EXPECT_EQ(list.InsertPlanes(-1, 0), 6);
    EXPECT_EQ(list.InsertPlanes(kMaxPlaneCount, 0), 6);
    EXPECT_NE(::testing::internal::GetCapturedStderr(), "");
}

TEST(PlaneList, PushWritesTheCurrentPlaneAndAdvances) {
    PlaneList list = Numbered(2);
    list.Push(list.GetXYPlane(0));
    ASSERT_EQ(list.GetPosition(), 1);
    Matrix seven(3, 1, 1);
    list.Push(seven);
    EXPECT_EQ(list.GetPosition(), 0);
    EXPECT_EQ(Order(list), "17");
}

TEST(PlaneList, ViewsCutTheBlockAlongEachAxis) {
    PlaneList list(16, 8, 4);
    list.SetBit(3, 5, 2, 1);
    const Matrix xz = list.GetXZPlane(5);
    EXPECT_EQ(xz.GetDimX(), 16);
    EXPECT_EQ(xz.GetDimY(), 4);
    EXPECT_EQ(xz(3, 2), 1);
    const Matrix yz = list.GetYZPlane(3);
    EXPECT_EQ(yz.GetDimX(), 8);
    EXPECT_EQ(yz.GetDimY(), 4);
    EXPECT_EQ(yz(5, 2), 1);

    Matrix column(8, 4);
    column.SetBit(7, 0, 1);
    list.SetYZPlane(column, 10);
    EXPECT_EQ(list.GetBit(10, 7, 0), 1);
    EXPECT_EQ(list.GetBit(3, 5, 2), 1);
    Matrix row(16, 4);
    row.SetBit(15, 3, 1);
    list.SetXZPlane(row, 5);
    EXPECT_EQ(list.GetBit(15, 5, 3), 1);
    EXPECT_EQ(list.GetBit(3, 5, 2), 0); // the whole row of every plane was replaced

    Matrix plane(16, 8, 1);
    list.SetXYPlane(plane, 1);
    EXPECT_EQ(list.GetXYPlane(1), plane);
}

TEST(PlaneList, ViewsFollowTheRingPosition) {
    PlaneList list = Numbered(3);
    list.Push(list.GetXYPlane(0));
    const Matrix xz = list.GetXZPlane(0); // rows: logical planes 2, 3, 1
    EXPECT_EQ(xz(0, 0), 0);
    EXPECT_EQ(xz(1, 0), 1);
    EXPECT_EQ(xz(0, 2), 1);
}

TEST(PlaneList, OutsideTheStackReadsZeroAndWritesNothing) {
    PlaneList list(2, 2, 2);
    list.SetBit(0, 0, 2, 1);
    list.SetBit(0, 0, -1, 1);
    EXPECT_EQ(list.GetBit(0, 0, 2), 0);
    EXPECT_EQ(list.GetBit(0, 0, -1), 0);
    EXPECT_EQ(list.GetXYPlane(5), Matrix(2, 2));
}

TEST(PlaneList, PlanesKeepTheListsSize) {
    PlaneList list(2, 2, 1);
    list.SetXYPlane(Matrix(5, 5, 1), 0);
    list.Push(Matrix(1, 1, 1));
    EXPECT_EQ(list.GetXYPlane(0).GetDimX(), 2);
    EXPECT_EQ(list.GetXYPlane(0).GetDimY(), 2);
    EXPECT_EQ(list.GetBit(0, 0, 0), 1);
    EXPECT_EQ(list.GetBit(1, 1, 0), 0);
}

TEST(PlaneList, AssignmentCopiesBitsAndPosition) {
    PlaneList source = Numbered(3);
    source.Push(source.GetXYPlane(0));
    PlaneList same(3, 1, 3);
    same = source;
    EXPECT_EQ(same.GetPosition(), 1);
    EXPECT_EQ(Order(same), "231");
    PlaneList other(7, 7, 1);
    other = source;
    EXPECT_EQ(other.GetWidth(), 3);
    EXPECT_EQ(other.GetCount(), 3);
    EXPECT_EQ(Order(other), "231");
    const PlaneList& self = other;
    other = self;
    EXPECT_EQ(Order(other), "231");
    PlaneList copy(source);
    EXPECT_EQ(copy.GetPosition(), 1);
}

} // namespace
