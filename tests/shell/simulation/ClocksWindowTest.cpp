// gtest comes first: the X headers define None, which gtest uses as a name.
#include <gtest/gtest.h>

#include "shell/ClocksWindow.h"

#include <Xm/List.h>
#include <Xm/Xm.h>

#include <string>
#include <vector>

#include "ShellFixture.h"
#include "model/data/ClockList.h"
#include "model/elements/AMaskElem.h"
#include "shell/LibraryWindow.h"
#include "shell/MainWindow.h"
#include "shell/SimulationBoxWindow.h"
#include "toolkit/OwnedXmString.h"

namespace {

const char* const kUsedQuestion =
    " |This clock is assigned to one or more element(s)!\nDo you want to replace it by the first "
    "clock within these elements?\n\nNote: This automatically implies pressing the 'Apply' "
    "button. ";
const char* const kUnusedQuestion =
    " |Note: This automatically implies pressing the 'Apply' button.\n\nContinue?";

class Clocks : public ::testing::Test {
protected:
    void SetUp() override {
        if (Shell().main == nullptr) GTEST_SKIP() << "no X server";
        main = Shell().main;
        window = main->GetClocksWindow();
        ASSERT_NE(window, nullptr);
        ResetClocks();
        Messages().clear();
    }
    void TearDown() override {
        if (window != nullptr) window->Hide();
    }

    std::vector<std::string> Items() {
        std::vector<std::string> items;
        XmStringTable table = nullptr;
        int count = 0;
        XtVaGetValues(window->GetList(), XmNitems, &table, XmNitemCount, &count, nullptr);
        for (int i = 0; i < count; i++) {
            char* text = nullptr;
            if (XmStringGetLtoR(table[i], const_cast<char*>(XmFONTLIST_DEFAULT_TAG), &text)) {
                items.push_back(text);
                XtFree(text);
            }
        }
        return items;
    }
    void Select(int position) { XmListSelectPos(window->GetList(), position, False); }

    // Answers the open "Add Clock" or "Modify Clock" dialog with OK and the two values.
    void AnswerNumbers(const char* title, const char* first, const char* second) {
        std::vector<Widget> dialogs = FindAll(window->GetShell(), "Modify");
        ASSERT_EQ(dialogs.size(), 1u);
        char* shown = nullptr;
        XtVaGetValues(dialogs[0], XmNtitle, &shown, nullptr);
        EXPECT_STREQ(shown, title);
        std::vector<Widget> fields = FindAll(dialogs[0], "ReadInt");
        ASSERT_EQ(fields.size(), 2u);
        if (first != nullptr) SetTextOf(fields[0], first);
        if (second != nullptr) SetTextOf(fields[1], second);
        Press(FindAll(dialogs[0], "ActionButton")[0]);
        Flush();
    }

    AMaskElem* Element(int clock) {
        auto* element = new AMaskElem(main, 30 * main->GetElements().GetCount(), 30);
        element->CreateData();
        element->SetClock(clock);
        main->GetElements().Add(element);
        return element;
    }

