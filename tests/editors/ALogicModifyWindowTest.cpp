// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "editors/ALogicModifyWindow.h"

#include <X11/keysym.h>
#include <Xm/List.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>

#include <memory>
#include <string>
#include <vector>

#include "ALogicModifyWindowTest.h"
#include "EditorsTestSupport.h"
#include "editors/ExternalDataWindow.h"
#include "editors/ModifyTwoValuesDialog.h"
#include "model/elements/ALogicElem.h"
#include "model/elements/LogicCompiler.h"

namespace {

using Names = std::vector<std::string>;

// Records what the compiler tells a window, for the expected message and position.
class RecordingSink : public LogicErrorSink {
public:
    void ShowEquationError(const char* text, int index, int at) override {
        message = text;
        equation = index;
        position = at;
    }
    std::string message;
    int equation = -1;
    int position = -1;
};

class ALogicModifyWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
        ResetBells();
    }
    void TearDown() override {
        logic.reset();
        Flush();
    }
    ALogicModifyWindow* Open(int width = 10, int height = 10) {
        if (logic == nullptr) logic = MakeLogic(width, height);
        logic->OpenModifyWindow();
        Flush();
        return dynamic_cast<ALogicModifyWindow*>(logic->GetModifyWindow());
    }
    // A new element's window with its PE dimension chosen.
    ALogicModifyWindow* OpenWithDimension(const char* x, const char* y) {
        ALogicModifyWindow* window = Open();
        if (window == nullptr || window->GetDimensionDialog() == nullptr) return nullptr;
        AnswerTwo(window->GetDimensionDialog(), x, y);
        return window;
    }
    static std::string Footer(ALogicModifyWindow* window) {
        return LabelText(window->GetFooterLabel());
    }
    static void Type(ALogicModifyWindow* window, const char* equation) {
        SetText(window->GetEditField(), equation);
    }

    std::unique_ptr<ALogicElem> logic;
};

} // namespace

TEST_F(ALogicModifyWindowTest, ANewElementAsksForItsPEDimensionAndOffersOnlyDivisors) {
    ALogicModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ShellTitle(window->GetShell()), "Modify LOGIC");
    for (Widget off :
         {window->GetExtDel(), window->GetIntDel(), window->GetEquDel(), window->GetUp(),
          window->GetDown(), window->GetOkButton(), window->GetApplyButton(),
          window->GetRenameLabel(), window->GetRenameField()}) {
        EXPECT_FALSE(XtIsSensitive(off)) << XtName(off);
    }
    EXPECT_EQ(LabelText(window->GetOkButton()), " OK ");
    EXPECT_EQ(LabelText(window->GetCancelButton()), " Cancel ");
    EXPECT_TRUE(ListItems(window->GetExtList()).empty());
    EXPECT_EQ(XtNameToWidget(window->GetShell(), "form.insert_form.data_frame.data_form.ext_form."
                                                 "ext_listSW.ext_list"),
              window->GetExtList());
    EXPECT_NE(XtNameToWidget(window->GetShell(), "form.FooterFrame.footer_label"), nullptr);

    ModifyTwoValuesDialog* dialog = window->GetDimensionDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ShellTitle(dialog->GetShell()), "PE-Dimension");
    // 3 is no divisor of 10: OK corrects it and waits.
    AnswerTwo(dialog, "3", "5");
    ASSERT_EQ(window->GetDimensionDialog(), dialog);
    EXPECT_EQ(GetText(ReadIntGetText(dialog->GetField1())), "5");
    AnswerTwo(dialog, "2", "5");
    EXPECT_EQ(window->GetDimensionDialog(), nullptr);

    const Names names = ListItems(window->GetDatList());
    ASSERT_EQ(names.size(), 10u);
    EXPECT_EQ(names[0], "d[0,0]");
    EXPECT_EQ(names[1], "d[0,1]");
    EXPECT_EQ(names[4], "d[0,4]");
    EXPECT_EQ(names[5], "d[1,0]");
    EXPECT_EQ(names[9], "d[1,4]");
    // The last name is offered for renaming.
    EXPECT_EQ(SelectedPos(window->GetDatList()), 10);
    EXPECT_EQ(GetText(window->GetRenameField()), "d[1,4]");
    EXPECT_TRUE(XtIsSensitive(window->GetRenameField()));
    EXPECT_EQ(Footer(window), "Dimension: 2x5");

    ClickItem(window->GetDatList(), 8);
    EXPECT_EQ(Footer(window), "Dimension: 2x5   Coordinates of last selected element: 1,2");
    EXPECT_EQ(GetText(window->GetRenameField()), "d[1,2]");
    // A click on the selected item keeps it.
    ClickItem(window->GetDatList(), 8);
    EXPECT_EQ(SelectedPos(window->GetDatList()), 8);

    window->ChangeDimension();
    ASSERT_NE(window->GetDimensionDialog(), nullptr);
    // The copy has no dimension until OK stores one.
    EXPECT_EQ(ShellTitle(window->GetDimensionDialog()->GetShell()), "PE-Dimension");
    AnswerTwo(window->GetDimensionDialog(), "", "", true);
    EXPECT_EQ(logic->GetModifyWindow(), window);
}

