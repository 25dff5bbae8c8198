#pragma once

// The base of the modal number dialogs, ModifyValueDialog and ModifyTwoValuesDialog: a titled
// shell "Modify" over its parent, which it owns, with labelled ReadInt fields and OK and Cancel.
// It does not block its caller: the answer arrives later through the type's result callback,
// after which the dialog deletes itself. It also goes, without calling back, when its parent
// widget is destroyed and when its owner deletes it; so a window that parents its dialogs to its
// own shell never hears from a dialog after the window is gone.

#include <X11/Intrinsic.h>

#include <cstdint>

class NumberDialog {
public:
    // Destroys the shell; the callback is not called.
    virtual ~NumberDialog();
    NumberDialog(const NumberDialog&) = delete;
    NumberDialog& operator=(const NumberDialog&) = delete;

    // The "OK" button and Return in a field: valid values end the dialog, else nothing.
    void Ok();
    // The "Cancel" button and the window-manager close.
    void Cancel();

    Widget GetShell() const { return shell; }

protected:
    // Makes the modal shell with its title; the type then builds its rows in CreateForm's row
    // column and calls Show.
    NumberDialog(Widget parent, const char* title);

    // The dialog's form for that many values (CreateNumberDialogForm); returns its row column.
    Widget CreateForm(int values);
    // One labelled field of the row column whose Return acts as OK (CreateNumberRow).
    Widget CreateRow(Widget rowColumn, const char* labelName, const char* text, bool multiline,
                     Widget* label, int16_t characters, int32_t value, int32_t min, int32_t max,
                     int32_t divisor);
    void Show();

    // OK's check of the fields: 1 with the values when all are valid (each field shows its
    // correction at once), else 0.
    virtual int ReadValues(int32_t* value1, int32_t* value2) = 0;
    // The type's result callback; the values are 0 when cancelled.
    virtual void Answer(int cancelled, int value1, int value2) = 0;

private:
    void Finish(int cancelled, int value1, int value2);
    void ShellDestroyed();
    static void ShellDestroyedCallback(Widget, XtPointer self, XtPointer);

    Widget shell;
    bool finished; // the callback has been called or is being called
    bool calling;  // inside the callback: deletion waits until it returns
};
