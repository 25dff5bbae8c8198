#pragma once

#include <X11/Intrinsic.h>

// How the children of a form are held: one statement names each side that changes and what it
// is attached to, and all of them are set in one call when the statement ends.
//
//     Attach(buttonFrame).Left(ToForm()).Right(ToForm()).Bottom(ToWidget(actionArea));
//
// A side not named keeps what it has; an offset not given keeps the form's default, which is
// not always 0 (the form's margins and spacing stand in for it).

// What one side of a child is attached to.
struct FormSide {
    unsigned char attachment; // XmATTACH_*
    Widget widget;            // for the widget attachments
    int position;             // for XmATTACH_POSITION
    bool hasOffset;
    int offset; // pixels
};

FormSide ToForm();
FormSide ToForm(int offset);
FormSide ToOppositeForm();
FormSide ToOppositeForm(int offset);
FormSide ToWidget(Widget widget);
FormSide ToWidget(Widget widget, int offset);
FormSide ToOppositeWidget(Widget widget);
FormSide ToOppositeWidget(Widget widget, int offset);
FormSide ToPosition(int position);
FormSide ToPosition(int position, int offset);
FormSide ToNothing();

// The sides of one child, set on it when this goes out of scope.
class FormAttachments {
public:
    explicit FormAttachments(Widget child);
    ~FormAttachments();
    FormAttachments(const FormAttachments&) = delete;
    FormAttachments& operator=(const FormAttachments&) = delete;

    FormAttachments& Top(const FormSide& side);
    FormAttachments& Bottom(const FormSide& side);
    FormAttachments& Left(const FormSide& side);
    FormAttachments& Right(const FormSide& side);

private:
    enum { kTop, kBottom, kLeft, kRight, kSides };

    FormAttachments& Set(int which, const FormSide& side);

    Widget child_;
    FormSide sides_[kSides];
    bool named_[kSides] = {};
};

inline FormAttachments Attach(Widget child) {
    return FormAttachments(child);
}
