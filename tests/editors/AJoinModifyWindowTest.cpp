// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/AJoinModifyWindow.h"

#include <Xm/ToggleBG.h>
#include <Xm/Xm.h>

#include <memory>

#include "AMaskModifyWindowTest.h"
#include "EditorsTestSupport.h"
#include "model/elements/AJoinElem.h"

namespace {

class AJoinModifyWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
        maker = std::make_unique<MakerScope>(kJoin, AJoinModifyWindow::Make);
        element = std::make_unique<AJoinElem>(nullptr, 0, 0);
        element->CreateData();
    }
    void TearDown() override {
        element.reset();
        maker.reset();
        Flush();
    }
    AJoinModifyWindow* Open() {
        element->OpenModifyWindow();
        Flush();
        return dynamic_cast<AJoinModifyWindow*>(element->GetModifyWindow());
    }
    Widget Toggle(AJoinModifyWindow* window, const char* name) {
        return Child(
            window->GetShell(),
            (std::string("form.data_frame.data_form.radio_frame.radio_box.") + name).c_str());
    }

    std::unique_ptr<MakerScope> maker;
    std::unique_ptr<AJoinElem> element;
};

} // namespace

TEST_F(AJoinModifyWindowTest, ShowsEveryRuleWithItsNumber) {
    element->GetData().SetRule(kJoinXor);
    AJoinModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(Child(window->GetShell(), "form.data_frame.data_form.Type:"), nullptr);
    const char* const names[] = {"Or", "Nor", "Xor", "And", "Nand"};
    for (int rule = 0; rule < kJoinRuleCount; rule++) {
        SCOPED_TRACE(names[rule]);
        Widget toggle = Toggle(window, names[rule]);
        ASSERT_NE(toggle, nullptr);
        EXPECT_EQ(XmToggleButtonGadgetGetState(toggle), rule == kJoinXor);
        XtPointer data = nullptr;
        XtVaGetValues(toggle, XmNuserData, &data, nullptr);
        EXPECT_EQ(reinterpret_cast<intptr_t>(data), rule);
    }
    short columns = 0;
    XtVaGetValues(window->GetRadioBox(), XmNnumColumns, &columns, nullptr);
    EXPECT_EQ(columns, 2);
    Dimension width = 0, height = 0;
    int minWidth = 0, maxWidth = 0, maxHeight = 0; // the shell's hints are ints
    XtVaGetValues(window->GetShell(), XmNwidth, &width, XmNminWidth, &minWidth, XmNmaxWidth,
                  &maxWidth, XmNheight, &height, XmNmaxHeight, &maxHeight, nullptr);
    EXPECT_EQ(minWidth, width);
    EXPECT_EQ(maxWidth, width);
    EXPECT_EQ(maxHeight, height);
}

TEST_F(AJoinModifyWindowTest, OkApplyCancelAndCloseFollowTheProtocol) {
    AJoinModifyWindow* window = Open();
    XmToggleButtonGadgetSetState(Toggle(window, "Nand"), True, True);
    EXPECT_EQ(window->GetWorkingCopy().GetRule(), kJoinNand);
    // An unset toggle changes nothing.
    XmToggleButtonGadgetSetState(Toggle(window, "Nand"), False, True);
    EXPECT_EQ(window->GetWorkingCopy().GetRule(), kJoinNand);
    Click(ButtonLabelled(window->GetShell(), "Cancel"));
    EXPECT_EQ(element->GetData().GetRule(), kJoinOr);

    window = Open();
    XmToggleButtonGadgetSetState(Toggle(window, "Nand"), True, True);
    SendClose(window->GetShell());
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_EQ(element->GetData().GetRule(), kJoinOr);
    EXPECT_FALSE(element->IsModified());

    window = Open();
    XmToggleButtonGadgetSetState(Toggle(window, "Nand"), True, True);
    Click(ButtonLabelled(window->GetShell(), "Apply"));
    EXPECT_EQ(element->GetData().GetRule(), kJoinNand);
    EXPECT_TRUE(element->IsModified());
    EXPECT_EQ(element->GetModifyWindow(), window);
    XmToggleButtonGadgetSetState(Toggle(window, "Nor"), True, True);
    Click(ButtonLabelled(window->GetShell(), "OK"));
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_EQ(element->GetData().GetRule(), kJoinNor);
}

TEST_F(AJoinModifyWindowTest, GoesWithTheElementAndANewDimension) {
    AJoinModifyWindow* window = Open();
    XmToggleButtonGadgetSetState(Toggle(window, "And"), True, True);
    RunInDispatch([&] { element->DimensionChanged(); });
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_EQ(element->GetData().GetRule(), kJoinOr);
    Open();
    RunInDispatch([&] { element.reset(); });
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);
}
