#include "model/elements/AMacroInputElem.h"

#include "model/data/Connection.h"
#include "model/elements/ElementUi.h"
#include "model/elements/MacroHost.h"

void AMacroInputElem::Simulate() {
    AElement::Simulate();
}

void AMacroInputElem::DimensionChanged() {
    MacroHost* host = GetHost();
    if (host == nullptr) return;
    AElement& macro = host->GetMacroElement();
    const int n = GetNumber();
    if (n < 0 || n >= macro.GetInputCount()) return;
    ElementUi& ui = GetElementUi();
    ui.UpdateDisplay();
    if (Connection* outside = macro.GetInputConnection(n)) delete outside;
    ui.UpdateDisplay();
    macro.SetInputPlaneSize(n, GetOutputPlaneWidth(0), GetOutputPlaneHeight(0));
}
