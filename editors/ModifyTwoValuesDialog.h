#pragma once

// The modal dialog that asks for two integers (NumberDialog): two labelled ReadInt fields, OK and
// Cancel; the answer arrives through the result callback.

#include <X11/Intrinsic.h>

#include <cstdint>

#include "editors/NumberDialog.h"
#include "model/elements/ElementUi.h" // TwoValuesCallback, ElementView

// An element holds the one it asks for its plane size as a view; the result callback tells the
// element that the dialog is going.
class ModifyTwoValuesDialog : public NumberDialog, public ElementView {
public:
    // With the divisor flag each accepted value divides its maximum. The values need not lie
    // within their limits; each maximum >= 1. The labels are not broken into lines.
    ModifyTwoValuesDialog(Widget parent, const char* title, const char* label1Text, int32_t value1,
                          int32_t minimum1, int32_t maximum1, const char* label2Text,
                          int32_t value2, int32_t minimum2, int32_t maximum2,
                          TwoValuesCallback resultCallback, void* clientData, int32_t divisorFlag);

    Widget GetField1() const { return field1; }
    Widget GetField2() const { return field2; }

protected:
    int ReadValues(int32_t* value1, int32_t* value2) override;
    void Answer(int cancelled, int value1, int value2) override;

private:
    Widget label1;
    Widget label2;
    Widget field1; // ReadInt forms
    Widget field2;
    TwoValuesCallback callback;
    int32_t max1;
    int32_t min1;
    int32_t max2;
    int32_t min2;
    int32_t divisor;
    int16_t characters1;
    int16_t characters2;
    void* client;
    int32_t shown1; // the values shown first, the fields' fallbacks
    int32_t shown2;
};
