#include "shell/WindowMessage.h"

#include "toolkit/MessageDialog.h"

namespace {

WindowMessageFunction messageFunction = nullptr;

} // namespace

void SetWindowMessageFunction(WindowMessageFunction function) {
    messageFunction = function;
}

MessageResult WindowMessage(Widget parent, MessageKind kind, const char* title, const char* text) {
    if (messageFunction != nullptr) return messageFunction(parent, kind, title, text);
    return MessageDialog(parent, kind, title, text);
}
