// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "shell/ElementPopupMenu.h"

#include <X11/IntrinsicP.h>
#include <Xm/FileSB.h>
#include <Xm/Form.h>
#include <Xm/PushB.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>
#include <Xm/Xm.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "editors/AElementModifyWindow.h"
#include "editors/EditorElementUi.h"
#include "editors/SetNameDialog.h"
#include "model/data/ClockList.h"
#include "model/elements/AElement.h"
#include "model/elements/AInputElem.h"
#include "model/elements/AJoinElem.h"
#include "model/elements/ALogicElem.h"
#include "model/elements/AMaskElem.h"
#include "model/elements/AOutputElem.h"
#include "model/elements/APermElem.h"
#include "model/elements/ARuleElem.h"
#include "model/elements/ASSeedElem.h"
#include "model/elements/ASplitElem.h"
#include "model/elements/ElementType.h"
#include "model/format/ParseError.h"
#include "shell/DirectoriesOptionsDialog.h"
#include "shell/FileSelection.h"
#include "shell/MainWindow.h"
#include "shell/ShellElementUi.h"
#include "shell/Startup.h"
#include "shell/StartupOptionsDialog.h"
#include "shell/WindowMessage.h"
#include "shell/WorkingAreaOptionsDialog.h"
#include "tests/support/gui/GuiDisplay.h"
#include "tests/support/gui/GuiWidgets.h"
#include "tests/support/gui/ShellGui.h"
#include "toolkit/Bell.h"
#include "toolkit/Colors.h"
#include "toolkit/MatrixDraw.h"
#include "toolkit/OwnedXmString.h"
#include "toolkit/OwnedXtString.h"
#include "toolkit/ReadInt.h"

// The types with an element menu: MASK .. MACRO_OUTPUT.
const int kElementMenuCount = 13;

// The rows of the item table by type, separators as "-".
TEST(ElementPopupMenu, RowsFollowTheItemTable) {
    const char* const kMaskRow = "Modify ...|-|Show Data ...|Change Dimension ...|-|Set Time ...|"
                                 "Set Name ...|-|Load ...|Save ...";
    const char* const kSSeedRow = "Modify ...|-|Show Data ...|Change Dimension ...|-|"
                                  "Set Time ...|Set Clock ...|Set Name ...|-|Load ...|Save ...";
    const char* const kRows[kElementMenuCount] = {
        kMaskRow,
        kMaskRow,
        kMaskRow,
        "Modify ...|Modify External Data...|-|Show Data ...|Change Dimension ...|-|Set Time ...|"
        "Set Clock ...|Set Name ...|-|Load ...|Save ...",
        kSSeedRow,
        "1:n|-|Show Data ...|Change Dimension ...|-|Set Time ...|Set Name ...|-|Load ...|Save ...",
        "Modify ...|n:1|-|Show Data ...|Change Dimension ...|-|Set Time ...|Set Name ...|-|"
        "Load ...|Save ...",
        kSSeedRow,
        kSSeedRow,
        kSSeedRow,
        "Modify ...|-|Show Data ...|-|Set Name ...|-|Load ...|Save ...",
        "Show Data ...|Change Dimension ...|-|Set Name ...",
        "Change Dimension ...|-|Set Name ...",
    };
    for (int type = 0; type < kElementMenuCount; type++) {
        SCOPED_TRACE(GetTypeName(type));
        const int* row = ElementMenuRow(type);
        ASSERT_NE(row, nullptr);
        std::string text;
        for (int i = 0; i < kMenuRowLength && row[i] != kItemEnd; i++) {
            if (!text.empty()) text += "|";
            text += row[i] == kItemSeparator ? "-" : ElementMenuItemName(row[i]);
        }
        EXPECT_EQ(text, kRows[type]);
    }
    EXPECT_EQ(ElementMenuRow(kHelpElement), nullptr);
    // LOGIC fills its twelve entries.
    EXPECT_STREQ(ElementMenuItemName(ElementMenuRow(kLogic)[11]), "Save ...");
}

