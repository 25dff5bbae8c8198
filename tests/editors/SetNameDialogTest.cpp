// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/SetNameDialog.h"

#include <X11/keysym.h>
#include <Xm/Xm.h>

#include <sstream>

#include "EditorsTestSupport.h"
#include "model/format/ParseError.h"

struct CheckCase {
    const char* name;
    const char* comment;
    const char* shownName;
    const char* shownComment;
    bool accepted;
};

TEST(SetNameDialog, OkCheckCorrectsLeadingBlanksAndEmptyNames) {
    const CheckCase cases[] = {
        {"ab", "", "ab", "", true},
        {"  ab", "", "ab", "", false},
        {"", "", "MASK", "", false},
        {"   ", "x", "MASK", "x", false},
        {"ab", "   x", "ab", "x", false},
        {"ab", "   ", "ab", "   ", true},     // a comment of blanks only is kept
        {"ab  ", "x  ", "ab  ", "x  ", true}, // trailing blanks are kept
        {"a#b", "#c", "a#b", "#c", true},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(std::string("'") + c.name + "' '" + c.comment + "'");
        const NameCheck check = CheckNameAndComment(c.name, c.comment, "MASK");
        EXPECT_EQ(check.name, c.shownName);
        EXPECT_EQ(check.comment, c.shownComment);
        EXPECT_EQ(check.accepted, c.accepted);
    }
}

namespace {

class SetNameDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
        ResetBells();
        element = std::make_unique<ATestElem>();
        element->OpenSetNameDialog();
        dialog = dynamic_cast<SetNameDialog*>(element->GetSetNameDialog());
        ASSERT_NE(dialog, nullptr);
        shell = dialog->GetShell();
        name = dialog->GetNameField();
        comment = dialog->GetCommentField();
        Flush();
    }
    void TearDown() override {
        element.reset();
        Flush();
    }
    bool Gone() { return !IsLivePopup(Editors().topLevel, shell); }

    std::unique_ptr<ATestElem> element;
    SetNameDialog* dialog = nullptr;
    Widget shell = nullptr;
    Widget name = nullptr;
    Widget comment = nullptr;
};

} // namespace

TEST_F(SetNameDialogTest, IsTitledByTypeAndHoldsTheElementsTexts) {
    EXPECT_STREQ(XtName(shell), "Set Name - MASK");
    char* title = nullptr;
    int decorations = 0, functions = 0;
    XtVaGetValues(shell, XmNtitle, &title, XmNmwmDecorations, &decorations, XmNmwmFunctions,
                  &functions, nullptr);
    EXPECT_STREQ(title, "Set Name - MASK");
    EXPECT_EQ(decorations, 18);
    EXPECT_EQ(functions, 36);
    EXPECT_EQ(GetText(name), "MASK");
    EXPECT_EQ(GetText(comment), "");
    int nameLength = 0, commentLength = 0;
    short columns = 0;
    XtVaGetValues(name, XmNmaxLength, &nameLength, nullptr);
    XtVaGetValues(comment, XmNmaxLength, &commentLength, XmNcolumns, &columns, nullptr);
    EXPECT_EQ(nameLength, 10);
    EXPECT_EQ(commentLength, 100);
    EXPECT_EQ(columns, 60);
    EXPECT_NE(Child(shell, "form.data_frame.data_form.Name:"), nullptr);
    EXPECT_NE(Child(shell, "form.data_frame.data_form.Comment:"), nullptr);
    // Opening it again makes no second dialog.
    const int popups = PopupCount(Editors().topLevel);
    element->OpenSetNameDialog();
    EXPECT_EQ(element->GetSetNameDialog(), dialog);
    EXPECT_EQ(PopupCount(Editors().topLevel), popups);
}

TEST_F(SetNameDialogTest, OkWithLeadingBlanksCorrectsFirstAndAppliesSecond) {
    SetText(name, "  ab");
    Click(ButtonLabelled(shell, "OK"));
    EXPECT_EQ(GetText(name), "ab");
    EXPECT_EQ(BellCount(), 1);
    EXPECT_STREQ(element->GetName(), "MASK");
    EXPECT_FALSE(element->IsModified());
    Click(ButtonLabelled(shell, "OK"));
    EXPECT_STREQ(element->GetName(), "ab");
    EXPECT_TRUE(element->IsModified());
    EXPECT_EQ(element->GetSetNameDialog(), nullptr);
    EXPECT_TRUE(Gone());
}

TEST_F(SetNameDialogTest, AnEmptyNameBecomesTheTypeName) {
    SetText(name, "");
    PressReturn(comment);
    EXPECT_EQ(GetText(name), "MASK");
    EXPECT_EQ(BellCount(), 1);
    EXPECT_FALSE(Gone());
    PressReturn(name);
    EXPECT_TRUE(Gone());
    EXPECT_STREQ(element->GetName(), "MASK");
}

TEST_F(SetNameDialogTest, ACommentWithLeadingBlanksIsCorrectedFirst) {
    SetText(comment, "   x");
    Click(ButtonLabelled(shell, "OK"));
    EXPECT_EQ(GetText(comment), "x");
    EXPECT_EQ(BellCount(), 1);
    EXPECT_STREQ(element->GetComment(), "");
    Click(ButtonLabelled(shell, "OK"));
    EXPECT_STREQ(element->GetComment(), "x");
}

TEST_F(SetNameDialogTest, ABlankCommentPassesOkButEmptiesOnFocusLoss) {
    SetText(name, "ab");
    SetText(comment, "   ");
    Click(ButtonLabelled(shell, "OK"));
    EXPECT_EQ(BellCount(), 0);
    EXPECT_TRUE(Gone());
    // Given as the empty text that the file gives back.
    EXPECT_STREQ(element->GetComment(), "");

    element->OpenSetNameDialog();
    Widget field = dynamic_cast<SetNameDialog*>(element->GetSetNameDialog())->GetCommentField();
    SetText(field, "   ");
    LoseFocus(field);
    EXPECT_EQ(GetText(field), "");
    EXPECT_EQ(BellCount(), 1);
}

