// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "shell/WorkingAreaInput.h"

#include <X11/keysym.h>
#include <Xm/RowColumn.h>

#include "tests/shell/editing/EditingGui.h"

namespace {

class WorkingAreaFixture : public EditingFixture {
protected:
    void Send(XEvent event) { HandleWorkingAreaEvent(main(), main().GetCadArea(), event); }
    void Press(int x, int y, unsigned int button = Button1, unsigned int state = 0) {
        Send(Event(ButtonPress, x, y, button, state));
    }
    void Release(int x, int y) { Send(Event(ButtonRelease, x, y)); }
    void Move(int x, int y, unsigned int state = Button1Mask) {
        Send(Event(MotionNotify, x, y, 0, state));
    }
    void Key(KeySym symbol) {
        XEvent event = {};
        Widget area = main().GetCadArea();
        event.xkey.type = KeyPress;
        event.xkey.display = XtDisplay(area);
        event.xkey.window = XtWindow(area);
        event.xkey.keycode = XKeysymToKeycode(XtDisplay(area), symbol);
        Send(event);
    }
    int Selected() { return main().GetSelection().GetCount(); }
};

using WorkingAreaInput = WorkingAreaFixture;

} // namespace

TEST_F(WorkingAreaInput, AClickSelectsNothingAndAShiftClickToggles) {
    AElement* a = Place(450, 315);
    Press(480, 330);
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(IsDragArmed(), 1);
    Release(480, 330);
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(a->IsMarked(), 0);
    EXPECT_EQ(IsDragArmed(), 0);
    Press(480, 330, Button1, ShiftMask);
    Release(480, 330);
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(a->IsMarked(), 1);
    EXPECT_EQ(IsDragArmed(), 0);
    Press(480, 330, Button1, ShiftMask);
    EXPECT_EQ(Selected(), 0);
    Release(480, 330);
}

TEST_F(WorkingAreaInput, ARubberBandSelectsWhatItTouchesAndDeleteWaitsForIt) {
    Place(450, 315);
    Place(600, 315);
    Place(600, 600);
    Press(440, 300);
    EXPECT_EQ(IsRubberBandActive(), 1);
    Move(610, 320);
    Key(XK_Delete); // ignored while the band is drawn
    EXPECT_EQ(main().GetElements().GetCount(), 3);
    Release(610, 320);
    EXPECT_EQ(IsRubberBandActive(), 0);
    EXPECT_EQ(Selected(), 2);
    Key(XK_BackSpace);
    EXPECT_EQ(main().GetElements().GetCount(), 1);
    EXPECT_EQ(Selected(), 0);
    Key(XK_Delete); // an empty selection: nothing happens
    EXPECT_EQ(main().GetElements().GetCount(), 1);
}

TEST_F(WorkingAreaInput, TheWheelOpensNoMenu) {
    Widget menu =
        XmCreatePopupMenu(main().GetCadArea(), const_cast<char*>("test_popup"), nullptr, 0);
    Widget previous = main().GetPopupMenus().background;
    main().GetPopupMenus().background = menu;
    Press(100, 100, Button4);
    Press(100, 100, Button5);
    EXPECT_FALSE(XtIsManaged(menu));
    Press(100, 100, Button3);
    EXPECT_TRUE(XtIsManaged(menu));
    XtUnmanageChild(menu);
    Process();
    main().GetPopupMenus().background = previous;
    XtDestroyWidget(menu);
}

TEST_F(WorkingAreaInput, TheMiddleButtonOpensOneOptionsDialog) {
    EXPECT_EQ(main().GetWorkingAreaOptionsDialog(), nullptr);
    Press(100, 100, Button2);
    WorkingAreaOptionsDialog* dialog = main().GetWorkingAreaOptionsDialog();
    EXPECT_NE(dialog, nullptr);
    Press(100, 100, Button2);
    EXPECT_EQ(main().GetWorkingAreaOptionsDialog(), dialog);
}

TEST_F(WorkingAreaInput, TheFooterNamesTheElementUnderThePointer) {
    AElement* a = Place(450, 315);
    struct Case {
        const char* name;
        const char* comment;
        const char* text;
    };
    const Case kCases[] = {
        {"MASK", "", "MASK"}, {"Filter", "left half", "Filter: left half"}, {"", "only", "only"}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        a->SetName(c.name);
        a->SetComment(c.comment);
        EXPECT_EQ(ElementFooterText(*a), c.text);
    }
}
