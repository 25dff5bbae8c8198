#pragma once

// The editors' half of the model's window interface: the views of an element (its modify window,
// its show-data windows, its PERM dimension dialog and its LOGIC external-data window, each made
// by the maker registered for its type code, its Set Name dialog and its "Change Dimension"
// dialogs). The shell's implementation derives from this class and adds the rest (scheduler,
// status words, questions, working areas, drawing resources); tests use it as it is.
//
// Parents come from the installed EditorHost: an element's windows and its Set Name dialog go
// over the shell of its owner window, the dimension dialogs over the top-level shell.

#include <cstdint>

#include "model/elements/ElementUi.h"

// Makes the modify window of one element type for (element, its data object) and shows it; the
// new window, or null when it cannot be made.
using ModifyWindowMaker = ElementView* (*)(AElement& element, FileArgument* data);
// Makes another kind of view for an element of one type and shows it; null when it cannot be
// made.
using ViewMaker = ElementView* (*)(AElement& element, const ViewRequest& request);

// The type's makers (null removes one). A type without a modify-window maker opens no modify
// window; one without a show-data maker gets the stock show-data window; one without a maker of
// the PERM dimension dialog or the external-data window opens none.
void RegisterModifyWindowMaker(uint32_t type, ModifyWindowMaker maker);
void RegisterViewMaker(ElementViewKind kind, uint32_t type, ViewMaker maker);

class EditorElementUi : public NullElementUi {
public:
    ElementView* CreateView(const ViewRequest& request) override;
};
