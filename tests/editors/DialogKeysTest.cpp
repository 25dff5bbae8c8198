// Escape and Return at the keyboard, through the X server, in every kind of the editors' windows:
// each modify window, the number dialogs and Set Name. Escape must do what Cancel does and Return
// what the default button does; buttons are watched by an extra activate callback.

// gtest first: Xlib defines None.
#include <gtest/gtest.h>

#include "toolkit/DialogKeys.h"

#include <Xm/List.h>
#include <Xm/Scale.h>
#include <Xm/ToggleB.h>
#include <Xm/ToggleBG.h>
#include <Xm/Xm.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "AMaskModifyWindowTest.h"
#include "EditorsTestSupport.h"
#include "ModifyWindowKinds.h"
#include "editors/ModifyTwoValuesDialog.h"
#include "editors/ModifyValueDialog.h"
#include "editors/SetNameDialog.h"
#include "toolkit/ReadInt.h"

namespace {

struct Key {
    const char* keys;
    const char* pressed; // the button the key must press
};

const Key kKeys[] = {{"Escape", "Cancel"}, {"Return", "OK"}};

// The first toggle, scale or list below w that takes the focus: a widget whose Return means
// nothing of its own.
Widget QuietWidget(Widget w) {
    if (XmIsScale(w)) return w; // its scroll bar takes the focus
    if ((XmIsToggleButton(w) || XmIsToggleButtonGadget(w) || XmIsList(w)) && XmIsTraversable(w)) {
        return w;
    }
    if (!XtIsComposite(w)) return nullptr;
    WidgetList children = nullptr;
    Cardinal count = 0;
    XtVaGetValues(w, XmNchildren, &children, XmNnumChildren, &count, nullptr);
    for (Cardinal i = 0; i < count; ++i) {
        if (!XtIsManaged(children[i])) continue;
        if (Widget found = QuietWidget(children[i])) return found;
    }
    return nullptr;
}

class DialogKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (Editors().display == nullptr) GTEST_SKIP() << "no X server";
        if (std::system("command -v xdotool > /dev/null") != 0) GTEST_SKIP() << "no xdotool";
    }
    void TearDown() override { Flush(); }

    // Presses keys in shell and returns how often the button labelled pressed was activated.
    static int PressesOf(Widget shell, const char* keys, const char* pressed) {
        Widget button = ActionButtonOf(shell, pressed);
        EXPECT_NE(button, nullptr) << pressed;
        if (button == nullptr) return -1;
        bool keysPressed = false;
        const int count = testgui::ActivationsByKeys(shell, button, keys, Flush, keysPressed);
        EXPECT_TRUE(keysPressed);
        return count;
    }
};

// With the focus where the window puts it (Escape) or on a toggle or scale (Return).
TEST_F(DialogKeysTest, EscapeCancelsAndReturnOksEveryModifyWindow) {
    for (const WindowKind& kind : kWindows) {
        for (const Key& key : kKeys) {
            SCOPED_TRACE(std::string(kind.what) + " " + key.keys);
            MakerScope maker(kind.type, kind.maker);
            std::unique_ptr<AElement> element(kind.make());
            element->OpenModifyWindow();
            Flush();
            auto* window = dynamic_cast<AElementModifyWindow*>(element->GetModifyWindow());
            ASSERT_NE(window, nullptr);
            Widget shell = window->GetShell();
            // RULE and LOGIC windows ask for a dimension first: the keys are the dialog's then.
            // Its fields show 0 to begin with, which Return must refuse: 1 by 1 is typed first.
            bool dimensioned = false;
            for (Widget dialog : testgui::PopupsNamed(shell, "Modify")) {
                dimensioned = true;
                const bool ok = std::string(key.keys) == "Return";
                ASSERT_TRUE(testgui::RealKeys(
                    dialog, ok ? "End BackSpace 1 Tab End BackSpace 1 Return" : key.keys));
                Flush();
                // Cancelled, the window goes too, and its shell with the dialog.
                const bool windowStays = element->GetModifyWindow() != nullptr;
                EXPECT_EQ(windowStays, ok);
                if (windowStays) {
                    EXPECT_FALSE(IsLivePopup(shell, dialog));
                }
            }
            if (element->GetModifyWindow() == nullptr) continue; // no dimension, no window
            if (std::string(key.keys) == "Return") {
                // A push button with the focus is pressed by Return, and the code text of a C++
                // window keeps Return; the C++ window has no other place for the focus.
                Widget quiet = QuietWidget(shell);
                if (quiet == nullptr) {
                    EXPECT_EQ(kind.type, static_cast<uint32_t>(kCElem));
                    element->CloseModifyWindow();
                    continue;
                }
                ASSERT_TRUE(XmProcessTraversal(quiet, XmTRAVERSE_CURRENT));
            } else if (kind.type == kCElem) {
                // The code text, where the focus starts, keeps Escape: the window stays; from a
                // button of the window Escape cancels.
                ASSERT_TRUE(testgui::RealKeys(shell, "Escape"));
                Flush();
                EXPECT_EQ(element->GetModifyWindow(), window);
                XmProcessTraversal(ActionButtonOf(shell, "Apply"), XmTRAVERSE_CURRENT);
            }
            // A LOGIC window offers OK only once its lists are defined: an insensitive default
            // button is not pressed.
            const bool offered = XtIsSensitive(ActionButtonOf(shell, key.pressed));
            EXPECT_EQ(PressesOf(shell, key.keys, key.pressed), offered ? 1 : 0);
            EXPECT_EQ(element->GetModifyWindow() == nullptr, offered);
            EXPECT_TRUE(offered || kind.type == kLogic);
            if (!dimensioned) {
                EXPECT_FALSE(element->IsModified());
            }
            element->CloseModifyWindow();
            Flush();
        }
    }
}