TEST_F(SetNameDialogTest, AnEmptyNameLosingFocusGetsTheTypeName) {
    SetText(name, "");
    LoseFocus(name);
    EXPECT_EQ(GetText(name), "MASK");
    EXPECT_EQ(BellCount(), 1);
    SetText(name, "ok");
    LoseFocus(name);
    EXPECT_EQ(BellCount(), 1);
}

TEST_F(SetNameDialogTest, ApplyGivesTheTextsAndStays) {
    SetText(name, "");
    SetText(comment, "note  ");
    Click(ButtonLabelled(shell, "Apply"));
    EXPECT_STREQ(element->GetName(), "");
    EXPECT_STREQ(element->GetComment(), "note  ");
    EXPECT_TRUE(element->IsModified());
    EXPECT_FALSE(Gone());
    EXPECT_EQ(BellCount(), 0);
}

// Apply and OK on the texts the element has change nothing, so the element stays unmodified.
TEST_F(SetNameDialogTest, ApplyAndOkOnTheSameTextsLeaveTheModifiedFlag) {
    for (const char* button : {"Apply", "OK"}) {
        SCOPED_TRACE(button);
        Click(ButtonLabelled(shell, button));
        EXPECT_STREQ(element->GetName(), "MASK");
        EXPECT_FALSE(element->IsModified());
    }
    EXPECT_TRUE(Gone());
}

TEST_F(SetNameDialogTest, CancelAndWindowCloseChangeNothing) {
    SetText(name, "xy");
    SendClose(shell);
    EXPECT_TRUE(Gone());
    EXPECT_EQ(element->GetSetNameDialog(), nullptr);
    EXPECT_STREQ(element->GetName(), "MASK");
    EXPECT_FALSE(element->IsModified());

    element->OpenSetNameDialog();
    shell = dynamic_cast<SetNameDialog*>(element->GetSetNameDialog())->GetShell();
    SetText(dynamic_cast<SetNameDialog*>(element->GetSetNameDialog())->GetNameField(), "xy");
    Click(ButtonLabelled(shell, "Cancel"));
    EXPECT_TRUE(Gone());
    EXPECT_STREQ(element->GetName(), "MASK");
}

TEST_F(SetNameDialogTest, FieldsRefuseTextBeyondTheirLength) {
    SetText(name, "abcdefghi");
    TypeKey(name, XK_j);
    EXPECT_EQ(GetText(name), "abcdefghij");
    TypeKey(name, XK_k);
    EXPECT_EQ(GetText(name), "abcdefghij");
    const std::string hundred(100, 'c');
    SetText(comment, hundred.c_str());
    TypeKey(comment, XK_d);
    EXPECT_EQ(GetText(comment), hundred);
}

TEST_F(SetNameDialogTest, DeletingTheElementTakesTheDialog) {
    element.reset();
    Flush();
    EXPECT_TRUE(Gone());
}

TEST_F(SetNameDialogTest, GoesWithItsOwnerWindowAndClearsTheElement) {
    element.reset();
    Flush();
    Widget owner = XtVaCreatePopupShell("owner", topLevelShellWidgetClass, Editors().topLevel,
                                        XmNwidth, 100, XmNheight, 100, nullptr);
    XtRealizeWidget(owner);
    Host().ownerShell = owner;
    element = std::make_unique<ATestElem>();
    element->OpenSetNameDialog();
    Host().ownerShell = nullptr;
    ASSERT_NE(element->GetSetNameDialog(), nullptr);
    XtDestroyWidget(owner);
    Flush();
    EXPECT_EQ(element->GetSetNameDialog(), nullptr);
}

TEST_F(SetNameDialogTest, TextsSurviveSaveAndReloadExactly) {
    const char* const names[] = {"a#b", "ab  ", "#", "  lead", "ok"};
    const char* const comments[] = {"# not a comment", "x  ", "   ", "  also lead", "   "};
    for (const char* button : {"Apply", "OK"}) {
        for (int i = 0; i < 5; i++) {
            SCOPED_TRACE(std::string(button) + " " + std::to_string(i));
            element->OpenSetNameDialog();
            SetNameDialog* d = dynamic_cast<SetNameDialog*>(element->GetSetNameDialog());
            ASSERT_NE(d, nullptr);
            SetText(d->GetNameField(), names[i]);
            SetText(d->GetCommentField(), comments[i]);
            Click(ButtonLabelled(d->GetShell(), button));
            // OK corrects leading blanks first; the second OK gives what the fields then hold.
            if (element->GetSetNameDialog() != nullptr && std::string(button) == "OK") {
                Click(ButtonLabelled(
                    dynamic_cast<SetNameDialog*>(element->GetSetNameDialog())->GetShell(), button));
            }
            const std::string givenName = element->GetName();
            const std::string givenComment = element->GetComment();
            if (element->GetSetNameDialog() != nullptr) {
                // the field shows what was given
                EXPECT_EQ(
                    GetText(
                        dynamic_cast<SetNameDialog*>(element->GetSetNameDialog())->GetNameField()),
                    givenName);
            }
            std::stringstream file;
            ASSERT_EQ(element->Write(file, 0, nullptr), 0);
            ATestElem reloaded;
            ClearParseError();
            ASSERT_EQ(reloaded.Read(file, nullptr), 0) << file.str();
            EXPECT_EQ(reloaded.GetName(), givenName);
            EXPECT_EQ(reloaded.GetComment(), givenComment);
        }
    }
}
