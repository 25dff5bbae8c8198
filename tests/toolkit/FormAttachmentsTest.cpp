// gtest before the X headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "toolkit/FormAttachments.h"

#include "ToolkitDisplay.h"

#include <X11/Shell.h>
#include <Xm/Form.h>
#include <Xm/PushB.h>

namespace {

class FormAttachmentsGui : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Toolkit().display, nullptr) << "no X display";
        shell = XtVaCreatePopupShell("attach_shell", topLevelShellWidgetClass, Toolkit().topLevel,
                                     nullptr);
        form = XtVaCreateManagedWidget("form", xmFormWidgetClass, shell, XmNmarginWidth, 7,
                                       XmNfractionBase, 4, nullptr);
        above = XtVaCreateManagedWidget("above", xmPushButtonWidgetClass, form, nullptr);
        child = XtVaCreateManagedWidget("child", xmPushButtonWidgetClass, form, nullptr);
    }

    void TearDown() override { XtDestroyWidget(shell); }

    // The attachment, widget, position and offset of one side, by its resource names.
    struct Read {
        unsigned char attachment = 0;
        Widget widget = nullptr;
        int position = -1;
        int offset = -1;
    };

    Read Side(const char* attachment, const char* widget, const char* position,
              const char* offset) const {
        Read r;
        XtVaGetValues(child, attachment, &r.attachment, widget, &r.widget, position, &r.position,
                      offset, &r.offset, nullptr);
        return r;
    }

    Read Top() const { return Side(XmNtopAttachment, XmNtopWidget, XmNtopPosition, XmNtopOffset); }
    Read Bottom() const {
        return Side(XmNbottomAttachment, XmNbottomWidget, XmNbottomPosition, XmNbottomOffset);
    }
    Read Left() const {
        return Side(XmNleftAttachment, XmNleftWidget, XmNleftPosition, XmNleftOffset);
    }
    Read Right() const {
        return Side(XmNrightAttachment, XmNrightWidget, XmNrightPosition, XmNrightOffset);
    }

    Widget shell = nullptr;
    Widget form = nullptr;
    Widget above = nullptr;
    Widget child = nullptr;
};

TEST_F(FormAttachmentsGui, SetsEachNamedSideWithItsWidgetPositionAndOffset) {
    Attach(child)
        .Top(ToWidget(above, 3))
        .Bottom(ToOppositeWidget(above))
        .Left(ToPosition(1, 2))
        .Right(ToForm(9));
    EXPECT_EQ(Top().attachment, XmATTACH_WIDGET);
    EXPECT_EQ(Top().widget, above);
    EXPECT_EQ(Top().offset, 3);
    EXPECT_EQ(Bottom().attachment, XmATTACH_OPPOSITE_WIDGET);
    EXPECT_EQ(Bottom().widget, above);
    EXPECT_EQ(Left().attachment, XmATTACH_POSITION);
    EXPECT_EQ(Left().position, 1);
    EXPECT_EQ(Left().offset, 2);
    EXPECT_EQ(Right().attachment, XmATTACH_FORM);
    EXPECT_EQ(Right().offset, 9);
}

TEST_F(FormAttachmentsGui, LeavesSidesAndOffsetsNotNamedAsTheyWere) {
    Attach(child).Top(ToForm(4)).Left(ToForm(5));
    const Read leftBefore = Left();
    const Read bottomBefore = Bottom();
    Attach(child).Top(ToOppositeForm()).Right(ToNothing());
    EXPECT_EQ(Top().attachment, XmATTACH_OPPOSITE_FORM);
    EXPECT_EQ(Top().offset, 4);
    EXPECT_EQ(Right().attachment, XmATTACH_NONE);
    EXPECT_EQ(Left().attachment, leftBefore.attachment);
    EXPECT_EQ(Left().offset, leftBefore.offset);
    EXPECT_EQ(Bottom().attachment, bottomBefore.attachment);
    EXPECT_EQ(Bottom().offset, bottomBefore.offset);
}

} // namespace