TEST_F(ALogicModifyWindowTest, CancellingTheFirstQuestionClosesTheWindow) {
    ALogicModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    AnswerTwo(window->GetDimensionDialog(), "", "", true);
    Flush();
    EXPECT_EQ(logic->GetModifyWindow(), nullptr);
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);
}

TEST_F(ALogicModifyWindowTest, NamesAreAddedDeletedAndRenamed) {
    ALogicModifyWindow* window = OpenWithDimension("2", "5");
    ASSERT_NE(window, nullptr);
    Widget ext = window->GetExtList();
    Click(window->GetExtAdd());
    EXPECT_TRUE(XtIsSensitive(window->GetExtDel()));
    Click(window->GetExtAdd());
    EXPECT_EQ(ListItems(ext), (Names{"e[0]", "e[1]"}));
    EXPECT_EQ(SelectedPos(ext), 2);
    EXPECT_EQ(GetText(window->GetRenameField()), "e[1]");
    EXPECT_EQ(Footer(window), "Dimension: 2x5   Coordinates of last selected element: 1");

    // e[1] exists: the bell, no change.
    ClickItem(ext, 1);
    SetText(window->GetRenameField(), "e[1]");
    PressReturn(window->GetRenameField());
    EXPECT_EQ(BellCount(), 1);
    EXPECT_EQ(ListItems(ext), (Names{"e[0]", "e[1]"}));
    // Its own text exists as well.
    SetText(window->GetRenameField(), "e[0]");
    PressReturn(window->GetRenameField());
    EXPECT_EQ(BellCount(), 2);
    // Operator words and digits are no names; blanks are removed.
    SetText(window->GetRenameField(), "xor");
    PressReturn(window->GetRenameField());
    EXPECT_EQ(BellCount(), 3);
    SetText(window->GetRenameField(), "  go  on ");
    PressReturn(window->GetRenameField());
    EXPECT_EQ(ListItems(ext), (Names{"goon", "e[1]"}));
    EXPECT_EQ(SelectedPos(ext), 1);
    EXPECT_EQ(GetText(window->GetRenameField()), " ");
    EXPECT_FALSE(XtIsSensitive(window->GetRenameField()));
    EXPECT_FALSE(XtIsSensitive(window->GetRenameLabel()));

    // Deleting the first of two selects the new last one; adding again starts at the length.
    ClickItem(ext, 1);
    Click(window->GetExtDel());
    EXPECT_EQ(ListItems(ext), (Names{"e[1]"}));
    EXPECT_EQ(SelectedPos(ext), 1);
    EXPECT_FALSE(XtIsSensitive(window->GetRenameField()));
    Click(window->GetExtAdd());
    EXPECT_EQ(ListItems(ext), (Names{"e[1]", "e[2]"}));
    Click(window->GetExtAdd());
    ClickItem(ext, 1);
    Click(window->GetExtDel());
    EXPECT_EQ(ListItems(ext), (Names{"e[2]", "e[3]"}));
    EXPECT_EQ(SelectedPos(ext), 2);
    Click(window->GetExtDel());
    Click(window->GetExtDel());
    EXPECT_TRUE(ListItems(ext).empty());
    EXPECT_FALSE(XtIsSensitive(window->GetExtDel()));
    // Nothing selected: nothing happens.
    Click(window->GetExtDel());

    Click(window->GetIntAdd());
    EXPECT_EQ(ListItems(window->GetIntList()), (Names{"i[0]"}));
    // A name of another list is taken too.
    SetText(window->GetRenameField(), "d[0,0]");
    PressReturn(window->GetRenameField());
    EXPECT_EQ(ListItems(window->GetIntList()), (Names{"i[0]"}));
}