TEST(ElementPopupMenu, OnlyInputAndOutputNeedAClockAndOnlyInputATime) {
    for (uint32_t type = 0; type < 13; type++) {
        SCOPED_TRACE(type);
        EXPECT_EQ(MayHaveNoClock(type), type != kInput && type != kOutput);
        EXPECT_EQ(TimeMinimum(type), type == kInput ? 1 : 0);
    }
}

namespace {

std::vector<std::string>& messages = testgui::Messages();
MessageResult& nextAnswer = testgui::FallbackAnswer();

using testgui::Click;
using testgui::Flush;
using testgui::RunInDispatch;
using testgui::SendClose;

// A modify window of any type: its working copy is nothing, so OK stores nothing.
class PlainModifyWindow : public AElementModifyWindow {
public:
    explicit PlainModifyWindow(AElement* element) : AElementModifyWindow(element) {
        Widget form = XtVaCreateManagedWidget("form", xmFormWidgetClass, shell, nullptr);
        CreateModifyActionArea(form);
        Show();
    }

protected:
    void StoreCopy() override {}
};

class ElementPopupMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        testgui::CountBells();
        testgui::ResetBells();
        main = testgui::CleanMainWindow();
        if (main == nullptr) GTEST_SKIP() << "no X display";
        dir = std::string(std::getenv("HOME")) + "/";
    }
    void TearDown() override {
        if (main == nullptr) return;
        main->ClearModified();
        main->Clear();
        Flush();
        SetWindowMessageFunction(nullptr);
        SetFileMessageFunction(nullptr);
        SetBellFunction(nullptr);
    }

    template <typename T> T* Add(int x = 30, int y = 30) {
        return testgui::AddElement<T>(main, x, y);
    }

    // The menu entry of that name of the element's type, with the element as the menu's userData.
    Widget Entry(AElement* element, const char* name) {
        Widget menu = main->GetPopupMenus().ForType(static_cast<int>(element->GetType()));
        if (menu == nullptr) return nullptr;
        XtVaSetValues(menu, XmNuserData, static_cast<XtPointer>(element), nullptr);
        WidgetList children = nullptr;
        Cardinal count = 0;
        XtVaGetValues(menu, XmNchildren, &children, XmNnumChildren, &count, nullptr);
        for (Cardinal i = 0; i < count; i++) {
            if (std::string(XtName(children[i])) == name) return children[i];
        }
        return nullptr;
    }
    void Choose(AElement* element, const char* name) {
        Widget entry = Entry(element, name);
        ASSERT_NE(entry, nullptr) << name;
        Click(entry);
        if (std::string(name) == "Modify ..." && element->GetModifyWindow() == nullptr) {
            // A type whose own editor is not there yet gets a plain one.
            RegisterModifyWindowMaker(element->GetType(),
                                      [](AElement& owner, FileArgument*) -> ElementView* {
                                          return new PlainModifyWindow(&owner);
                                      });
            Click(Entry(element, name));
        }
    }

    // The newest live "Modify" number dialog over the main window's shell.
    Widget NumberDialog() {
        Widget parent = main->GetShell();
        for (Cardinal i = parent->core.num_popups; i-- > 0;) {
            Widget shell = parent->core.popup_list[i];
            if (!shell->core.being_destroyed && std::string(XtName(shell)) == "Modify") {
                return shell;
            }
        }
        return nullptr;
    }
    static std::string Title(Widget shell) {
        char* title = nullptr;
        XtVaGetValues(shell, XmNtitle, &title, nullptr);
        return title != nullptr ? title : "";
    }
    static std::string Label(Widget label) { return testgui::LabelText(label); }
    static Widget Button(Widget parent, const char* label) {
        return testgui::ButtonLabelled(parent, label);
    }
    // Types value into the dialog's (first) field and presses its OK.
    void Answer(Widget dialog, const char* value) {
        Widget text = XtNameToWidget(dialog, "*Integer_Text");
        ASSERT_NE(text, nullptr);
        XmTextFieldSetString(text, const_cast<char*>(value));
        Click(Button(dialog, "OK"));
    }
    std::string FieldText(Widget dialog) {
        return testgui::TextOf(XtNameToWidget(dialog, "*Integer_Text"));
    }

    // The file dialog's OK on a path (relative to HOME).
    void FileOk(const std::string& file) {
        Widget dialog = GetFileDialog();
        ASSERT_TRUE(XtIsManaged(dialog));
        OwnedXmString path((dir + file).c_str());
        XmFileSelectionBoxCallbackStruct call{};
        call.reason = XmCR_OK;
        call.value = path.Get();
        call.length = XmStringLength(path.Get());
        RunInDispatch([&] { XtCallCallbacks(dialog, XmNokCallback, &call); });
    }
    static std::string FileDialogTitle() {
        return XtIsManaged(GetFileDialog()) ? Title(XtParent(GetFileDialog())) : "";
    }
    std::string Contents(const std::string& file) {
        std::ifstream in(dir + file);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Chooses one entry of the element's row and checks what it did; name is the name to set,
    // clocked tells whether a clock was set.
    void ChooseAndCheck(AElement* element, int item, const std::string& name, bool* clocked) {
        const uint32_t type = element->GetType();
        messages.clear();
        Choose(element, ElementMenuItemName(item));
        switch (item) {
            case kItemModify:
                EXPECT_NE(element->GetModifyWindow(), nullptr);
                element->CloseModifyWindow();
                break;
            case kItemShowData: {
                // All SPLIT outputs carry one plane: its window shows the first.
                const int index = type == kSplit ? 1 : 0;
                EXPECT_NE(element->GetShowDataWindow(index), nullptr);
                element->CloseShowDataWindow(index);
                break;
            }
            case kItemChangeDimension:
                if (type == kPerm) break; // PERM asks in a dialog of its own
                ASSERT_NE(element->GetDimensionDialog(), nullptr);
                EXPECT_EQ(Title(NumberDialog()), "Change Dimension");
                Click(Button(NumberDialog(), "Cancel"));
                EXPECT_EQ(element->GetDimensionDialog(), nullptr);
                break;
            case kItemSetTime:
                ASSERT_NE(NumberDialog(), nullptr);
                EXPECT_EQ(Title(NumberDialog()), "Set Time");
                Answer(NumberDialog(), "3");
                EXPECT_EQ(element->GetTime(), 3u);
                break;
            case kItemSetClock:
                ASSERT_NE(NumberDialog(), nullptr);
                EXPECT_EQ(Title(NumberDialog()), "Set Clock");
                Answer(NumberDialog(), "1");
                EXPECT_EQ(element->GetClock(), 1);
                *clocked = true;
                break;
            case kItemSetName: {
                SetNameDialog* dialog = dynamic_cast<SetNameDialog*>(element->GetSetNameDialog());
                ASSERT_NE(dialog, nullptr);
                XmTextFieldSetString(dialog->GetNameField(), const_cast<char*>(name.c_str()));
                Click(Button(dialog->GetShell(), "OK"));
                EXPECT_STREQ(element->GetName(), name.c_str());
                break;
            }
            case kItemLoad:
                EXPECT_EQ(FileDialogTitle(), "Open");
                FileDialogCancelCallback(GetFileDialog(), nullptr, nullptr);
                break;
            case kItemSave:
                if (!element->IsDefined()) {
                    EXPECT_EQ(messages,
                              std::vector<std::string>{"Error|Element is not yet defined!"});
                    break;
                }
                EXPECT_EQ(FileDialogTitle(), "Save As");
                FileOk(name + ".element");
                break;
            case kItemInputs:
            case kItemOutputs:
                ASSERT_NE(NumberDialog(), nullptr);
                Answer(NumberDialog(), "2");
                break;
            default:
                ADD_FAILURE() << "no such entry";
                break;
        }
    }

    MainWindow* main = nullptr;
    std::string dir;
};

} // namespace

