#include "editors/ModifyValueDialog.h"

#include <Xm/Xm.h>

#include "editors/DialogShell.h"
#include "editors/NumberDialogParts.h"

namespace {

void OkCallback(Widget, XtPointer self, XtPointer) {
    static_cast<ModifyValueDialog*>(self)->Ok();
}

void CancelCallback(Widget, XtPointer self, XtPointer) {
    static_cast<ModifyValueDialog*>(self)->Cancel();
}

} // namespace

ModifyValueDialog::ModifyValueDialog(Widget parent, const char* title, const char* labelText,
                                     int32_t value, int32_t minimum, int32_t maximum,
                                     ValueCallback resultCallback, void* clientData)
    : shell(nullptr), label(nullptr), field(nullptr), callback(resultCallback), max(maximum),
      min(minimum), characters(FieldCharacters(maximum)), client(clientData), shown(value),
      finished(false), calling(false) {
    shell = CreateDialogShell(parent, "Modify", title, true, CancelCallback, this);
    XtAddCallback(shell, XmNdestroyCallback, ShellDestroyedCallback, this);
    Widget rowColumn = CreateNumberDialogForm(shell, 1, OkCallback, CancelCallback, this);
    field = CreateNumberRow(rowColumn, "label1", labelText, true, &label, characters, value, min,
                            max, 0, OkCallback, this);
    ShowNumberDialog(shell);
}

ModifyValueDialog::~ModifyValueDialog() {
    if (shell != nullptr) {
        XtRemoveCallback(shell, XmNdestroyCallback, ShellDestroyedCallback, this);
        XtDestroyWidget(shell);
    }
}

void ModifyValueDialog::Ok() {
    if (finished) return;
    int32_t value = 0;
    if (!ReadNumberField(field, shown, min, max, 0, &value)) return;
    Finish(0, value);
}

void ModifyValueDialog::Cancel() {
    if (finished) return;
    Finish(1, 0);
}

void ModifyValueDialog::Finish(int cancelled, int value) {
    finished = true;
    calling = true;
    callback(cancelled, value, client);
    calling = false;
    if (shell == nullptr) {
        // The callback destroyed the parent and with it the shell.
        delete this;
        return;
    }
    XtPopdown(shell);
    // Deletes this once the shell is gone, at once or at the end of the event's dispatch.
    XtDestroyWidget(shell);
}

void ModifyValueDialog::ShellDestroyedCallback(Widget, XtPointer self, XtPointer) {
    static_cast<ModifyValueDialog*>(self)->ShellDestroyed();
}

void ModifyValueDialog::ShellDestroyed() {
    shell = nullptr;
    if (!calling) delete this;
}
