#include "model/elements/ElementType.h"

#include <gtest/gtest.h>

TEST(ElementType, NamesAreTheFileKeywordsInCodeOrder) {
    const char* const kNames[] = {"MASK",  "RULE",        "PERM",         "LOGIC",       "S-SEED",
                                  "SPLIT", "JOIN",        "INPUT",        "OUTPUT",      "C++",
                                  "MACRO", "MACRO_INPUT", "MACRO_OUTPUT", "HELP_ELEMENT"};
    for (int type = 0; type < kElementTypeCount; type++) {
        SCOPED_TRACE(type);
        EXPECT_STREQ(GetTypeName(type), kNames[type]);
        EXPECT_EQ(FindElementType(kNames[type]), type);
    }
    EXPECT_STREQ(GetTypeName(14), "");
    EXPECT_EQ(FindElementType("MAS"), -1);
    EXPECT_EQ(FindElementType("MASKS"), -1);
}

TEST(ElementType, DefaultTimesCanBeReplacedAndRestored) {
    const uint32_t kTimes[] = {0, 0, 0, 20, 5, 0, 0, 10, 10, 10, 0, 0, 0, 0};
    for (int type = 0; type < kElementTypeCount; type++)
        EXPECT_EQ(GetDefaultTime(type), kTimes[type]);
    SetDefaultTime(kMask, 7);
    EXPECT_EQ(GetDefaultTime(kMask), 7u);
    SetDefaultTime(99, 7); // ignored
    ResetDefaultTimes();
    EXPECT_EQ(GetDefaultTime(kMask), 0u);
}

TEST(ElementType, ModifyWindowSizes) {
    int width, height;
    GetDefaultModifyWindowSize(kLogic, width, height);
    EXPECT_EQ(width, 404);
    EXPECT_EQ(height, 539);
    GetDefaultModifyWindowSize(kJoin, width, height);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
}
