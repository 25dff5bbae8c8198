// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/ModifyTwoValuesDialog.h"

#include <Xm/Xm.h>

#include "EditorsTestSupport.h"
#include "toolkit/ReadInt.h"

namespace {

struct Answer {
    int calls = 0;
    int cancelled = -1;
    int value1 = -1;
    int value2 = -1;
};

void Record(int cancelled, int value1, int value2, void* client) {
    Answer* answer = static_cast<Answer*>(client);
    answer->calls++;
    answer->cancelled = cancelled;
    answer->value1 = value1;
    answer->value2 = value2;
}

class ModifyTwoValuesDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
        ResetBells();
    }
    void Open(const char* title, int value1, int max1, int value2, int max2, int divisor) {
        dialog =
            new ModifyTwoValuesDialog(Editors().topLevel, title, "X-Dimension:", value1, 1, max1,
                                      "Y-Dimension:", value2, 1, max2, Record, &answer, divisor);
        shell = dialog->GetShell();
        text1 = ReadIntGetText(dialog->GetField1());
        text2 = ReadIntGetText(dialog->GetField2());
        Flush();
    }
    bool Gone() { return !IsLivePopup(Editors().topLevel, shell); }

    Answer answer;
    ModifyTwoValuesDialog* dialog = nullptr;
    Widget shell = nullptr;
    Widget text1 = nullptr;
    Widget text2 = nullptr;
};

} // namespace

TEST_F(ModifyTwoValuesDialogTest, ShowsBothRowsWithTheirLimits) {
    Open("Change Dimension", 16, 65536, 20, 999, 0);
    char* title = nullptr;
    XtVaGetValues(shell, XmNtitle, &title, nullptr);
    EXPECT_STREQ(title, "Change Dimension");
    EXPECT_EQ(LabelText(Child(shell, "*label1")), "X-Dimension:");
    EXPECT_EQ(LabelText(Child(shell, "*label2")), "Y-Dimension:");
    int maxLength1 = 0, maxLength2 = 0;
    XtVaGetValues(text1, XmNmaxLength, &maxLength1, nullptr);
    XtVaGetValues(text2, XmNmaxLength, &maxLength2, nullptr);
    EXPECT_EQ(maxLength1, 5);
    EXPECT_EQ(maxLength2, 3);
    EXPECT_EQ(GetText(text1), "16");
    EXPECT_EQ(GetText(text2), "20");
    Click(ButtonLabelled(shell, "Cancel"));
}

TEST_F(ModifyTwoValuesDialogTest, ReturnInTheSecondFieldEndsItLikeOk) {
    Open("Add Clock", 1, 999999, 0, 999999, 0);
    SetText(text1, "30");
    SetText(text2, "4");
    PressReturn(text2);
    EXPECT_EQ(answer.calls, 1);
    EXPECT_EQ(answer.cancelled, 0);
    EXPECT_EQ(answer.value1, 30);
    EXPECT_EQ(answer.value2, 4);
    EXPECT_TRUE(Gone());
}

TEST_F(ModifyTwoValuesDialogTest, AnInvalidFieldKeepsTheDialog) {
    Open("Change Dimension", 16, 65536, 16, 65536, 0);
    SetText(text2, "0");
    Click(ButtonLabelled(shell, "OK"));
    EXPECT_EQ(answer.calls, 0);
    EXPECT_FALSE(Gone());
    EXPECT_EQ(BellCount(), 0);
    Click(ButtonLabelled(shell, "Cancel"));
    EXPECT_EQ(answer.calls, 1);
    EXPECT_EQ(answer.cancelled, 1);
    EXPECT_EQ(answer.value1, 0);
    EXPECT_EQ(answer.value2, 0);
    EXPECT_TRUE(Gone());
}

TEST_F(ModifyTwoValuesDialogTest, OkAppliesTheDivisorRuleAsReturnDoes) {
    // A 12 by 12 plane: the PE dimension must divide both sides.
    Open("PE-Dimension", 4, 12, 3, 12, 1);
    SetText(text1, "5");
    Click(ButtonLabelled(shell, "OK"));
    EXPECT_EQ(answer.calls, 0);
    EXPECT_EQ(GetText(text1), "6");
    EXPECT_EQ(BellCount(), 1);
    EXPECT_FALSE(Gone());
    Click(ButtonLabelled(shell, "OK"));
    EXPECT_EQ(answer.calls, 1);
    EXPECT_EQ(answer.value1, 6);
    EXPECT_EQ(answer.value2, 3);
}

TEST_F(ModifyTwoValuesDialogTest, ReturnCorrectsANonDivisorTheSameWay) {
    Open("PE-Dimension", 4, 12, 3, 12, 1);
    SetText(text2, "5");
    PressReturn(text2);
    EXPECT_EQ(answer.calls, 0);
    EXPECT_EQ(GetText(text2), "6");
    EXPECT_EQ(BellCount(), 1);
    // The 6 is the field's own text, not a value given: Return on it does nothing; OK takes it.
    PressReturn(text2);
    EXPECT_EQ(answer.calls, 0);
    EXPECT_FALSE(Gone());
    Click(ButtonLabelled(shell, "OK"));
    EXPECT_EQ(answer.calls, 1);
    EXPECT_EQ(answer.value2, 6);
}

TEST_F(ModifyTwoValuesDialogTest, WindowCloseAnswersCancelledOnce) {
    Open("Modify Clock", 100, 999999, 0, 999999, 0);
    SendClose(shell);
    EXPECT_EQ(answer.calls, 1);
    EXPECT_EQ(answer.cancelled, 1);
    EXPECT_TRUE(Gone());
}

TEST_F(ModifyTwoValuesDialogTest, CannotBeResized) {
    Open("New Architecture", 16, 99999, 16, 99999, 0);
    Dimension width = 0, height = 0;
    int minWidth = 0, maxWidth = 0, minHeight = 0, maxHeight = 0;
    XtVaGetValues(shell, XmNwidth, &width, XmNheight, &height, XmNminWidth, &minWidth, XmNmaxWidth,
                  &maxWidth, XmNminHeight, &minHeight, XmNmaxHeight, &maxHeight, nullptr);
    EXPECT_GT(width, 1);
    EXPECT_EQ(minWidth, width);
    EXPECT_EQ(maxWidth, width);
    EXPECT_EQ(minHeight, height);
    EXPECT_EQ(maxHeight, height);
    delete dialog;
    Flush();
    EXPECT_EQ(answer.calls, 0);
}
