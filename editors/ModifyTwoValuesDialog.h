#pragma once

// The modal dialog that asks for two integers: a titled shell "Modify" with two labelled ReadInt
// fields and OK and Cancel. Like ModifyValueDialog it answers later through its result callback
// and then deletes itself; it goes without calling back when its parent widget is destroyed or
// its owner deletes it. It owns its shell.

#include <X11/Intrinsic.h>

#include <cstdint>

#include "model/elements/ElementUi.h" // TwoValuesCallback

class ModifyTwoValuesDialog {
public:
    // With the divisor flag each accepted value divides its maximum. The values need not lie
    // within their limits; each maximum >= 1. The labels are not broken into lines.
    ModifyTwoValuesDialog(Widget parent, const char* title, const char* label1Text, int32_t value1,
                          int32_t minimum1, int32_t maximum1, const char* label2Text,
                          int32_t value2, int32_t minimum2, int32_t maximum2,
                          TwoValuesCallback resultCallback, void* clientData, int32_t divisorFlag);
    // Destroys the shell; the callback is not called.
    ~ModifyTwoValuesDialog();
    ModifyTwoValuesDialog(const ModifyTwoValuesDialog&) = delete;
    ModifyTwoValuesDialog& operator=(const ModifyTwoValuesDialog&) = delete;

    // The "OK" button and Return in either field: two valid values end the dialog, else nothing.
    void Ok();
    // The "Cancel" button and the window-manager close.
    void Cancel();

    Widget GetShell() const { return shell; }
    Widget GetField1() const { return field1; }
    Widget GetField2() const { return field2; }

private:
    void Finish(int cancelled, int value1, int value2);
    void ShellDestroyed();
    static void ShellDestroyedCallback(Widget, XtPointer self, XtPointer);

    Widget shell;
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
    bool finished; // the callback has been called or is being called
    bool calling;  // inside the callback: deletion waits until it returns
};
