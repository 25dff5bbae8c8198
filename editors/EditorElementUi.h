#pragma once

// The editors' half of the model's window interface: the views of an element (its modify window,
// made by the maker its type registered, its show-data windows, its Set Name dialog, its
// "Change Dimension" dialogs and a LOGIC element's external-data window). The shell's
// implementation derives from this class and adds the rest (scheduler, status words, questions,
// working areas, drawing resources); tests use it as it is.
//
// Parents come from the installed EditorHost: an element's windows and its Set Name dialog go
// over the shell of its owner window, the dimension dialogs over the top-level shell.

#include <cstdint>

#include "model/elements/ElementUi.h"

// Makes the modify window of one element type for (element, its data object) and shows it; the
// new window, or null when it cannot be made.
using ModifyWindowMaker = ElementView* (*)(AElement& element, FileArgument* data);

// The type's maker (null removes it); types without one open no modify window.
void RegisterModifyWindowMaker(uint32_t type, ModifyWindowMaker maker);

class EditorElementUi : public NullElementUi {
public:
    ElementView* CreateView(const ViewRequest& request) override;
};
