#pragma once

#include "model/elements/MessageKind.h"

#include <X11/Intrinsic.h>

// The modal message dialog: shows a Motif message box over parent, blocks the rest of the
// application by full application modality, runs its own event loop until the box is answered
// and returns the answer. Each call keeps its own answer, so a dialog may be opened while
// another one waits (from a timer or a callback run by the outer loop). In text, each "\n"
// starts a new line.
MessageResult MessageDialog(Widget parent, MessageKind kind, const char* title, const char* text);

// The five fixed kinds.
MessageResult InfoMessage(Widget parent, const char* title, const char* text);
MessageResult WarningMessage(Widget parent, const char* title, const char* text);
MessageResult AskOkCancel(Widget parent, const char* title, const char* text);
MessageResult AskYesNo(Widget parent, const char* title, const char* text);
MessageResult AskYesNoCancel(Widget parent, const char* title, const char* text);

// The answer Escape gives: Cancel where the kind offers it (on the three-button question too,
// where the box takes Escape for its " No " button), else No, else Ok.
MessageResult MessageEscapeResult(MessageKind kind);

// The answer a window-manager close gives: Cancel where the kind offers it, else No, else Ok.
MessageResult MessageCloseResult(MessageKind kind);

// The answer that a button gives for kind, by the callback reason of the button
// (XmCR_OK, XmCR_CANCEL, XmCR_HELP); kResultNone for a press without effect.
MessageResult MessageButtonResult(MessageKind kind, int reason);
