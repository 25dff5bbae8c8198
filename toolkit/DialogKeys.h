#pragma once

#include <X11/Intrinsic.h>

// The keys every dialog and element window shares: Escape does what its cancel button does and
// Return what its default button does, wherever the focus is in the window, but in a multi-line
// text, whose keys stay its own. In the row of buttons the focused button is the default for
// Return, as in every Motif dialog; a push button elsewhere in the window (" Add ", " Set All ")
// passes Return on to the default. The buttons are given to the outermost bulletin board (form)
// below the shell, which Motif's parent-activate and parent-cancel of every widget reach; lists,
// texts and push buttons are wired when the focus first comes to them, so parts built later are
// served as well.

// defaultButton or cancelButton may be null: that key is left alone. part is any widget of the
// window below the shell.
void SetDialogKeys(Widget part, Widget defaultButton, Widget cancelButton);

// A text field whose Return has a meaning of its own (its activate callbacks) keeps it: Return
// and Enter there call those callbacks and do not press the window's default button.
void KeepReturnInField(Widget textField);
// Whether KeepReturnInField was given the field (Return there is "DialogKeysFieldReturn").
bool FieldKeepsReturn(Widget textField);
