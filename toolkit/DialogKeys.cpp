#include "toolkit/DialogKeys.h"

#include <Xm/BulletinB.h>
#include <Xm/List.h>
#include <Xm/PushB.h>
#include <Xm/Text.h>
#include <Xm/TextF.h>
#include <Xm/VendorSEP.h>
#include <Xm/Xm.h>
#include <Xm/XmP.h>

#include <set>

namespace {

std::set<Widget> keepingFields;
std::set<Widget> wiredWidgets; // lists and texts whose keys are set

void Forget(Widget w, XtPointer, XtPointer) {
    keepingFields.erase(w);
    wiredWidgets.erase(w);
}

void IgnoreKeyAction(Widget, XEvent*, String*, Cardinal*) {}

void FieldReturnAction(Widget w, XEvent* event, String*, Cardinal*) {
    XmAnyCallbackStruct cbs{};
    cbs.reason = XmCR_ACTIVATE;
    cbs.event = event;
    XtCallCallbacks(w, XmNactivateCallback, &cbs);
}

// Return in a list is its default action when it has one and items to act on; otherwise (an empty
// list does nothing on Return) it is the window's.
void ListReturnAction(Widget w, XEvent* event, String* params, Cardinal* count) {
    int items = 0;
    XtVaGetValues(w, XmNitemCount, &items, nullptr);
    const bool own = items > 0 && XtHasCallbacks(w, XmNdefaultActionCallback) == XtCallbackHasSome;
    XtCallActionProc(w, const_cast<char*>(own ? "ListKbdActivate" : "PrimitiveParentActivate"),
                     event, params, *count);
}

// The outermost bulletin board below the shell: the one that holds the window's keys.
Widget BoardOf(Widget w) {
    Widget board = nullptr;
    for (; w != nullptr && !XtIsShell(w); w = XtParent(w)) {
        if (XmIsBulletinBoard(w)) board = w;
    }
    return board;
}

// Return on a push button of the window's contents (" Add ", " Set All ") is the window's
// default button, not that button; in a row of buttons with a default of its own (the action
// area) the focused button is the default, as Motif does it.
void ButtonReturnAction(Widget w, XEvent* event, String*, Cardinal*) {
    Widget board = BoardOf(w);
    Widget button = nullptr;
    if (board != nullptr) XtVaGetValues(board, XmNdefaultButton, &button, nullptr);
    if (button == nullptr || !XtIsManaged(button) || !XtIsSensitive(button)) return;
    XtCallActionProc(button, const_cast<char*>("ArmAndActivate"), event, nullptr, 0);
}

bool InButtonRow(Widget button) {
    Widget row = XtParent(button);
    Widget rowDefault = nullptr;
    if (row != nullptr && XmIsBulletinBoard(row)) {
        XtVaGetValues(row, XmNdefaultButton, &rowDefault, nullptr);
    }
    return rowDefault != nullptr;
}

XtActionsRec kActions[] = {
    {const_cast<char*>("DialogKeysButtonReturn"), ButtonReturnAction},
    {const_cast<char*>("DialogKeysIgnore"), IgnoreKeyAction},
    {const_cast<char*>("DialogKeysListReturn"), ListReturnAction},
    {const_cast<char*>("DialogKeysFieldReturn"), FieldReturnAction},
};

void AddActions(Widget w) {
    static XtAppContext added = nullptr;
    XtAppContext app = XtWidgetToApplicationContext(w);
    if (added == app) return;
    added = app;
    XtAppAddActions(app, kActions, XtNumber(kActions));
}

// Escape in a multi-line text is the text's: it would otherwise cancel the whole window and
// drop what was typed. Return in a list goes to the window unless the list has an action of its
// own, and so does Return on a push button outside a row of buttons.
void WireTextsAndLists(Widget w) {
    const bool wired = XmIsList(w) || XmIsText(w) || XmIsPushButton(w);
    if (wired && !wiredWidgets.insert(w).second) return;
    if (wired) XtAddCallback(w, XmNdestroyCallback, Forget, nullptr);
    if (XmIsPushButton(w) && !InButtonRow(w)) {
        static XtTranslations buttons =
            XtParseTranslationTable("~s ~m ~a <Key>Return: DialogKeysButtonReturn()\n"
                                    "<Key>osfActivate: DialogKeysButtonReturn()");
        XtOverrideTranslations(w, buttons);
    }
    if (XmIsList(w)) {
        static XtTranslations lists =
            XtParseTranslationTable("~s ~m ~a <Key>Return: DialogKeysListReturn()\n"
                                    "<Key>osfActivate: DialogKeysListReturn()");
        XtOverrideTranslations(w, lists);
    }
    if (XmIsText(w)) {
        int mode = XmSINGLE_LINE_EDIT; // the resource is an int
        XtVaGetValues(w, XmNeditMode, &mode, nullptr);
        if (mode == XmMULTI_LINE_EDIT) {
            static XtTranslations keep =
                XtParseTranslationTable("<Key>osfCancel: DialogKeysIgnore()");
            XtOverrideTranslations(w, keep);
        }
    }
    if (!XtIsComposite(w)) return;
    WidgetList children = nullptr;
    Cardinal count = 0;
    XtVaGetValues(w, XmNchildren, &children, XmNnumChildren, &count, nullptr);
    for (Cardinal i = 0; i < count; ++i)
        WireTextsAndLists(children[i]);
}

// Windows build parts of their contents after their buttons, or anew later: a widget is wired
// when the focus comes to it, before any key reaches it.
void FocusMovedCallback(Widget, XtPointer, XtPointer call) {
    const XmFocusMovedCallbackStruct* moved = static_cast<XmFocusMovedCallbackStruct*>(call);
    if (moved != nullptr && moved->new_focus != nullptr) WireTextsAndLists(moved->new_focus);
}

std::set<Widget> watchedShells;

void ShellDestroyed(Widget shell, XtPointer, XtPointer) {
    watchedShells.erase(shell);
}

} // namespace

void SetDialogKeys(Widget part, Widget defaultButton, Widget cancelButton) {
    Widget board = BoardOf(part);
    if (board == nullptr) return;
    AddActions(board);
    if (defaultButton != nullptr) XtVaSetValues(board, XmNdefaultButton, defaultButton, nullptr);
    if (cancelButton != nullptr) XtVaSetValues(board, XmNcancelButton, cancelButton, nullptr);
    WireTextsAndLists(board);
    Widget shell = board;
    while (!XtIsShell(shell))
        shell = XtParent(shell);
    if (XtIsVendorShell(shell) && watchedShells.insert(shell).second) {
        XmeAddFocusChangeCallback(shell, FocusMovedCallback, nullptr);
        XtAddCallback(shell, XmNdestroyCallback, ShellDestroyed, nullptr);
    }
}

void KeepReturnInField(Widget textField) {
    AddActions(textField);
    keepingFields.insert(textField);
    XtAddCallback(textField, XmNdestroyCallback, Forget, nullptr);
    static XtTranslations keep =
        XtParseTranslationTable("<Key>Return: DialogKeysFieldReturn()\n"
                                "<Key>KP_Enter: DialogKeysFieldReturn()\n"
                                "<Key>osfActivate: DialogKeysFieldReturn()");
    XtOverrideTranslations(textField, keep);
}

bool FieldKeepsReturn(Widget textField) {
    return keepingFields.count(textField) != 0;
}
