// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include "toolkit/OwnedXmString.h"

#include <string>
#include <utility>
#include <vector>

namespace {

std::string Text(XmString string) {
    char* text = nullptr;
    if (!XmStringGetLtoR(string, const_cast<char*>(XmFONTLIST_DEFAULT_TAG), &text)) return "";
    std::string result = text;
    XtFree(text);
    return result;
}

// A moved string has one owner: the source lets go, so nothing is freed twice (the sanitizer run
// sees a double free) and the target frees what it held before.
TEST(OwnedXmString, MovesItsStringToOneOwner) {
    OwnedXmString first("first");
    OwnedXmString second(std::move(first));
    EXPECT_EQ(first.Get(), nullptr);
    EXPECT_EQ(Text(second.Get()), "first");

    OwnedXmString third("third");
    third = std::move(second);
    EXPECT_EQ(second.Get(), nullptr);
    EXPECT_EQ(Text(third.Get()), "first");
}

TEST(OwnedXmString, AVectorOwnsItsItemsThroughGrowth) {
    std::vector<OwnedXmString> items;
    for (int i = 0; i < 100; ++i)
        items.emplace_back(std::to_string(i).c_str());
    EXPECT_EQ(Text(items.front().Get()), "0");
    EXPECT_EQ(Text(items.back().Get()), "99");
}

} // namespace