TEST_F(ALogicModifyWindowTest, TheRenameFieldRefusesOperatorCharactersAtTheInsertion) {
    ALogicModifyWindow* window = OpenWithDimension("1", "1");
    ASSERT_NE(window, nullptr);
    Widget field = window->GetRenameField();
    ASSERT_TRUE(XtIsSensitive(field));
    SetText(field, "ab");
    const int bells = BellCount();
    TypeKey(field, XK_parenleft);
    TypeKey(field, XK_space);
    EXPECT_EQ(GetText(field), "ab");
    EXPECT_EQ(BellCount(), bells + 2);
    TypeKey(field, XK_c);
    EXPECT_EQ(GetText(field), "abc");
    struct Char {
        char c;
        bool accepted;
    };
    for (const Char& c :
         {Char{' ', false}, Char{'!', false}, Char{'&', false}, Char{'(', false}, Char{')', false},
          Char{'=', false}, Char{'^', false}, Char{'{', false}, Char{'|', false}, Char{'}', false},
          Char{'~', false}, Char{'[', true}, Char{',', true}, Char{'x', true}}) {
        EXPECT_EQ(ALogicModifyWindow::RenameAccepts(c.c), c.accepted) << c.c;
    }
}

TEST_F(ALogicModifyWindowTest, EquationsAreAddedEditedMovedAndDeleted) {
    ALogicModifyWindow* window = OpenWithDimension("1", "1");
    ASSERT_NE(window, nullptr);
    Widget list = window->GetEquList();
    Type(window, "   ");
    Click(window->GetEquAdd());
    EXPECT_TRUE(ListItems(list).empty());
    Type(window, "d[0,0] = 1");
    Click(window->GetEquAdd());
    EXPECT_TRUE(XtIsSensitive(window->GetOkButton()));
    EXPECT_TRUE(XtIsSensitive(window->GetApplyButton()));
    EXPECT_TRUE(XtIsSensitive(window->GetEquDel()));
    // The same text again: the bell.
    Click(window->GetEquAdd());
    EXPECT_EQ(BellCount(), 1);
    Type(window, "d[0,0] = 0");
    Click(window->GetEquAdd());
    Type(window, "d[0,0] = d[0,0]");
    Click(window->GetEquAdd());
    EXPECT_EQ(ListItems(list), (Names{"d[0,0] = 1", "d[0,0] = 0", "d[0,0] = d[0,0]"}));
    EXPECT_EQ(window->GetCurrentEquation(), 3);
    EXPECT_EQ(SelectedPos(list), 3);
    EXPECT_TRUE(XtIsSensitive(window->GetUp()));
    EXPECT_FALSE(XtIsSensitive(window->GetDown()));

    Click(window->GetUp());
    Click(window->GetUp());
    EXPECT_EQ(ListItems(list), (Names{"d[0,0] = d[0,0]", "d[0,0] = 1", "d[0,0] = 0"}));
    EXPECT_EQ(window->GetCurrentEquation(), 1);
    EXPECT_EQ(SelectedPos(list), 1);
    EXPECT_FALSE(XtIsSensitive(window->GetUp()));
    EXPECT_TRUE(XtIsSensitive(window->GetDown()));
    Click(window->GetDown());
    EXPECT_EQ(ListItems(list), (Names{"d[0,0] = 1", "d[0,0] = d[0,0]", "d[0,0] = 0"}));
    EXPECT_EQ(window->GetCurrentEquation(), 2);

    ClickItem(list, 3);
    EXPECT_EQ(GetText(window->GetEditField()), "d[0,0] = 0");
    EXPECT_FALSE(XtIsSensitive(window->GetDown()));
    EXPECT_EQ(Footer(window), "Dimension: 1x1");
    // Return replaces the current equation with the text as typed.
    Type(window, "d[0,0] =  ~d[0,0]");
    PressReturn(window->GetEditField());
    EXPECT_EQ(ListItems(list), (Names{"d[0,0] = 1", "d[0,0] = d[0,0]", "d[0,0] =  ~d[0,0]"}));
    Type(window, "d[0,0] = 1");
    const int bells = BellCount();
    PressReturn(window->GetEditField());
    EXPECT_EQ(BellCount(), bells + 1);

    // Deleting the first selects the new last; the others their predecessor.
    ClickItem(list, 1);
    Click(window->GetEquDel());
    EXPECT_EQ(ListItems(list), (Names{"d[0,0] = d[0,0]", "d[0,0] =  ~d[0,0]"}));
    EXPECT_EQ(window->GetCurrentEquation(), 2);
    EXPECT_EQ(SelectedPos(list), 2);
    Click(window->GetEquDel());
    EXPECT_EQ(window->GetCurrentEquation(), 1);
    Click(window->GetEquDel());
    EXPECT_TRUE(ListItems(list).empty());
    EXPECT_FALSE(XtIsSensitive(window->GetOkButton()));
    EXPECT_FALSE(XtIsSensitive(window->GetEquDel()));
    // The Edit field keeps its text; Return makes it the first equation.
    EXPECT_EQ(GetText(window->GetEditField()), "d[0,0] = 1");
    PressReturn(window->GetEditField());
    EXPECT_EQ(ListItems(list), (Names{"d[0,0] = 1"}));
    EXPECT_EQ(window->GetCurrentEquation(), 1);
    EXPECT_TRUE(XtIsSensitive(window->GetOkButton()));
}