TEST_F(ElementPopupMenuTest, EveryTypeHasItsMenuOnTheWorkingArea) {
    for (int type = 0; type < kElementMenuCount; type++) {
        SCOPED_TRACE(GetTypeName(type));
        Widget menu = main->GetPopupMenus().ForType(type);
        ASSERT_NE(menu, nullptr);
        EXPECT_STREQ(XtName(menu), "aelement_menu");
        WidgetList children = nullptr;
        Cardinal count = 0;
        XtVaGetValues(menu, XmNchildren, &children, XmNnumChildren, &count, nullptr);
        ASSERT_GE(count, 3u);
        EXPECT_STREQ(XtName(children[0]), GetTypeName(type));
        EXPECT_STREQ(XtName(children[1]), "Separator");
        EXPECT_STREQ(XtName(children[2]), "Separator");
        const int* row = ElementMenuRow(type);
        Cardinal next = 3;
        for (int i = 0; i < kMenuRowLength && row[i] != kItemEnd; i++, next++) {
            ASSERT_LT(next, count);
            EXPECT_STREQ(XtName(children[next]),
                         row[i] == kItemSeparator ? "Separator" : ElementMenuItemName(row[i]));
        }
        EXPECT_EQ(next, count);
    }
    Widget options = main->GetPopupMenus().background;
    ASSERT_NE(options, nullptr);
    EXPECT_STREQ(XtName(options), "option_popup");
    WidgetList children = nullptr;
    Cardinal count = 0;
    XtVaGetValues(options, XmNchildren, &children, XmNnumChildren, &count, nullptr);
    std::string names;
    for (Cardinal i = 0; i < count; i++)
        names += std::string(XtName(children[i])) + " ";
    EXPECT_EQ(names, "label_0 separator_0 separator_1 button_0 separator_2 button_1 button_2 ");
    EXPECT_EQ(Label(XtNameToWidget(options, "label_0")), "Options");
    EXPECT_EQ(Label(XtNameToWidget(options, "button_0")), "Working Area...");
    EXPECT_EQ(Label(XtNameToWidget(options, "button_1")), "Directories...");
    EXPECT_EQ(Label(XtNameToWidget(options, "button_2")), "Startup...");
    EXPECT_TRUE(XtIsSensitive(XtNameToWidget(options, "button_1")));
}