struct Answer {
    int calls = 0;
    int cancelled = -1;
};

void OneValue(int cancelled, int, void* client) {
    Answer* answer = static_cast<Answer*>(client);
    answer->calls++;
    answer->cancelled = cancelled;
}

void TwoValues(int cancelled, int, int, void* client) {
    OneValue(cancelled, 0, client);
}

// The focus in the first field, as the dialog opens, and in the second.
TEST_F(DialogKeysTest, EscapeCancelsAndReturnOksTheNumberDialogs) {
    for (bool two : {false, true}) {
        for (const char* before : {"", "Tab "}) {
            for (const Key& key : kKeys) {
                SCOPED_TRACE(std::string(two ? "two values " : "one value ") + before + key.keys);
                Answer answer;
                Widget shell = nullptr;
                if (two) {
                    shell = (new ModifyTwoValuesDialog(Editors().topLevel, "Add Clock", "Time:", 1,
                                                       1, 999999, "Offset:", 0, 0, 999999,
                                                       TwoValues, &answer, 0))
                                ->GetShell();
                } else {
                    shell = (new ModifyValueDialog(Editors().topLevel, "Set Time", "Time:", 5, 0,
                                                   999999, OneValue, &answer))
                                ->GetShell();
                }
                Flush();
                // Return in a field is the dialog's OK itself, not a press of the button.
                const std::string keys = std::string(before) + key.keys;
                ASSERT_TRUE(testgui::RealKeys(shell, keys.c_str()));
                Flush();
                EXPECT_EQ(answer.calls, 1);
                EXPECT_EQ(answer.cancelled, key.pressed[0] == 'C' ? 1 : 0);
                EXPECT_FALSE(IsLivePopup(Editors().topLevel, shell));
            }
        }
    }
}

// Return in either text field, and Escape there, of the Set Name dialog.
TEST_F(DialogKeysTest, EscapeCancelsAndReturnOksSetName) {
    for (const char* before : {"", "Tab "}) {
        for (const Key& key : kKeys) {
            SCOPED_TRACE(std::string(before) + key.keys);
            ATestElem element;
            element.OpenSetNameDialog();
            auto* dialog = dynamic_cast<SetNameDialog*>(element.GetSetNameDialog());
            ASSERT_NE(dialog, nullptr);
            Flush();
            testgui::SetTextOf(dialog->GetNameField(), "ab");
            // Return in a field is the dialog's OK itself, not a press of the button.
            const std::string keys = std::string(before) + key.keys;
            ASSERT_TRUE(testgui::RealKeys(dialog->GetShell(), keys.c_str()));
            Flush();
            EXPECT_EQ(element.GetSetNameDialog(), nullptr);
            EXPECT_STREQ(element.GetName(), key.pressed[0] == 'O' ? "ab" : "MASK");
        }
    }
}

// Tab into a number field selects its digits, so typing replaces them: 1024
// over 8.
TEST_F(DialogKeysTest, TabThenTypingReplacesTheNumber) {
    Answer answer;
    auto* dialog =
        new ModifyTwoValuesDialog(Editors().topLevel, "Change Dimension", "X-Dimension:", 16, 1,
                                  9999, "Y-Dimension:", 8, 1, 9999, TwoValues, &answer, 0);
    Widget shell = dialog->GetShell();
    Flush();
    ASSERT_TRUE(testgui::RealKeys(shell, "Tab 1 0 2 4"));
    std::vector<Widget> fields = testgui::FindAll(shell, "ReadInt");
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(testgui::TextOf(fields[1]), "1024");
    // And back with Shift-Tab: the first field's digits are replaced too.
    ASSERT_TRUE(testgui::RealKeys(shell, "shift+Tab 3 2"));
    EXPECT_EQ(testgui::TextOf(fields[0]), "32");
    // Typing over the selection is filtered as typing anywhere is: a letter leaves the digits.
    ASSERT_TRUE(testgui::RealKeys(shell, "Tab a"));
    EXPECT_EQ(testgui::TextOf(fields[1]), "1024");
    ASSERT_TRUE(testgui::RealKeys(shell, "Escape"));
    EXPECT_EQ(answer.calls, 1);
}

} // namespace
