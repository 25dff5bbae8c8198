// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/AElementModifyWindow.h"

#include <Xm/Xm.h>

#include "EditorsTestSupport.h"

struct TitleCase {
    const char* name;
    const char* type;
    const char* title;
};

TEST(AElementModifyWindow, TitleNamesTheTypeOnlyWhenTheNameDiffers) {
    const TitleCase cases[] = {
        {"MASK", "MASK", "Modify MASK"},
        {"edge", "MASK", "Modify edge  [MASK]"},
        {"", "RULE", "Modify   [RULE]"},
    };
    for (const TitleCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ModifyWindowTitle(c.name, c.type), c.title);
    }
    // A name read from a file is not bounded.
    const std::string longName(500, 'n');
    EXPECT_EQ(ModifyWindowTitle(longName.c_str(), "MASK"), "Modify " + longName + "  [MASK]");
}

namespace {

class AElementModifyWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
        element.data->value = 1;
    }
    void TearDown() override { Flush(); }
    ATestModifyWindow* Open() {
        element.OpenModifyWindow();
        Flush();
        return static_cast<ATestModifyWindow*>(element.GetModifyWindow());
    }
    std::string Title(AElementWindow* window) {
        char* title = nullptr;
        XtVaGetValues(window->GetShell(), XmNtitle, &title, nullptr);
        return title != nullptr ? title : "";
    }

    ATestElem element;
};

} // namespace

TEST_F(AElementModifyWindowTest, TitleFollowsTheName) {
    ATestModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Title(window), "Modify MASK");
    element.CloseModifyWindow();
    element.SetName("edge");
    EXPECT_EQ(Title(Open()), "Modify edge  [MASK]");
}

TEST_F(AElementModifyWindowTest, ReopensWithItsLastSizeAndZoom) {
    ATestModifyWindow* window = Open();
    Dimension width = 0, height = 0;
    XtVaGetValues(window->GetShell(), XmNwidth, &width, XmNheight, &height, nullptr);
    EXPECT_EQ(width, 303); // the MASK default
    EXPECT_EQ(height, 462);
    XtVaSetValues(window->GetShell(), XmNwidth, 350, XmNheight, 420, nullptr);
    window->SetZoom(40);
    Flush();
    SendClose(window->GetShell());
    EXPECT_EQ(element.GetModifyWindow(), nullptr);
    window = Open();
    XtVaGetValues(window->GetShell(), XmNwidth, &width, XmNheight, &height, nullptr);
    EXPECT_EQ(width, 350);
    EXPECT_EQ(height, 420);
    EXPECT_EQ(window->GetZoom(), 40);
}

TEST_F(AElementModifyWindowTest, ASecondOpenRaisesTheOneWindow) {
    ATestModifyWindow* window = Open();
    EXPECT_EQ(Open(), window);
    EXPECT_EQ(ATestModifyWindow::live, 1);
    element.CloseModifyWindow();
    EXPECT_EQ(ATestModifyWindow::live, 0);
}

TEST_F(AElementModifyWindowTest, OkStoresTheWorkingCopyAndGoes) {
    ATestModifyWindow* window = Open();
    window->copy.value = 7;
    EXPECT_EQ(element.data->value, 1); // editing changes only the copy
    Click(ButtonLabelled(window->GetShell(), "OK"));
    EXPECT_EQ(element.data->value, 7);
    EXPECT_TRUE(element.IsModified());
    EXPECT_EQ(element.GetModifyWindow(), nullptr);
    EXPECT_EQ(ATestModifyWindow::live, 0);
}

TEST_F(AElementModifyWindowTest, ApplyStoresTheWorkingCopyAndStays) {
    ATestModifyWindow* window = Open();
    window->copy.value = 8;
    Click(ButtonLabelled(window->GetShell(), "Apply"));
    EXPECT_EQ(element.data->value, 8);
    EXPECT_TRUE(element.IsModified());
    EXPECT_EQ(element.GetModifyWindow(), window);
    element.CloseModifyWindow();
}

TEST_F(AElementModifyWindowTest, CancelWindowCloseAndCloseModifyWindowDiscardTheCopy) {
    for (int way = 0; way < 3; way++) {
        SCOPED_TRACE(way);
        ATestModifyWindow* window = Open();
        window->copy.value = 9;
        if (way == 0) Click(ButtonLabelled(window->GetShell(), "Cancel"));
        if (way == 1) SendClose(window->GetShell());
        if (way == 2) element.CloseModifyWindow();
        EXPECT_EQ(element.GetModifyWindow(), nullptr);
        EXPECT_EQ(ATestModifyWindow::live, 0);
        EXPECT_EQ(element.data->value, 1);
        EXPECT_FALSE(element.IsModified());
    }
}