// Every entry of the row of every element type there is, chosen in turn; the element's fields and
// its saved file show what the entries did.
TEST_F(ElementPopupMenuTest, EveryEntryOfEveryRowDoesItsPart) {
    std::vector<AElement*> elements = {
        Add<AMaskElem>(),    Add<ARuleElem>(100),  Add<APermElem>(200),   Add<ASSeedElem>(300),
        Add<AJoinElem>(400), Add<AInputElem>(500), Add<AOutputElem>(600), Add<ASplitElem>(700)};
    for (AElement* element : elements) {
        const uint32_t type = element->GetType();
        SCOPED_TRACE(GetTypeName(type));
        const std::string name = std::string("n") + std::to_string(type);
        bool clocked = false;
        const int* row = ElementMenuRow(static_cast<int>(type));
        for (int i = 0; i < kMenuRowLength && row[i] != kItemEnd; i++) {
            const int item = row[i];
            if (item == kItemSeparator) continue;
            SCOPED_TRACE(ElementMenuItemName(item));
            ChooseAndCheck(element, item, name, &clocked);
            if (HasFatalFailure()) return;
            EXPECT_EQ(NumberDialog(), nullptr);
        }
        EXPECT_TRUE(element->IsModified());
        if (!element->IsDefined()) continue;
        // Saved after time, clock and name were set.
        const std::string saved = Contents(name + ".element");
        EXPECT_NE(saved.find("NAME:       " + name + "\n"), std::string::npos) << saved;
        EXPECT_NE(saved.find("TIME:       3\n"), std::string::npos) << saved;
        EXPECT_NE(saved.find(clocked ? "CLOCK:      1\n" : "CLOCK:      0\n"), std::string::npos)
            << saved;
    }
}

TEST_F(ElementPopupMenuTest, SetTimeTakesTheValueAndTheFileKeepsIt) {
    AMaskElem* mask = Add<AMaskElem>();
    Choose(mask, "Set Time ...");
    Widget dialog = NumberDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Title(dialog), "Set Time");
    EXPECT_EQ(Label(XtNameToWidget(dialog, "*label1")), "Time:");
    EXPECT_EQ(FieldText(dialog), "0");
    Answer(dialog, "42");
    EXPECT_EQ(NumberDialog(), nullptr);
    EXPECT_EQ(mask->GetTime(), 42u);
    EXPECT_TRUE(mask->IsModified());

    Choose(mask, "Save ...");
    EXPECT_EQ(FileDialogTitle(), "Save As");
    FileOk("timed.mask");
    EXPECT_NE(Contents("timed.mask").find("TIME:       42\n"), std::string::npos);

    // 0 is a time for every type but INPUT.
    Choose(mask, "Set Time ...");
    Answer(NumberDialog(), "0");
    EXPECT_EQ(mask->GetTime(), 0u);
    AInputElem* input = Add<AInputElem>(200);
    Choose(input, "Set Time ...");
    dialog = NumberDialog();
    Answer(dialog, "0");
    EXPECT_EQ(NumberDialog(), dialog);
    Answer(dialog, "1");
    EXPECT_EQ(input->GetTime(), 1u);
}

