// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include "shell/DragDisplay.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<char*> Argv(std::vector<std::string>& words) {
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(&w[0]);
    argv.push_back(nullptr);
    return argv;
}

TEST(DragDisplay, NameComesFromTheLastDisplayArgument) {
    std::vector<std::string> none = {"quiran", "a.arc"};
    std::vector<std::string> one = {"quiran", "-display", ":7", "a.arc"};
    std::vector<std::string> two = {"quiran", "-display", ":7", "-display", ":8"};
    std::vector<std::string> dangling = {"quiran", "a.arc", "-display"};
    std::vector<char*> argv = Argv(none);
    EXPECT_EQ(DragDisplayName(2, argv.data()), nullptr);
    argv = Argv(one);
    EXPECT_STREQ(DragDisplayName(4, argv.data()), ":7");
    argv = Argv(two);
    EXPECT_STREQ(DragDisplayName(5, argv.data()), ":8");
    argv = Argv(dangling);
    EXPECT_EQ(DragDisplayName(3, argv.data()), nullptr);
}

TEST(DragDisplay, NoServerExitsWithOne) {
    std::vector<std::string> words = {"quiran", "-display", ":987"};
    std::vector<char*> argv = Argv(words);
    EXPECT_EXIT(OpenDragDisplay(3, argv.data()), testing::ExitedWithCode(1),
                "QUIRAN: cannot connect to X server :987\n");
}

TEST(DragDisplay, OpensTheRootWindowWithItsContext) {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no DISPLAY";
    std::vector<std::string> words = {"quiran"};
    std::vector<char*> argv = Argv(words);
    OpenDragDisplay(1, argv.data());
    Display* display = GetDragDisplay();
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(GetDragRootWindow(), DefaultRootWindow(display));
    ASSERT_NE(GetDragRootGC(), nullptr);
    XGCValues values;
    ASSERT_TRUE(XGetGCValues(display, GetDragRootGC(), GCSubwindowMode, &values));
    EXPECT_EQ(values.subwindow_mode, IncludeInferiors);
}

} // namespace
