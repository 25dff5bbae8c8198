// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/ASSeedModifyWindow.h"

#include <Xm/ToggleBG.h>
#include <Xm/Xm.h>

#include <memory>

#include "AMaskModifyWindowTest.h"
#include "EditorsTestSupport.h"
#include "model/elements/ASSeedElem.h"

namespace {

class ASSeedModifyWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
        maker = std::make_unique<MakerScope>(kSSeed, ASSeedModifyWindow::Make);
        element = std::make_unique<ASSeedElem>(nullptr, 0, 0);
        element->SetInputPlaneSize(0, 2, 2);
        element->SetOutputPlaneSize(0, 2, 2);
        element->CreateData();
    }
    void TearDown() override {
        element.reset();
        maker.reset();
        Flush();
    }
    ASSeedModifyWindow* Open() {
        element->OpenModifyWindow();
        Flush();
        return dynamic_cast<ASSeedModifyWindow*>(element->GetModifyWindow());
    }
    Widget Toggle(ASSeedModifyWindow* window, const char* name) {
        return Child(window->GetShell(),
                     (std::string("form.frame.value_form.radio_frame.radio_box.") + name).c_str());
    }
    // One computation with (a, b) at the inputs of the pair in column 0.
    void Step(int a, int b) {
        element->GetInputPlane(0)->SetBit(0, 0, a);
        element->GetInputPlane(0)->SetBit(0, 1, b);
        element->Simulate();
    }

    std::unique_ptr<MakerScope> maker;
    std::unique_ptr<ASSeedElem> element;
};

} // namespace

TEST_F(ASSeedModifyWindowTest, ShowsTheOrientationAndCannotBeResized) {
    element->GetData().SetOrientation(kSSeedHorizontal);
    ASSeedModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(Child(window->GetShell(), "form.frame.value_form.Orientation: "), nullptr);
    EXPECT_NE(Child(window->GetShell(), "form.action_area"), nullptr);
    Widget vertical = Toggle(window, "Vertical");
    Widget horizontal = Toggle(window, "Horizontal");
    ASSERT_NE(vertical, nullptr);
    ASSERT_NE(horizontal, nullptr);
    EXPECT_FALSE(XmToggleButtonGadgetGetState(vertical));
    EXPECT_TRUE(XmToggleButtonGadgetGetState(horizontal));
    Dimension width = 0, height = 0;
    int minWidth = 0, maxWidth = 0, minHeight = 0, maxHeight = 0; // the shell's hints are ints
    XtVaGetValues(window->GetShell(), XmNwidth, &width, XmNheight, &height, XmNminWidth, &minWidth,
                  XmNmaxWidth, &maxWidth, XmNminHeight, &minHeight, XmNmaxHeight, &maxHeight,
                  nullptr);
    EXPECT_GT(width, 1);
    EXPECT_EQ(minWidth, width);
    EXPECT_EQ(maxWidth, width);
    EXPECT_EQ(minHeight, height);
    EXPECT_EQ(maxHeight, height);
}

TEST_F(ASSeedModifyWindowTest, OkApplyCancelAndCloseFollowTheProtocol) {
    ASSeedModifyWindow* window = Open();
    XmToggleButtonGadgetSetState(Toggle(window, "Horizontal"), True, True);
    EXPECT_EQ(window->GetWorkingCopy().GetOrientation(), kSSeedHorizontal);
    Click(ButtonLabelled(window->GetShell(), "Cancel"));
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_EQ(element->GetData().GetOrientation(), kSSeedVertical);

    window = Open();
    XmToggleButtonGadgetSetState(Toggle(window, "Horizontal"), True, True);
    SendClose(window->GetShell());
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_EQ(element->GetData().GetOrientation(), kSSeedVertical);
    EXPECT_FALSE(element->IsModified());

    window = Open();
    XmToggleButtonGadgetSetState(Toggle(window, "Horizontal"), True, True);
    Click(ButtonLabelled(window->GetShell(), "Apply"));
    EXPECT_EQ(element->GetData().GetOrientation(), kSSeedHorizontal);
    EXPECT_TRUE(element->IsModified());
    EXPECT_EQ(element->GetModifyWindow(), window);
    XmToggleButtonGadgetSetState(Toggle(window, "Vertical"), True, True);
    Click(ButtonLabelled(window->GetShell(), "OK"));
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_EQ(element->GetData().GetOrientation(), kSSeedVertical);
}

// A window open across a run commits the orientation only: the devices keep the states the run
// left, so the next step computes from them, not from the states of the opening.
TEST_F(ASSeedModifyWindowTest, OkAndApplyAfterARunLeaveTheStatePlane) {
    for (const char* button : {"Apply", "OK"}) {
        SCOPED_TRACE(button);
        element->ResetData();
        ASSeedModifyWindow* window = Open();
        Step(0, 1); // sets the first device
        ASSERT_EQ(element->GetData().GetState()(0, 0), 1);
        XmToggleButtonGadgetSetState(Toggle(window, "Horizontal"), True, True);
        Click(ButtonLabelled(window->GetShell(), button));
        EXPECT_EQ(element->GetData().GetState()(0, 0), 1);
        EXPECT_EQ(element->GetData().GetOrientation(), kSSeedHorizontal);
        element->GetData().SetOrientation(kSSeedVertical);
        element->CloseModifyWindow();
    }
}

TEST_F(ASSeedModifyWindowTest, GoesWithTheElement) {
    Open();
    RunInDispatch([&] { element.reset(); });
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);
}