namespace {

// Every selected position of a list.
std::vector<int> SelectedPositions(Widget list) {
    int* positions = nullptr;
    int count = 0;
    std::vector<int> selected;
    if (!XmListGetSelectedPos(list, &positions, &count)) return selected;
    selected.assign(positions, positions + count);
    XtFree(reinterpret_cast<char*>(positions));
    return selected;
}

// Equation "d[0,0] = N" is number N; one is clicked and moved, then " Del " removes the moved
// one, which is the only selection.
struct MoveCase {
    int clicked;
    bool up;
    int moved;
    Names after;
};

const MoveCase kMoves[] = {
    {2, false, 3, {"d[0,0] = 1", "d[0,0] = 3", "d[0,0] = 4"}},
    {1, false, 2, {"d[0,0] = 2", "d[0,0] = 3", "d[0,0] = 4"}},
    {3, true, 2, {"d[0,0] = 1", "d[0,0] = 2", "d[0,0] = 4"}},
    {4, true, 3, {"d[0,0] = 1", "d[0,0] = 2", "d[0,0] = 3"}},
};

} // namespace

TEST_F(ALogicModifyWindowTest, AMovedEquationIsTheOneSelectionAndDelRemovesIt) {
    ALogicModifyWindow* window = OpenWithDimension("1", "1");
    ASSERT_NE(window, nullptr);
    Widget list = window->GetEquList();
    for (const MoveCase& c : kMoves) {
        SCOPED_TRACE(c.clicked);
        while (!ListItems(list).empty())
            Click(window->GetEquDel());
        for (const char* equation : {"d[0,0] = 1", "d[0,0] = 2", "d[0,0] = 3", "d[0,0] = 4"}) {
            Type(window, equation);
            Click(window->GetEquAdd());
        }
        ClickItem(list, c.clicked);
        Click(c.up ? window->GetUp() : window->GetDown());
        EXPECT_EQ(window->GetCurrentEquation(), c.moved);
        EXPECT_EQ(SelectedPositions(list), std::vector<int>{c.moved});
        Click(window->GetEquDel());
        EXPECT_EQ(ListItems(list), c.after);
        EXPECT_EQ(SelectedPositions(list).size(), 1u);
    }
}

TEST_F(ALogicModifyWindowTest, ADoubleClickAppendsTheNameUpToTheEquationBound) {
    ALogicModifyWindow* window = OpenWithDimension("1", "1");
    ASSERT_NE(window, nullptr);
    Type(window, "d[0,0] = ~");
    ClickItem(window->GetDatList(), 1, true);
    EXPECT_EQ(GetText(window->GetEditField()), "d[0,0] = ~d[0,0]");
    EXPECT_EQ(Footer(window), "Dimension: 1x1   Coordinates of last selected element: 0,0");

    // 4994 characters and a name of 6 make 5000: still allowed; one more is not.
    std::string text(4994, 'x');
    Type(window, text.c_str());
    ClickItem(window->GetDatList(), 1, true);
    EXPECT_EQ(GetText(window->GetEditField()).size(), 5000u);
    Type(window, (text + "y").c_str());
    ClickItem(window->GetDatList(), 1, true);
    EXPECT_EQ(GetText(window->GetEditField()), text + "y");
    EXPECT_EQ(Footer(window), "Sorry, equation would be to long !");
}