TEST_F(ElementPopupMenuTest, SetClockOffersNoClockOnlyWhereTheTypeMayHaveNone) {
    AOutputElem* output = Add<AOutputElem>();
    Choose(output, "Set Clock ...");
    Widget dialog = NumberDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Title(dialog), "Set Clock");
    EXPECT_EQ(Label(XtNameToWidget(dialog, "*label1")), "Clock:");
    Answer(dialog, "0");
    EXPECT_EQ(NumberDialog(), dialog); // 1 to 1 with one clock
    Answer(dialog, "2");
    EXPECT_EQ(NumberDialog(), dialog);
    Answer(dialog, "1");
    EXPECT_EQ(output->GetClock(), 1);
    EXPECT_FALSE(output->IsModified()); // the clock it had: nothing changed

    ASSERT_GE(AddClock(50, 5), 0);
    ASSeedElem* seed = Add<ASSeedElem>(200);
    Choose(seed, "Set Clock ...");
    dialog = NumberDialog();
    EXPECT_EQ(Label(XtNameToWidget(dialog, "*label1")), "Clock:\n(0 means no clock)");
    Answer(dialog, "2");
    EXPECT_EQ(seed->GetClock(), 2);
    EXPECT_TRUE(seed->IsModified());
    Choose(seed, "Set Clock ...");
    Answer(NumberDialog(), "0");
    EXPECT_EQ(seed->GetClock(), 0);

    // Without a clock there is nothing to choose.
    GetClocks().Clear();
    Choose(seed, "Set Clock ...");
    EXPECT_EQ(NumberDialog(), nullptr);
    EXPECT_EQ(testgui::BellCount(), 1);
}

TEST_F(ElementPopupMenuTest, CancelChangesNothing) {
    AMaskElem* mask = Add<AMaskElem>();
    Choose(mask, "Set Time ...");
    Widget dialog = NumberDialog();
    XmTextFieldSetString(XtNameToWidget(dialog, "*Integer_Text"), const_cast<char*>("7"));
    Click(Button(dialog, "Cancel"));
    EXPECT_EQ(mask->GetTime(), 0u);
    EXPECT_FALSE(mask->IsModified());
}

TEST_F(ElementPopupMenuTest, PortsOfSplitAndJoin) {
    ASplitElem* split = Add<ASplitElem>(30, 30);
    Choose(split, "1:n");
    Widget dialog = NumberDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Title(dialog), "Set Outputs");
    EXPECT_EQ(Label(XtNameToWidget(dialog, "*label1")), "New Outputs:");
    EXPECT_EQ(FieldText(dialog), "2");
    Answer(dialog, "1");
    EXPECT_EQ(NumberDialog(), dialog); // at least 2
    Answer(dialog, "5");
    EXPECT_EQ(split->GetOutputCount(), 5);
    EXPECT_EQ(split->GetInputCount(), 1);
    EXPECT_TRUE(split->IsModified());

    AJoinElem* join = Add<AJoinElem>(300, 30);
    Choose(join, "n:1");
    dialog = NumberDialog();
    EXPECT_EQ(Title(dialog), "Set Inputs");
    EXPECT_EQ(Label(XtNameToWidget(dialog, "*label1")), "New Inputs:");
    Answer(dialog, "3");
    EXPECT_EQ(join->GetInputCount(), 3);
    EXPECT_EQ(join->GetOutputCount(), 1);

    // A neighbour below: the taller icon would overlap it, the count stays, the mark is set.
    main->ClearModified();
    Add<AMaskElem>(300, 120);
    Choose(join, "n:1");
    Answer(NumberDialog(), "9");
    EXPECT_EQ(join->GetInputCount(), 3);
    EXPECT_TRUE(join->IsModified());
}

