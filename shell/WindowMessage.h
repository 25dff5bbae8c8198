#pragma once

// Where the windows' message boxes go: MessageDialog unless a test installs its own (null
// restores MessageDialog).

#include <X11/Intrinsic.h>

#include "model/elements/MessageKind.h"

using WindowMessageFunction = MessageResult (*)(Widget parent, MessageKind kind, const char* title,
                                                const char* text);
void SetWindowMessageFunction(WindowMessageFunction function);
MessageResult WindowMessage(Widget parent, MessageKind kind, const char* title, const char* text);