TEST_F(ALogicModifyWindowTest, AFailedCompilationShowsTheCompilersMessageAndStoresNothing) {
    logic = MakeLogic(4, 2);
    ASSERT_EQ(Define(*logic, kSmallLogic), 0);
    const std::string before = SavedBlock(*logic);
    ALogicModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    // Loaded: the last names and the last equation selected.
    EXPECT_EQ(ListItems(window->GetExtList()), (Names{"e"}));
    EXPECT_EQ(SelectedPos(window->GetExtList()), 1);
    EXPECT_EQ(SelectedPos(window->GetIntList()), 1);
    EXPECT_EQ(SelectedPos(window->GetDatList()), 0);
    EXPECT_EQ(ListItems(window->GetEquList()), (Names{"s = ~s", "a = s ^ b"}));
    EXPECT_EQ(window->GetCurrentEquation(), 2);
    EXPECT_EQ(GetText(window->GetEditField()), "a = s ^ b");
    EXPECT_TRUE(XtIsSensitive(window->GetUp()));
    EXPECT_EQ(Footer(window), "Dimension: 2x1");

    struct BadCase {
        const char* equation;
    };
    const BadCase cases[] = {{"a = s & y"}, {"a = (s | b"}, {"a = N{e}"}, {"e = 1"},
                             {"a = b c"},   {"a = ~~b"},    {"a b"}};
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.equation);
        ClickItem(window->GetEquList(), 1);
        Type(window, c.equation);
        Click(window->GetEquAdd());
        const int added = window->GetCurrentEquation();
        ASSERT_EQ(added, 3);
        // Select another equation so that the error has to find its own.
        ClickItem(window->GetEquList(), 1);

        RecordingSink expected;
        const Names external = {"e"}, internal = {"s"}, pe = {"a", "b"};
        LogicCompiler compiler(external, internal, pe, 1, &expected);
        std::vector<LogicOpList> lists;
        ASSERT_NE(compiler.Compile({"s = ~s", "a = s ^ b", c.equation}, lists), 0);

        Click(window->GetOkButton());
        ASSERT_EQ(logic->GetModifyWindow(), window);
        EXPECT_EQ(Footer(window), expected.message);
        EXPECT_EQ(window->GetCurrentEquation(), expected.equation + 1);
        EXPECT_EQ(SelectedPos(window->GetEquList()), expected.equation + 1);
        EXPECT_EQ(GetText(window->GetEditField()), c.equation);
        EXPECT_EQ(XmTextFieldGetInsertionPosition(window->GetEditField()), expected.position);
        EXPECT_EQ(SavedBlock(*logic), before);
        EXPECT_FALSE(logic->IsModified());
        Click(window->GetEquDel());
    }
    ClickItem(window->GetEquList(), 2);
    Type(window, "a = y");
    PressReturn(window->GetEditField());
    Click(window->GetApplyButton());
    EXPECT_EQ(Footer(window), "Error: Unknown identifier!");
    Click(window->GetCancelButton());
    Flush();
    EXPECT_EQ(logic->GetModifyWindow(), nullptr);
    EXPECT_EQ(SavedBlock(*logic), before);
}

// What the window of the test below stores: its names, external cycle, state and equations.
const char* const kStoredLogicBlock = R"(LOGICAL_DATA {
  PE_DIMENSION: (2,1)
  PE_DATA {
    NAMES {
      d[0,0]
      out
    }
  }
  EXTERNAL_DATA {
    NUMBER: 1
    NAMES {
      e[0]
    }
    MATRIX {
      DIMENSION: (1,1)
      DATA {
        0
      }
    }
  }
  INTERNAL_DATA {
    NUMBER: 1
    NAMES {
      i[0]
    }
  }
  EQUATION_DATA {
    NUMBER: 2
    EQUATIONS {
      i[0] = ~i[0]
      out = i[0] ^ e[0] | d[0,0]
    }
    COMPUTE_PARALLEL: ON
  }
}
)";

