#include "editors/ModifyTwoValuesDialog.h"

#include <Xm/Xm.h>

#include "editors/DialogShell.h"
#include "editors/NumberDialogParts.h"

namespace {

void OkCallback(Widget, XtPointer self, XtPointer) {
    static_cast<ModifyTwoValuesDialog*>(self)->Ok();
}

void CancelCallback(Widget, XtPointer self, XtPointer) {
    static_cast<ModifyTwoValuesDialog*>(self)->Cancel();
}

} // namespace

ModifyTwoValuesDialog::ModifyTwoValuesDialog(
    Widget parent, const char* title, const char* label1Text, int32_t value1, int32_t minimum1,
    int32_t maximum1, const char* label2Text, int32_t value2, int32_t minimum2, int32_t maximum2,
    TwoValuesCallback resultCallback, void* clientData, int32_t divisorFlag)
    : shell(nullptr), label1(nullptr), label2(nullptr), field1(nullptr), field2(nullptr),
      callback(resultCallback), max1(maximum1), min1(minimum1), max2(maximum2), min2(minimum2),
      divisor(divisorFlag), characters1(FieldCharacters(maximum1)),
      characters2(FieldCharacters(maximum2)), client(clientData), shown1(value1), shown2(value2),
      finished(false), calling(false) {
    shell = CreateDialogShell(parent, "Modify", title, true, CancelCallback, this);
    XtAddCallback(shell, XmNdestroyCallback, ShellDestroyedCallback, this);
    Widget rowColumn = CreateNumberDialogForm(shell, 2, OkCallback, CancelCallback, this);
    field1 = CreateNumberRow(rowColumn, "label1", label1Text, false, &label1, characters1, value1,
                             min1, max1, divisor, OkCallback, this);
    field2 = CreateNumberRow(rowColumn, "label2", label2Text, false, &label2, characters2, value2,
                             min2, max2, divisor, OkCallback, this);
    ShowNumberDialog(shell);
}

ModifyTwoValuesDialog::~ModifyTwoValuesDialog() {
    if (shell != nullptr) {
        XtRemoveCallback(shell, XmNdestroyCallback, ShellDestroyedCallback, this);
        XtDestroyWidget(shell);
    }
}

void ModifyTwoValuesDialog::Ok() {
    if (finished) return;
    int32_t value1 = 0;
    int32_t value2 = 0;
    // Both fields are checked, so that each shows its correction at once.
    const int valid1 = ReadNumberField(field1, shown1, min1, max1, divisor, &value1);
    const int valid2 = ReadNumberField(field2, shown2, min2, max2, divisor, &value2);
    if (!valid1 || !valid2) return;
    Finish(0, value1, value2);
}

void ModifyTwoValuesDialog::Cancel() {
    if (finished) return;
    Finish(1, 0, 0);
}

void ModifyTwoValuesDialog::Finish(int cancelled, int value1, int value2) {
    finished = true;
    calling = true;
    callback(cancelled, value1, value2, client);
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

void ModifyTwoValuesDialog::ShellDestroyedCallback(Widget, XtPointer self, XtPointer) {
    static_cast<ModifyTwoValuesDialog*>(self)->ShellDestroyed();
}

void ModifyTwoValuesDialog::ShellDestroyed() {
    shell = nullptr;
    if (!calling) delete this;
}
