// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/AElementModifyWindow.h"

#include <memory>

#include "AMaskModifyWindowTest.h"
#include "EditorsTestSupport.h"
#include "ModifyWindowKinds.h"

namespace {

class AllModifyWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
    }
    void TearDown() override { Flush(); }
};

// OK on a window in which nothing was changed leaves the element as unmodified as it was.
TEST_F(AllModifyWindowsTest, OkWithNothingChangedLeavesTheModifiedFlag) {
    for (const WindowKind& kind : kWindows) {
        SCOPED_TRACE(kind.what);
        MakerScope maker(kind.type, kind.maker);
        std::unique_ptr<AElement> element(kind.make());
        for (const char* button : {"Apply", "OK"}) {
            SCOPED_TRACE(button);
            element->OpenModifyWindow();
            Flush();
            ElementView* window = element->GetModifyWindow();
            ASSERT_NE(window, nullptr);
            auto* modify = dynamic_cast<AElementModifyWindow*>(window);
            ASSERT_NE(modify, nullptr);
            Widget pressed = ActionButtonOf(modify->GetShell(), button);
            if (pressed == nullptr && kind.type == kOutput) {
                element->CloseModifyWindow(); // the OUTPUT window has no Apply
                continue;
            }
            ASSERT_NE(pressed, nullptr);
            Click(pressed);
            EXPECT_FALSE(element->IsModified());
            element->CloseModifyWindow();
            Flush();
        }
    }
}

} // namespace
