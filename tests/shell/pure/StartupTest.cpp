// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include "shell/Startup.h"

#include <string>
#include <vector>

#include "shell/FallbackResources.h"

namespace {

// An argv of the given words after the program name.
class Args {
public:
    explicit Args(std::vector<std::string> words) : strings(std::move(words)) {
        strings.insert(strings.begin(), "quiran");
        for (std::string& s : strings)
            pointers.push_back(&s[0]);
        pointers.push_back(nullptr);
    }
    int Count() const { return static_cast<int>(strings.size()); }
    char** Vector() { return pointers.data(); }

private:
    std::vector<std::string> strings;
    std::vector<char*> pointers;
};

TEST(Startup, OriginalMotifMustMatchWhole) {
    struct Case {
        std::vector<std::string> words;
        bool found;
    };
    const Case cases[] = {
        {{"--original_motif"}, true},   {{"a.arc", "-display", ":1", "--original_motif"}, true},
        {{"--original_motifs"}, false}, {{"--original_moti"}, false},
        {{"-original_motif"}, false},   {{}, false},
    };
    for (const Case& c : cases) {
        Args args(c.words);
        SCOPED_TRACE(args.Count());
        EXPECT_EQ(HasOriginalMotifOption(args.Count(), args.Vector()), c.found);
    }
}

TEST(Startup, OnlyTheFirstFileArgumentCounts) {
    Args several({"-x", "first.arc", "second.arc"});
    EXPECT_STREQ(FirstFileArgument(several.Count(), several.Vector()), "first.arc");
    Args options({"--original_motif", "-sync"});
    EXPECT_EQ(FirstFileArgument(options.Count(), options.Vector()), nullptr);
    Args none({});
    EXPECT_EQ(FirstFileArgument(none.Count(), none.Vector()), nullptr);
}

TEST(Startup, WarningFilterDropsOnlyTheTwoGrabWarnings) {
    EXPECT_TRUE(IsSuppressedXtWarning("XtRemoveGrab asked to remove a widget not on the list"));
    EXPECT_TRUE(IsSuppressedXtWarning("Attempt to remove non-existant passive grab"));
    EXPECT_FALSE(IsSuppressedXtWarning("Cannot convert string \"x\" to type Pixel"));

    testing::internal::CaptureStderr();
    XtWarningFilter(const_cast<char*>("Attempt to remove non-existant passive grab"));
    XtWarningFilter(const_cast<char*>("Widget has no parent"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Widget has no parent"); // no newline added
}

TEST(FallbackResources, FortyTwoLinesEndedByNull) {
    EXPECT_EQ(kFallbackResources[kFallbackResourceCount], nullptr);
    for (int i = 0; i < kFallbackResourceCount; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(kFallbackResources[i], nullptr);
        EXPECT_NE(std::string(kFallbackResources[i]).find(':'), std::string::npos);
    }
    EXPECT_STREQ(kFallbackResources[0],
                 "*fontList:-adobe-helvetica-medium-r-normal-*-12-*-*-*-*-*-*-*");
    EXPECT_STREQ(kFallbackResources[26], "*MenuBar*Save.accelerator: Ctrl<Key>S");
    EXPECT_STREQ(kFallbackResources[41], "*ElementList*MenuBar*Close.accelerator: Ctrl<Key>E");
}

} // namespace