TEST_F(ElementPopupMenuTest, SetNameSurvivesSaveAndLoad) {
    AMaskElem* mask = Add<AMaskElem>();
    Choose(mask, "Set Name ...");
    SetNameDialog* dialog = dynamic_cast<SetNameDialog*>(mask->GetSetNameDialog());
    ASSERT_NE(dialog, nullptr);
    XmTextFieldSetString(dialog->GetNameField(), const_cast<char*>("edge#1  "));
    XmTextFieldSetString(dialog->GetCommentField(), const_cast<char*>("# keeps # signs"));
    Click(Button(dialog->GetShell(), "OK"));
    ASSERT_EQ(mask->GetSetNameDialog(), nullptr);
    EXPECT_STREQ(mask->GetName(), "edge#1  ");
    mask->GetData().GetMask().SetBit(3, 4, 0);

    Choose(mask, "Save ...");
    FileOk("named.mask");
    const std::string saved = Contents("named.mask");
    EXPECT_NE(saved.find("NAME:       edge#1  \n"), std::string::npos) << saved;

    AMaskElem* other = Add<AMaskElem>(200);
    Choose(other, "Load ...");
    EXPECT_EQ(FileDialogTitle(), "Open");
    FileOk("named.mask");
    EXPECT_STREQ(other->GetName(), "edge#1  ");
    EXPECT_STREQ(other->GetComment(), "# keeps # signs");
    EXPECT_EQ(other->GetData().GetMask()(3, 4), 0);
    EXPECT_EQ(other->GetData().GetMask()(3, 5), 1);
    EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST_F(ElementPopupMenuTest, LoadOverAnOpenModifyWindowAsksFirst) {
    AMaskElem* mask = Add<AMaskElem>();
    Choose(mask, "Modify ...");
    ASSERT_NE(mask->GetModifyWindow(), nullptr);
    nextAnswer = kResultNo;
    Choose(mask, "Load ...");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Warning|Changes in the 'Modify'-Window will be discarded\nContinue?");
    EXPECT_NE(mask->GetModifyWindow(), nullptr);
    EXPECT_EQ(FileDialogTitle(), "");

    nextAnswer = kResultYes;
    Choose(mask, "Load ...");
    EXPECT_EQ(mask->GetModifyWindow(), nullptr);
    EXPECT_EQ(FileDialogTitle(), "Open");
    FileDialogCancelCallback(GetFileDialog(), nullptr, nullptr);
}

TEST_F(ElementPopupMenuTest, SaveOfAnUndefinedElementWarns) {
    ARuleElem* rule = Add<ARuleElem>();
    ASSERT_FALSE(rule->IsDefined());
    Choose(rule, "Save ...");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error|Element is not yet defined!");
    EXPECT_EQ(FileDialogTitle(), "");
}

TEST_F(ElementPopupMenuTest, ChangeDimensionResizesThePlanes) {
    AMaskElem* mask = Add<AMaskElem>();
    Choose(mask, "Change Dimension ...");
    Widget dialog = NumberDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Title(dialog), "Change Dimension");
    XmTextFieldSetString(XtNameToWidget(dialog, "*Integer_Text"), const_cast<char*>("20"));
    nextAnswer = kResultYes;
    Click(Button(dialog, "OK"));
    EXPECT_EQ(messages.back(), "Warning|All data of the element will be lost!\nContinue?");
    EXPECT_EQ(mask->GetInputPlaneWidth(0), 20);
    EXPECT_EQ(mask->GetOutputPlaneWidth(0), 20);
}

TEST_F(ElementPopupMenuTest, ADeletedElementIgnoresItsOpenDialog) {
    AMaskElem* mask = Add<AMaskElem>();
    Choose(mask, "Set Time ...");
    Widget dialog = NumberDialog();
    ASSERT_NE(dialog, nullptr);
    delete mask; // takes itself out of the window's list
    Answer(dialog, "5");
    EXPECT_EQ(NumberDialog(), nullptr);
}

