#pragma once

// The modal dialog that asks for one integer (NumberDialog): a labelled ReadInt field, OK and
// Cancel; the answer arrives through the result callback.

#include <X11/Intrinsic.h>

#include <cstdint>

#include "editors/NumberDialog.h"

// cancelled 1 with value 0 on Cancel and the window-manager close; else 0 and the value.
using ValueCallback = void (*)(int cancelled, int value, void* client);

class ModifyValueDialog : public NumberDialog {
public:
    // The label breaks into lines at each "\n". value need not lie within [min, max]; max >= 1.
    ModifyValueDialog(Widget parent, const char* title, const char* labelText, int32_t value,
                      int32_t minimum, int32_t maximum, ValueCallback resultCallback,
                      void* clientData);

    Widget GetField() const { return field; }

protected:
    int ReadValues(int32_t* value1, int32_t* value2) override;
    void Answer(int cancelled, int value1, int value2) override;

private:
    Widget label;
    Widget field; // the ReadInt form
    ValueCallback callback;
    int32_t max;
    int32_t min;
    int16_t characters;
    void* client;
    int32_t shown; // the value shown first, the field's fallback
};
