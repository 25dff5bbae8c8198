#pragma once

// Every element type's modify window, made as the element makes it: the tests that go through
// all of them (OK with nothing changed, the dialog keys) share this table.

#include <X11/Intrinsic.h>

#include <functional>
#include <string>

#include "editors/ACModifyWindow.h"
#include "editors/AInputModifyWindow.h"
#include "editors/AJoinModifyWindow.h"
#include "editors/ALogicModifyWindow.h"
#include "editors/AMaskModifyWindow.h"
#include "editors/AOutputModifyWindow.h"
#include "editors/APermModifyWindow.h"
#include "editors/ARuleModifyWindow.h"
#include "editors/ASSeedModifyWindow.h"
#include "editors/EditorElementUi.h"
#include "model/elements/ACElem.h"
#include "model/elements/AInputElem.h"
#include "model/elements/AJoinElem.h"
#include "model/elements/ALogicElem.h"
#include "model/elements/AMaskElem.h"
#include "model/elements/AOutputElem.h"
#include "model/elements/APermElem.h"
#include "model/elements/ARuleElem.h"
#include "model/elements/ASSeedElem.h"
#include "model/elements/ElementType.h"
#include "tests/support/gui/GuiWidgets.h"

struct WindowKind {
    const char* what;
    uint32_t type;
    ModifyWindowMaker maker;
    std::function<AElement*()> make;
};

template <class Elem> AElement* Made() {
    Elem* element = new Elem(nullptr, 0, 0);
    for (int i = 0; i < element->GetInputCount(); i++)
        element->SetInputPlaneSize(i, 4, 4);
    for (int i = 0; i < element->GetOutputCount(); i++)
        element->SetOutputPlaneSize(i, 4, 4);
    element->CreateData();
    return element;
}

inline const WindowKind kWindows[] = {
    {"MASK", kMask, AMaskModifyWindow::Make, Made<AMaskElem>},
    {"RULE", kRule, ARuleModifyWindow::Make, Made<ARuleElem>},
    {"PERM", kPerm, APermModifyWindow::Make, Made<APermElem>},
    {"LOGIC", kLogic, ALogicModifyWindow::Make, Made<ALogicElem>},
    {"S-SEED", kSSeed, ASSeedModifyWindow::Make, Made<ASSeedElem>},
    {"JOIN", kJoin, AJoinModifyWindow::Make, Made<AJoinElem>},
    {"INPUT", kInput, MakeInputModifyWindow, Made<AInputElem>},
    {"OUTPUT", kOutput, MakeOutputModifyWindow, Made<AOutputElem>},
    {"C++", kCElem, ACModifyWindow::Make, Made<ACElem>},
};

// The action area button of the word, whether its label has blanks around it or not.
inline Widget ActionButtonOf(Widget shell, const char* word) {
    Widget button = testgui::ButtonLabelled(shell, word);
    return button != nullptr
               ? button
               : testgui::ButtonLabelled(shell, (std::string(" ") + word + " ").c_str());
}