TEST_F(ALogicModifyWindowTest, OkStoresTheListsCompiledAndClosesTheWindow) {
    ALogicModifyWindow* window = OpenWithDimension("2", "1");
    ASSERT_NE(window, nullptr);
    // The plane is 10 x 10: PEs of 2 x 1 make 50 of them.
    Click(window->GetExtAdd());
    Click(window->GetIntAdd());
    ClickItem(window->GetDatList(), 2);
    SetText(window->GetRenameField(), "out");
    PressReturn(window->GetRenameField());
    Type(window, "i[0] = ~i[0]");
    Click(window->GetEquAdd());
    Type(window, "out = i[0] ^ e[0] | d[0,0]");
    Click(window->GetEquAdd());
    XmToggleButtonSetState(window->GetParallelToggle(), True, True);
    EXPECT_EQ(window->GetWorkingCopy().GetComputeParallel(), 1);

    Click(window->GetApplyButton());
    EXPECT_EQ(logic->GetModifyWindow(), window);
    EXPECT_TRUE(logic->IsModified());
    EXPECT_TRUE(logic->IsDefined());
    EXPECT_EQ(SavedBlock(*logic), kStoredLogicBlock);
    const D_LogicElem& data = logic->GetData();
    ASSERT_EQ(data.GetCompiledLists().size(), 2u);
    EXPECT_EQ(data.GetCompiledLists()[1][0], (LogicOp{kLogicPEData, 1, 0, 0}));
    EXPECT_EQ(data.GetErrorSink(), nullptr);

    // A step sets the state; the next store starts it at 0 again.
    logic->Simulate();
    ASSERT_NE(data.GetInternalMatrix(49), nullptr);
    EXPECT_EQ((*data.GetInternalMatrix(49))(0, 0), 1);
    logic->ClearModified();
    Click(window->GetOkButton());
    Flush();
    EXPECT_EQ(logic->GetModifyWindow(), nullptr);
    EXPECT_FALSE(logic->IsModified()); // OK stored what Apply had: nothing changed
    for (int p = 0; p < 50; p++)
        EXPECT_EQ((*logic->GetData().GetInternalMatrix(p))(0, 0), 0) << p;

    // Reopened: the window shows what was stored.
    window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetDimensionDialog(), nullptr);
    EXPECT_EQ(ListItems(window->GetDatList()), (Names{"d[0,0]", "out"}));
    EXPECT_TRUE(XmToggleButtonGetState(window->GetParallelToggle()));
    int x = 0;
    int y = 0;
    window->GetPEDimension(x, y);
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 1);
}

TEST_F(ALogicModifyWindowTest, RenamingAPEDataNameLeavesTheEquationsToFail) {
    logic = MakeLogic(4, 2);
    ASSERT_EQ(Define(*logic, kSmallLogic), 0);
    ALogicModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    ClickItem(window->GetDatList(), 2);
    SetText(window->GetRenameField(), "c");
    PressReturn(window->GetRenameField());
    EXPECT_EQ(ListItems(window->GetDatList()), (Names{"a", "c"}));
    EXPECT_EQ(ListItems(window->GetEquList()), (Names{"s = ~s", "a = s ^ b"}));
    Click(window->GetOkButton());
    ASSERT_EQ(logic->GetModifyWindow(), window);
    EXPECT_EQ(Footer(window), "Error: Unknown identifier!");
    EXPECT_EQ(window->GetCurrentEquation(), 2);
}

TEST_F(ALogicModifyWindowTest, TheWindowManagersCloseIsCancel) {
    logic = MakeLogic(4, 2);
    ASSERT_EQ(Define(*logic, kSmallLogic), 0);
    const std::string before = SavedBlock(*logic);
    ALogicModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    Click(window->GetIntAdd());
    SendClose(window->GetShell());
    Flush();
    EXPECT_EQ(logic->GetModifyWindow(), nullptr);
    EXPECT_EQ(SavedBlock(*logic), before);
    EXPECT_FALSE(logic->IsModified());
}

TEST_F(ALogicModifyWindowTest, ClosingWithTheDimensionDialogOpenTakesTheDialogAlong) {
    ALogicModifyWindow* window = OpenWithDimension("2", "5");
    ASSERT_NE(window, nullptr);
    window->ChangeDimension();
    ModifyTwoValuesDialog* dialog = window->GetDimensionDialog();
    ASSERT_NE(dialog, nullptr);
    Widget dialogShell = dialog->GetShell();
    EXPECT_TRUE(IsLivePopup(window->GetShell(), dialogShell));
    SendClose(window->GetShell());
    Flush();
    EXPECT_EQ(logic->GetModifyWindow(), nullptr);
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);

    // The first question, and the element going under it.
    window = Open();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->GetDimensionDialog(), nullptr);
    RunInDispatch([&] { logic.reset(); });
    Flush();
    EXPECT_EQ(PopupCount(Editors().topLevel), 0);
}

