// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/EditorElementUi.h"

#include <Xm/Xm.h>

#include <algorithm>
#include <sstream>

#include "EditorsTestSupport.h"
#include "editors/ModifyTwoValuesDialog.h"
#include "editors/SetNameDialog.h"
#include "editors/ShowDataWindow.h"
#include "model/format/ParseError.h"
#include "toolkit/ReadInt.h"

namespace {

// The steps of one element's life with every kind of window open.
enum Step {
    kDeleteElement,
    kReloadData,    // its file block read again, with one output less
    kCloseModify,   // the window manager's close
    kCloseShowData, // the Close button of the all-outputs window
    kCancelName,
    kCancelDimension,
    kStepCount,
};

const char* const kReloaded = R"(TYPE: MASK
INTERNAL_DATA {
  NAME:       again
  COMMENT:    
  INPUTS:     1
  OUTPUTS:    2
  INPUT_DIM:  (8,8)
  OUTPUT_DIM: (8,8)(8,8)
  CLOCK:      0
  TIME:       0
}
LOGICAL_DATA {
  VALUE: 5
}
)";

class EditorElementUiTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
    }

    static void OpenEverything(ATestElem& element) {
        element.OpenModifyWindow();
        element.OpenShowDataWindow(0);
        element.OpenShowDataWindow(3);
        element.OpenSetNameDialog();
        element.OpenDimensionDialog();
        Flush();
    }

    static void Perform(Step step, std::unique_ptr<ATestElem>& element) {
        switch (step) {
            case kDeleteElement:
                element.reset();
                break;
            case kReloadData: {
                std::istringstream file(kReloaded);
                ClearParseError();
                EXPECT_EQ(element->Read(file, nullptr), 0);
                EXPECT_EQ(element->GetOutputCount(), 2);
                break;
            }
            case kCloseModify:
                if (element->GetModifyWindow() != nullptr) {
                    SendClose(
                        dynamic_cast<AElementWindow*>(element->GetModifyWindow())->GetShell());
                }
                break;
            case kCloseShowData:
                if (ElementView* window = element->GetShowDataWindow(0)) {
                    Click(static_cast<ShowDataWindow*>(window)->GetCloseButton());
                }
                break;
            case kCancelName:
                if (auto* dialog = dynamic_cast<SetNameDialog*>(element->GetSetNameDialog())) {
                    Click(ButtonLabelled(dialog->GetShell(), "Cancel"));
                }
                break;
            case kCancelDimension:
                if (auto* dialog =
                        dynamic_cast<ModifyTwoValuesDialog*>(element->GetDimensionDialog())) {
                    Click(ButtonLabelled(dialog->GetShell(), "Cancel"));
                }
                break;
            default:
                break;
        }
        Flush();
    }
};

} // namespace

// Under ASan this is the proof that no window or dialog outlives its element or the data it
// showed, whatever order the user closes, reloads and deletes in.
TEST_F(EditorElementUiTest, WindowsSurviveEveryOrderOfDeleteReloadAndClose) {
    std::vector<int> order(kStepCount);
    for (int i = 0; i < kStepCount; i++)
        order[i] = i;
    const int popups = PopupCount(Editors().topLevel);
    int orders = 0;
    do {
        auto element = std::make_unique<ATestElem>(0, 1, 3);
        OpenEverything(*element);
        for (int step : order) {
            if (element == nullptr) break;
            Perform(static_cast<Step>(step), element);
        }
        element.reset();
        Flush();
        ASSERT_EQ(PopupCount(Editors().topLevel), popups) << "order " << orders;
        ASSERT_EQ(ATestModifyWindow::live, 0);
        orders++;
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(orders, 720);
}

TEST_F(EditorElementUiTest, AReloadClosesTheModifyWindowAndRebuildsTheShowData) {
    auto element = std::make_unique<ATestElem>(0, 1, 2);
    element->OpenModifyWindow();
    element->OpenShowDataWindow(0);
    Flush();
    ShowDataWindow* window = static_cast<ShowDataWindow*>(element->GetShowDataWindow(0));
    ASSERT_NE(window, nullptr);
    std::istringstream file(kReloaded);
    ClearParseError();
    ASSERT_EQ(element->Read(file, nullptr), 0);
    Flush();
    EXPECT_EQ(element->GetModifyWindow(), nullptr);
    EXPECT_EQ(element->GetShowDataWindow(0), window); // the same count: rebuilt in place
    Dimension width = 0;
    XtVaGetValues(window->GetDrawArea(0), XmNwidth, &width, nullptr);
    EXPECT_EQ(width, ShowDataAreaSize(window->GetZoom(), 8));
    EXPECT_STREQ(element->GetName(), "again");
}

TEST_F(EditorElementUiTest, TheDimensionDialogIsOneAndGoesOverTheTopLevelShell) {
    ATestElem element;
    element.OpenDimensionDialog();
    auto* dialog = dynamic_cast<ModifyTwoValuesDialog*>(element.GetDimensionDialog());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(XtParent(dialog->GetShell()), Editors().topLevel);
    element.OpenDimensionDialog();
    EXPECT_EQ(element.GetDimensionDialog(), dialog);
    Ui().answer = 3; // Yes
    SetText(ReadIntGetText(dialog->GetField1()), "20");
    Click(ButtonLabelled(dialog->GetShell(), "OK"));
    EXPECT_EQ(element.GetDimensionDialog(), nullptr);
    EXPECT_EQ(element.GetOutputPlaneWidth(0), 20);
}
