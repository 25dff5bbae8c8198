#pragma once

#include <X11/Intrinsic.h>

// The keys every dialog and element window shares: Escape does what its cancel button does and
// Return what its default button does, wherever the focus is in the window (a push button with
// the focus is the default for Return, as in every Motif dialog), but in a multi-line text, whose
// keys stay its own. The buttons are given to the outermost bulletin board (form) below the
// shell; Motif's parent-activate and parent-cancel of every widget reach it.

// defaultButton or cancelButton may be null: that key is left alone. part is any widget of the
// window below the shell.
void SetDialogKeys(Widget part, Widget defaultButton, Widget cancelButton);

// A text field whose Return has a meaning of its own (its activate callbacks) keeps it: Return
// and Enter there call those callbacks and do not press the window's default button.
void KeepReturnInField(Widget textField);
// Whether KeepReturnInField was given the field (Return there is "DialogKeysFieldReturn").
bool FieldKeepsReturn(Widget textField);
