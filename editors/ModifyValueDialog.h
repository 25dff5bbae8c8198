#pragma once

// The modal dialog that asks for one integer: a titled shell "Modify" with a labelled ReadInt
// field and OK and Cancel. It does not block its caller: the answer arrives later through the
// result callback, after which the dialog deletes itself. It owns its shell.
//
// The dialog also goes, without calling back, when its parent widget is destroyed, and when its
// owner deletes it; so a window that parents its dialogs to its own shell never hears from a
// dialog after the window is gone.

#include <X11/Intrinsic.h>

#include <cstdint>

// cancelled 1 with value 0 on Cancel and the window-manager close; else 0 and the value.
using ValueCallback = void (*)(int cancelled, int value, void* client);

class ModifyValueDialog {
public:
    // The label breaks into lines at each "\n". value need not lie within [min, max]; max >= 1.
    ModifyValueDialog(Widget parent, const char* title, const char* labelText, int32_t value,
                      int32_t minimum, int32_t maximum, ValueCallback resultCallback,
                      void* clientData);
    // Destroys the shell; the callback is not called.
    ~ModifyValueDialog();
    ModifyValueDialog(const ModifyValueDialog&) = delete;
    ModifyValueDialog& operator=(const ModifyValueDialog&) = delete;

    // The "OK" button and Return in the field: a valid value ends the dialog, else nothing.
    void Ok();
    // The "Cancel" button and the window-manager close.
    void Cancel();

    Widget GetShell() const { return shell; }
    Widget GetField() const { return field; }

private:
    void Finish(int cancelled, int value);
    void ShellDestroyed();
    static void ShellDestroyedCallback(Widget, XtPointer self, XtPointer);

    Widget shell;
    Widget label;
    Widget field; // the ReadInt form
    ValueCallback callback;
    int32_t max;
    int32_t min;
    int16_t characters;
    void* client;
    int32_t shown; // the value shown first, the field's fallback
    bool finished; // the callback has been called or is being called
    bool calling;  // inside the callback: deletion waits until it returns
};