TEST_F(ALogicModifyWindowTest, StoringNamesKeepsTheExternalBitsTheOtherWindowApplied) {
    logic = MakeLogic(4, 2);
    ASSERT_EQ(Define(*logic, kSmallLogic), 0);
    ALogicModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    logic->OpenExternalDataWindow();
    ExternalDataWindow* external =
        dynamic_cast<ExternalDataWindow*>(logic->GetExternalDataWindow());
    ASSERT_NE(external, nullptr);
    // Cycle 2 of e set and applied while the modify window is open.
    int px = 0;
    int py = 0;
    CellPixel(2, external->GetZoom(), 0, 1, &px, &py);
    SendButtonPress(external->GetDrawArea(), px, py);
    external->Apply();
    Click(window->GetExtAdd());
    Click(window->GetApplyButton());
    const Matrix* bits = logic->GetData().GetExternalData();
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(bits->GetDimX(), 2);
    EXPECT_EQ(bits->GetDimY(), 2);
    EXPECT_EQ((*bits)(0, 0), 1);
    EXPECT_EQ((*bits)(0, 1), 1);
    EXPECT_EQ((*bits)(1, 0), 0);
    // The open external-data window follows the new names.
    EXPECT_EQ(logic->GetExternalDataWindow(), external);
    EXPECT_EQ(external->GetCopy().GetDimX(), 2);

    // Without external names it closes.
    ClickItem(window->GetExtList(), 1);
    Click(window->GetExtDel());
    ClickItem(window->GetExtList(), 1);
    Click(window->GetExtDel());
    ClickItem(window->GetEquList(), 1);
    Click(window->GetOkButton());
    Flush();
    EXPECT_EQ(logic->GetModifyWindow(), nullptr);
    EXPECT_EQ(logic->GetExternalDataWindow(), nullptr);
    EXPECT_EQ(logic->GetData().GetExternalData(), nullptr);
}

namespace {

// kSmallLogic with the external names ext0 (cycles 1,0,1) and e[1] (0,0,0).
std::string TwoExternalNames() {
    std::string block = kSmallLogic;
    const size_t from = block.find("  EXTERNAL_DATA {");
    const size_t to = block.find("  INTERNAL_DATA {");
    block.replace(from, to - from, R"(  EXTERNAL_DATA {
    NUMBER: 2
    NAMES {
      ext0
      e[1]
    }
    MATRIX {
      DIMENSION: (2,3)
      DATA {
        10
        00
        10
      }
    }
  }
)");
    return block;
}

// Each column of the external bits as its cycles from 0, "/" between the columns.
std::string Columns(const Matrix& bits) {
    std::string text;
    for (int x = 0; x < bits.GetDimX(); x++) {
        if (x > 0) text += "/";
        for (int y = 0; y < bits.GetDimY(); y++)
            text += (bits(x, y) ? "1" : "0");
    }
    return text;
}

// Steps on "ext_list": "-N" deletes item N, "+" adds a name, "N=name" renames item N.
struct ExternalCase {
    std::vector<std::string> steps;
    Names names;
    const char* columns;
};

const ExternalCase kExternalCases[] = {
    {{"-1"}, {"e[1]"}, "000"},
    {{"-2"}, {"ext0"}, "101"},
    {{"1=x"}, {"x", "e[1]"}, "101/000"},
    {{"+", "-1"}, {"e[1]", "e[2]"}, "000/000"},
    {{"-2", "+", "2=y"}, {"ext0", "y"}, "101/000"},
    {{"-1", "+", "+", "-2"}, {"e[1]", "e[3]"}, "000/000"},
    {{"2=ext1", "-1"}, {"ext1"}, "000"},
};

} // namespace

