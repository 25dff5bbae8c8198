#pragma once

// The dialog that edits an element's name and comment: "Set Name - " and the type name, with a
// name field (at most 10 characters), a comment field (at most 100) and OK, Apply and Cancel. It
// is not modal. The element holds the one open dialog as a view; the dialog owns its shell, and
// its destructor destroys the shell and detaches the dialog from the element. When the
// shell goes with its parent (the owner window closing), the dialog goes with it.

#include <X11/Intrinsic.h>

#include <string>

#include "model/elements/ElementView.h"

class AElement;

// The rules of the dialog's checks, free of widgets.
struct NameCheck {
    std::string name;    // what the name field shows after the check
    std::string comment; // what the comment field shows after the check
    bool accepted;       // OK may give the texts to the element
};

// The text without its leading blanks (the blank character only).
std::string WithoutLeadingBlanks(const std::string& text);
// OK's check: an empty name becomes the type name, leading blanks are removed from the name and
// from a comment that has other text; accepted when nothing had to change.
NameCheck CheckNameAndComment(const std::string& name, const std::string& comment,
                              const char* typeName);

class SetNameDialog : public ElementView {
public:
    // Builds and shows the dialog over the shell of the element's owner window.
    explicit SetNameDialog(AElement* element);
    ~SetNameDialog() override;
    SetNameDialog(const SetNameDialog&) = delete;
    SetNameDialog& operator=(const SetNameDialog&) = delete;

    // "OK" and Return or KP_Enter in a field: applies and deletes the dialog when the texts pass
    // the check, else shows the corrected texts with the bell. A comment of blanks only passes
    // and is given as the empty text it reloads as.
    void Ok();
    // Gives the element both texts (without leading blanks, which its file block cannot keep)
    // without further checks; the dialog stays.
    void Apply();
    // "Cancel" and the window-manager close: deletes the dialog, the element is unchanged.
    void Cancel();
    // A field lost the focus: leading blanks go, an empty name becomes the type name, with the
    // bell when the text changed.
    void LosingFocus(Widget field);

    Widget GetShell() const { return shell; }
    Widget GetNameField() const { return nameField; }
    Widget GetCommentField() const { return commentField; }

private:
    void GiveTexts(const std::string& name, const std::string& comment);
    void ShellDestroyed();
    static void ShellDestroyedCallback(Widget, XtPointer self, XtPointer);

    Widget shell;
    Widget nameField;
    Widget commentField;
    AElement* element;
};