    MainWindow* main = nullptr;
    ClocksWindow* window = nullptr;
};

TEST_F(Clocks, NewArchitectureListsItsOneClockWhichStays) {
    window->Show();
    EXPECT_EQ(Items(), std::vector<std::string>{"T=100, O=0"});
    char* title = nullptr;
    XtVaGetValues(window->GetShell(), XmNtitle, &title, nullptr);
    EXPECT_STREQ(title, "Clocks");
    EXPECT_STREQ(XtName(window->GetShell()), "ModifyClocks");

    Press(Find(window->GetShell(), " Del "));
    Select(1);
    Press(Find(window->GetShell(), " Del "));
    const std::vector<std::string> expected = {" |No clock selected!",
                                               " |One clock needs to be left!"};
    EXPECT_EQ(Messages(), expected);
    EXPECT_EQ(GetClockCount(), 1);
}

TEST_F(Clocks, ModifyWithNothingSelectedOpensNoDialog) {
    window->Show();
    Press(Find(window->GetShell(), " Modify "));
    EXPECT_EQ(Messages(), std::vector<std::string>{" |No clock selected!"});
    EXPECT_TRUE(FindAll(window->GetShell(), "Modify").empty());
}

TEST_F(Clocks, CancelDropsAnAddition) {
    window->Show();
    Press(window->GetAddButton());
    AnswerNumbers("Add Clock", "50", "5");
    EXPECT_EQ(Items(), (std::vector<std::string>{"T=100, O=0", "T=50, O=5"}));
    EXPECT_EQ(GetClockCount(), 1);
    Press(FindAll(window->GetShell(), "ActionButton")[2]); // Cancel
    EXPECT_EQ(GetClockCount(), 1);
    window->Show();
    EXPECT_EQ(Items(), std::vector<std::string>{"T=100, O=0"});
}

TEST_F(Clocks, ApplyAndOkCommitToTheTableAndTheSimulationBox) {
    window->Show();
    Press(window->GetAddButton());
    AnswerNumbers("Add Clock", "50", "5");
    Select(1);
    Press(Find(window->GetShell(), " Modify "));
    // The dialog shows the selected clock.
    std::vector<Widget> fields = FindAll(FindAll(window->GetShell(), "Modify")[0], "ReadInt");
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(TextOf(fields[0]), "100");
    EXPECT_EQ(TextOf(fields[1]), "0");
    AnswerNumbers("Modify Clock", "200", "7");
    EXPECT_EQ(GetClockPeriod(0), 100u);                    // not before Apply
    Press(FindAll(window->GetShell(), "ActionButton")[1]); // Apply
    ASSERT_EQ(GetClockCount(), 2);
    EXPECT_EQ(GetClockPeriod(0), 200u);
    EXPECT_EQ(GetClockOffset(0), 7u);
    EXPECT_EQ(main->GetSimulationBox()->GetClockItemCount(), 2);

    Press(window->GetAddButton());
    AnswerNumbers("Add Clock", "0", nullptr); // 0 is below the limit: the dialog stays
    ASSERT_EQ(FindAll(window->GetShell(), "Modify").size(), 1u);
    AnswerNumbers("Add Clock", "3", "999999");
    Press(FindAll(window->GetShell(), "ActionButton")[0]); // OK
    EXPECT_EQ(GetClockCount(), 3);
    EXPECT_EQ(GetClockOffset(2), 999999u);
    EXPECT_EQ(main->GetSimulationBox()->GetClockItemCount(), 3);
}

TEST_F(Clocks, DeleteTakesEffectAtOnceWithTheChangesBeforeIt) {
    window->Show();
    Press(window->GetAddButton());
    AnswerNumbers("Add Clock", "50", "5");
    Select(1);
    Answer({kResultYes});
    Press(Find(window->GetShell(), " Del "));
    EXPECT_EQ(Messages(), std::vector<std::string>{kUnusedQuestion});
    ASSERT_EQ(GetClockCount(), 1);
    EXPECT_EQ(GetClockPeriod(0), 50u);
    EXPECT_EQ(Items(), std::vector<std::string>{"T=50, O=5"});

    // No keeps everything.
    Press(window->GetAddButton());
    AnswerNumbers("Add Clock", "60", "6");
    Select(2);
    Answer({kResultNo});
    Press(Find(window->GetShell(), " Del "));
    EXPECT_EQ(GetClockCount(), 1);
    EXPECT_EQ(Items().size(), 2u);
}

TEST_F(Clocks, ElementsKeepTheirClocksWhenOneIsDeleted) {
    AddClock(200, 0);
    AddClock(300, 0);
    AddClock(400, 0);
    AMaskElem* none = Element(0);
    AMaskElem* first = Element(1);
    AMaskElem* second = Element(2);
    AMaskElem* third = Element(3);
    AMaskElem* fourth = Element(4);
    LibraryWindow* library = main->GetLibraryWindow();
    auto* stored = new AMaskElem(library, 10, 10);
    stored->CreateData();
    stored->SetClock(3);
    library->GetElements().Add(stored);
    main->GetSelectedClock() = 3; // clock 4
    window->Show();
    Select(2);
    Answer({kResultYes});
    Press(Find(window->GetShell(), " Del "));
    EXPECT_EQ(Messages(), std::vector<std::string>{kUsedQuestion});
    ASSERT_EQ(GetClockCount(), 3);
    EXPECT_EQ(none->GetClock(), 0);
    EXPECT_EQ(first->GetClock(), 1);
    EXPECT_EQ(second->GetClock(), 1); // the deleted clock's elements go to the first clock
    EXPECT_EQ(third->GetClock(), 2);  // the others keep their clocks under the new numbers
    EXPECT_EQ(GetClockPeriod(third->GetClock() - 1), 300u);
    EXPECT_EQ(fourth->GetClock(), 3);
    EXPECT_EQ(GetClockPeriod(fourth->GetClock() - 1), 400u);
    EXPECT_EQ(main->GetSelectedClock(), 2); // still the clock of period 400
    EXPECT_EQ(stored->GetClock(), 2);       // library elements too
    main->Clear();
    library->Clear();
}

TEST_F(Clocks, NewArchitectureHidesTheWindowAndDropsItsChanges) {
    window->Show();
    Press(window->GetAddButton());
    AnswerNumbers("Add Clock", "50", "5");
    ASSERT_EQ(main->New(16, 16, 0), 1);
    EXPECT_FALSE(XtIsManaged(window->GetShell()));
    EXPECT_EQ(GetClockCount(), 1);
    window->Show();
    EXPECT_EQ(Items(), std::vector<std::string>{"T=100, O=0"});
}

} // namespace
