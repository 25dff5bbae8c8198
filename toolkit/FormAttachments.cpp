#include "toolkit/FormAttachments.h"

#include <Xm/Form.h>

namespace {

FormSide Side(unsigned char attachment, Widget widget, int position) {
    return FormSide{attachment, widget, position, false, 0};
}

FormSide WithOffset(FormSide side, int offset) {
    side.hasOffset = true;
    side.offset = offset;
    return side;
}

// The resource names of one side: attachment, widget, position, offset.
struct SideNames {
    String attachment;
    String widget;
    String position;
    String offset;
};

} // namespace

FormSide ToForm() {
    return Side(XmATTACH_FORM, nullptr, 0);
}

FormSide ToForm(int offset) {
    return WithOffset(ToForm(), offset);
}

FormSide ToOppositeForm() {
    return Side(XmATTACH_OPPOSITE_FORM, nullptr, 0);
}

FormSide ToOppositeForm(int offset) {
    return WithOffset(ToOppositeForm(), offset);
}

FormSide ToWidget(Widget widget) {
    return Side(XmATTACH_WIDGET, widget, 0);
}

FormSide ToWidget(Widget widget, int offset) {
    return WithOffset(ToWidget(widget), offset);
}

FormSide ToOppositeWidget(Widget widget) {
    return Side(XmATTACH_OPPOSITE_WIDGET, widget, 0);
}

FormSide ToOppositeWidget(Widget widget, int offset) {
    return WithOffset(ToOppositeWidget(widget), offset);
}

FormSide ToPosition(int position) {
    return Side(XmATTACH_POSITION, nullptr, position);
}

FormSide ToPosition(int position, int offset) {
    return WithOffset(ToPosition(position), offset);
}

FormSide ToNothing() {
    return Side(XmATTACH_NONE, nullptr, 0);
}

FormAttachments::FormAttachments(Widget child) : child_(child), sides_() {}

FormAttachments& FormAttachments::Top(const FormSide& side) {
    return Set(kTop, side);
}

FormAttachments& FormAttachments::Bottom(const FormSide& side) {
    return Set(kBottom, side);
}

FormAttachments& FormAttachments::Left(const FormSide& side) {
    return Set(kLeft, side);
}

FormAttachments& FormAttachments::Right(const FormSide& side) {
    return Set(kRight, side);
}

FormAttachments& FormAttachments::Set(int which, const FormSide& side) {
    sides_[which] = side;
    named_[which] = true;
    return *this;
}

FormAttachments::~FormAttachments() {
    static const SideNames kNames[kSides] = {
        {XmNtopAttachment, XmNtopWidget, XmNtopPosition, XmNtopOffset},
        {XmNbottomAttachment, XmNbottomWidget, XmNbottomPosition, XmNbottomOffset},
        {XmNleftAttachment, XmNleftWidget, XmNleftPosition, XmNleftOffset},
        {XmNrightAttachment, XmNrightWidget, XmNrightPosition, XmNrightOffset},
    };
    Arg args[kSides * 3];
    Cardinal count = 0;
    for (int i = 0; i < kSides; i++) {
        if (!named_[i]) continue;
        const FormSide& side = sides_[i];
        XtSetArg(args[count], kNames[i].attachment, side.attachment);
        count++;
        if (side.attachment == XmATTACH_WIDGET || side.attachment == XmATTACH_OPPOSITE_WIDGET) {
            XtSetArg(args[count], kNames[i].widget, side.widget);
            count++;
        } else if (side.attachment == XmATTACH_POSITION) {
            XtSetArg(args[count], kNames[i].position, side.position);
            count++;
        }
        if (side.hasOffset) {
            XtSetArg(args[count], kNames[i].offset, side.offset);
            count++;
        }
    }
    if (count > 0) XtSetValues(child_, args, count);
}
