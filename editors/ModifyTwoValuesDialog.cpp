#include "editors/ModifyTwoValuesDialog.h"

#include "editors/NumberDialogParts.h"

ModifyTwoValuesDialog::ModifyTwoValuesDialog(
    Widget parent, const char* title, const char* label1Text, int32_t value1, int32_t minimum1,
    int32_t maximum1, const char* label2Text, int32_t value2, int32_t minimum2, int32_t maximum2,
    TwoValuesCallback resultCallback, void* clientData, int32_t divisorFlag)
    : NumberDialog(parent, title), label1(nullptr), label2(nullptr), field1(nullptr),
      field2(nullptr), callback(resultCallback), max1(maximum1), min1(minimum1), max2(maximum2),
      min2(minimum2), divisor(divisorFlag), characters1(FieldCharacters(maximum1)),
      characters2(FieldCharacters(maximum2)), client(clientData), shown1(value1), shown2(value2) {
    Widget rowColumn = CreateForm(2);
    field1 = CreateRow(rowColumn, "label1", label1Text, false, &label1, characters1, value1, min1,
                       max1, divisor);
    field2 = CreateRow(rowColumn, "label2", label2Text, false, &label2, characters2, value2, min2,
                       max2, divisor);
    Show();
}

int ModifyTwoValuesDialog::ReadValues(int32_t* value1, int32_t* value2) {
    // Both fields are checked, so that each shows its correction at once.
    const int valid1 = ReadNumberField(field1, shown1, min1, max1, divisor, value1);
    const int valid2 = ReadNumberField(field2, shown2, min2, max2, divisor, value2);
    return valid1 && valid2;
}

void ModifyTwoValuesDialog::Answer(int cancelled, int value1, int value2) {
    callback(cancelled, value1, value2, client);
}