TEST_F(ALogicModifyWindowTest, EveryExternalNameKeepsItsOwnColumn) {
    for (const ExternalCase& c : kExternalCases) {
        SCOPED_TRACE(c.steps.front() + " .. " + c.steps.back());
        logic = MakeLogic(4, 2);
        ASSERT_EQ(Define(*logic, TwoExternalNames()), 0);
        logic->OpenExternalDataWindow();
        ExternalDataWindow* external =
            dynamic_cast<ExternalDataWindow*>(logic->GetExternalDataWindow());
        ASSERT_NE(external, nullptr);
        ALogicModifyWindow* window = Open();
        ASSERT_NE(window, nullptr);
        Widget list = window->GetExtList();
        for (const std::string& step : c.steps) {
            if (step == "+") {
                Click(window->GetExtAdd());
            } else if (step[0] == '-') {
                ClickItem(list, std::stoi(step.substr(1)));
                Click(window->GetExtDel());
            } else {
                ClickItem(list, std::stoi(step));
                SetText(window->GetRenameField(), step.substr(step.find('=') + 1).c_str());
                PressReturn(window->GetRenameField());
            }
        }
        EXPECT_EQ(ListItems(list), c.names);
        Click(window->GetOkButton());
        Flush();
        ASSERT_EQ(logic->GetModifyWindow(), nullptr);
        EXPECT_EQ(logic->GetData().GetExternalNames(), c.names);
        ASSERT_NE(logic->GetData().GetExternalData(), nullptr);
        EXPECT_EQ(Columns(*logic->GetData().GetExternalData()), c.columns);
        ASSERT_EQ(logic->GetExternalDataWindow(), external);
        EXPECT_EQ(Columns(external->GetCopy()), c.columns);
        // The saved file holds the same bits.
        std::unique_ptr<ALogicElem> reloaded = MakeLogic(4, 2);
        ASSERT_EQ(Define(*reloaded, SavedBlock(*logic)), 0);
        EXPECT_EQ(Columns(*reloaded->GetData().GetExternalData()), c.columns);
        logic.reset();
        Flush();
    }
}

TEST_F(ALogicModifyWindowTest, ATitleOfAnyLengthAndAScreenshot) {
    logic = MakeLogic(4, 2);
    ASSERT_EQ(Define(*logic, kSmallLogic), 0);
    const std::string name(300, 'n');
    logic->SetName(name.c_str());
    ALogicModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ShellTitle(window->GetShell()), "Modify " + name + "  [LOGIC]");
    Flush();
    SaveScreenshot(window->GetShell(), "logic_modify_window");
}

TEST_F(ALogicModifyWindowTest, DataReadIntoTheWorkingCopyIsShownAnew) {
    logic = MakeLogic(4, 2);
    ASSERT_EQ(Define(*logic, kSmallLogic), 0);
    const std::string before = SavedBlock(*logic);
    ALogicModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    Click(window->GetIntAdd());

    std::unique_ptr<ALogicElem> other = MakeLogic(4, 2);
    std::string block = kSmallLogic;
    block.replace(block.find("a = s ^ b"), 9, "b = a");
    ASSERT_EQ(Define(*other, block), 0);
    std::ostringstream file;
    other->Write(file, 0, nullptr);
    std::istringstream in(file.str());
    auto* copy = const_cast<D_LogicElem*>(&window->GetWorkingCopy());
    ASSERT_EQ(logic->Read(in, copy), 0);
    EXPECT_EQ(ListItems(window->GetIntList()), (Names{"s"}));
    EXPECT_EQ(ListItems(window->GetEquList()), (Names{"s = ~s", "b = a"}));
    EXPECT_EQ(GetText(window->GetEditField()), "b = a");
    EXPECT_FALSE(XtIsSensitive(window->GetRenameField()));
    // Only OK stores it.
    EXPECT_EQ(SavedBlock(*logic), before);
    Click(window->GetOkButton());
    Flush();
    EXPECT_EQ(logic->GetModifyWindow(), nullptr);
    EXPECT_EQ(logic->GetData().GetEquations(), (Names{"s = ~s", "b = a"}));
}

TEST_F(ALogicModifyWindowTest, AnElementWithADimensionButNoEquationIsAskedAsANewOne) {
    logic = MakeLogic(10, 10);
    ASSERT_EQ(logic->GetData().SetPEDimension(2, 5), 1);
    ALogicModifyWindow* window = Open();
    ASSERT_NE(window, nullptr);
    ModifyTwoValuesDialog* dialog = window->GetDimensionDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ShellTitle(dialog->GetShell()), "PE-Dimension");
    EXPECT_EQ(GetText(ReadIntGetText(dialog->GetField1())), "0");
    EXPECT_EQ(GetText(ReadIntGetText(dialog->GetField2())), "0");
    AnswerTwo(dialog, "", "", true);
    Flush();
    EXPECT_EQ(logic->GetModifyWindow(), nullptr);
}
