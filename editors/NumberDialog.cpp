#include "editors/NumberDialog.h"

#include <Xm/Xm.h>

#include "editors/DialogShell.h"
#include "editors/NumberDialogParts.h"
#include "toolkit/ReadInt.h"

namespace {

void OkCallback(Widget w, XtPointer self, XtPointer call) {
    if (ReadIntPressHitCorrection(w, call)) return;
    static_cast<NumberDialog*>(self)->Ok();
}

void CancelCallback(Widget, XtPointer self, XtPointer) {
    static_cast<NumberDialog*>(self)->Cancel();
}

} // namespace

NumberDialog::NumberDialog(Widget parent, const char* title)
    : shell(nullptr), finished(false), calling(false) {
    shell = CreateDialogShell(parent, "Modify", title, true, CancelCallback, this);
    XtAddCallback(shell, XmNdestroyCallback, ShellDestroyedCallback, this);
}

NumberDialog::~NumberDialog() {
    if (shell != nullptr) {
        XtRemoveCallback(shell, XmNdestroyCallback, ShellDestroyedCallback, this);
        XtDestroyWidget(shell);
    }
}

Widget NumberDialog::CreateForm(int values) {
    return CreateNumberDialogForm(shell, values, OkCallback, CancelCallback, this);
}

Widget NumberDialog::CreateRow(Widget rowColumn, const char* labelName, const char* text,
                               bool multiline, Widget* label, int16_t characters, int32_t value,
                               int32_t min, int32_t max, int32_t divisor) {
    return CreateNumberRow(rowColumn, labelName, text, multiline, label, characters, value, min,
                           max, divisor, OkCallback, this);
}

void NumberDialog::Show() {
    ShowNumberDialog(shell);
}

void NumberDialog::Ok() {
    if (finished) return;
    int32_t value1 = 0;
    int32_t value2 = 0;
    if (!ReadValues(&value1, &value2)) return;
    Finish(0, value1, value2);
}

void NumberDialog::Cancel() {
    if (finished) return;
    Finish(1, 0, 0);
}

void NumberDialog::Finish(int cancelled, int value1, int value2) {
    finished = true;
    calling = true;
    Answer(cancelled, value1, value2);
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

void NumberDialog::ShellDestroyedCallback(Widget, XtPointer self, XtPointer) {
    static_cast<NumberDialog*>(self)->ShellDestroyed();
}

void NumberDialog::ShellDestroyed() {
    shell = nullptr;
    if (!calling) delete this;
}
