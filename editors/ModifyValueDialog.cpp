#include "editors/ModifyValueDialog.h"

#include "editors/NumberDialogParts.h"

ModifyValueDialog::ModifyValueDialog(Widget parent, const char* title, const char* labelText,
                                     int32_t value, int32_t minimum, int32_t maximum,
                                     ValueCallback resultCallback, void* clientData)
    : NumberDialog(parent, title), label(nullptr), field(nullptr), callback(resultCallback),
      max(maximum), min(minimum), characters(FieldCharacters(maximum)), client(clientData),
      shown(value) {
    Widget rowColumn = CreateForm(1);
    field = CreateRow(rowColumn, "label1", labelText, true, &label, characters, value, min, max, 0);
    Show();
}

int ModifyValueDialog::ReadValues(int32_t* value1, int32_t*) {
    return ReadNumberField(field, shown, min, max, 0, value1);
}

void ModifyValueDialog::Answer(int cancelled, int value1, int) {
    callback(cancelled, value1, client);
}