TEST_F(ElementPopupMenuTest, TheBackgroundMenuOpensTheOptionDialogs) {
    Widget options = main->GetPopupMenus().background;
    XtVaSetValues(options, XmNuserData, static_cast<XtPointer>(main), nullptr);
    Click(XtNameToWidget(options, "button_0"));
    EXPECT_NE(main->GetWorkingAreaOptionsDialog(), nullptr);
    Click(XtNameToWidget(options, "button_1"));
    EXPECT_NE(main->GetDirectoriesDialog(), nullptr);
    Click(XtNameToWidget(options, "button_2"));
    EXPECT_NE(main->GetStartupDialog(), nullptr);
    delete main->GetWorkingAreaOptionsDialog();
    delete main->GetDirectoriesDialog();
    delete main->GetStartupDialog();
    Flush();
    EXPECT_EQ(main->GetWorkingAreaOptionsDialog(), nullptr);
}

// Under ASan: a MASK with every window open is deleted, loaded from a file of another plane size
// and has its windows closed, in every order, through the menus and the window manager.
TEST_F(ElementPopupMenuTest, WindowsSurviveEveryOrderOfDeleteLoadAndClose) {
    {
        AMaskElem* source = Add<AMaskElem>(600, 600);
        source->SetOutputPlaneSize(0, 8, 8);
        source->SetInputPlaneSize(0, 8, 8);
        source->DimensionChanged();
        Choose(source, "Save ...");
        FileOk("small.mask");
        ASSERT_NE(Contents("small.mask").find("(8,8)"), std::string::npos);
        main->GetElements().Remove(source);
        delete source;
    }
    enum { kDelete, kLoad, kCloseModify, kCloseShowData, kCancelName, kSteps };
    std::vector<int> order = {0, 1, 2, 3, 4};
    nextAnswer = kResultYes;
    int orders = 0;
    do {
        AMaskElem* mask = Add<AMaskElem>();
        for (const char* entry : {"Modify ...", "Show Data ...", "Set Name ..."}) {
            Choose(mask, entry);
        }
        ASSERT_NE(mask->GetModifyWindow(), nullptr);
        ASSERT_NE(mask->GetShowDataWindow(0), nullptr);
        ASSERT_NE(mask->GetSetNameDialog(), nullptr);
        for (int step : order) {
            if (mask == nullptr) break;
            switch (step) {
                case kDelete:
                    delete mask;
                    mask = nullptr;
                    break;
                case kLoad:
                    Choose(mask, "Load ...");
                    FileOk("small.mask");
                    EXPECT_EQ(mask->GetOutputPlaneWidth(0), 8);
                    EXPECT_EQ(mask->GetModifyWindow(), nullptr);
                    break;
                case kCloseModify:
                    if (mask->GetModifyWindow() != nullptr) {
                        SendClose(
                            dynamic_cast<AElementWindow*>(mask->GetModifyWindow())->GetShell());
                    }
                    break;
                case kCloseShowData:
                    if (mask->GetShowDataWindow(0) != nullptr) {
                        SendClose(
                            dynamic_cast<AElementWindow*>(mask->GetShowDataWindow(0))->GetShell());
                    }
                    break;
                case kCancelName:
                    if (mask->GetSetNameDialog() != nullptr) {
                        Click(Button(
                            dynamic_cast<SetNameDialog*>(mask->GetSetNameDialog())->GetShell(),
                            "Cancel"));
                    }
                    break;
                default:
                    break;
            }
            Flush();
        }
        delete mask;
        Flush();
        orders++;
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(orders, 120);
}

// The LOGIC element's own entry opens its external data, once it has external names.
TEST_F(ElementPopupMenuTest, ModifyExternalDataOpensTheLogicElementsWindow) {
    ALogicElem* logic = Add<ALogicElem>();
    Choose(logic, "Modify External Data...");
    EXPECT_EQ(logic->GetExternalDataWindow(), nullptr);
    logic->GetData().SetExternalNames({"e"});
    Choose(logic, "Modify External Data...");
    EXPECT_NE(logic->GetExternalDataWindow(), nullptr);
    main->Clear();
    Flush();
}
