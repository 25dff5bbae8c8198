#include "model/elements/AMacroOutputElem.h"

#include "model/data/Connection.h"
#include "model/elements/ElementUi.h"
#include "model/elements/MacroHost.h"
#include "model/elements/PlaneCopy.h"

void AMacroOutputElem::Simulate() {
    MacroHost* host = GetHost();
    Matrix* out = host != nullptr ? host->GetMacroElement().GetOutputPlane(GetNumber()) : nullptr;
    const Matrix* in = GetInputPlane(0);
    if (out != nullptr && in != nullptr) CopyPlane(*out, *in);
    AElement::Simulate();
    if (out != nullptr) host->OutputChanged(GetNumber());
}

int AMacroOutputElem::Propagate() {
    MacroHost* host = GetHost();
    if (host == nullptr) return 0;
    // The macro's result leaves it at the time the inside produced it.
    AElement* successor = host->GetMacroElement().GetOutputTarget(GetNumber());
    if (successor != nullptr && successor->GetClock() == 0) {
        GetElementUi().Schedule(GetLastSimulatedTime(), successor);
    }
    return 0;
}

void AMacroOutputElem::DimensionChanged() {
    MacroHost* host = GetHost();
    if (host == nullptr) return;
    AElement& macro = host->GetMacroElement();
    const int n = GetNumber();
    if (n < 0 || n >= macro.GetOutputCount()) return;
    ElementUi& ui = GetElementUi();
    ui.UpdateDisplay();
    if (Connection* outside = macro.GetOutputConnection(n)) delete outside;
    ui.UpdateDisplay();
    macro.SetOutputPlaneSize(n, GetInputPlaneWidth(0), GetInputPlaneHeight(0));
    // The macro's show-data windows size their panes by the planes.
    macro.RedrawShowDataWindows();
}
