#include "model/elements/AHelpElem.h"

#include <X11/Xlib.h>

#include "model/elements/ElementType.h"
#include "model/elements/ElementUi.h"
#include "model/elements/PinCode.h"

AHelpElem::AHelpElem(Architecture* owner)
    : AElement(owner, kHelpElement, 0, 0, kDefaultInputs, kDefaultOutputs), xorGC(nullptr),
      gcDisplay(nullptr) {
    UpdateIcon();
    CreateXorGC();
}

AHelpElem::AHelpElem(const AHelpElem& other) : AElement(other), xorGC(nullptr), gcDisplay(nullptr) {
    UpdateIcon();
    CreateXorGC();
}

AHelpElem::~AHelpElem() {
    if (xorGC != nullptr && gcDisplay != nullptr) XFreeGC(gcDisplay, xorGC);
    CloseWindows();
}

void AHelpElem::CreateXorGC() {
    ElementUi& ui = GetElementUi();
    gcDisplay = ui.GetScreens().display;
    if (gcDisplay != nullptr) xorGC = ui.CreateGC(kRedXorInferiorsGC, gcDisplay);
}

int AHelpElem::Read(std::istream&, FileArgument*) {
    return 0;
}

int AHelpElem::Write(std::ostream&, int, FileArgument*) {
    return 0;
}

Connection* AHelpElem::GetConnection(int) const {
    Connection* in = GetInputConnection(0);
    return in != nullptr ? in : GetOutputConnection(0);
}

int AHelpElem::GetPinPosition(int pinCode, int& px, int& py) const {
    if (pinCode != InputPinCode(0) && pinCode != OutputPinCode(0)) return -1;
    px = GetX();
    py = GetY();
    return 0;
}

int AHelpElem::GetFreeEnd() const {
    if (GetInputConnection(0) != nullptr) return InputPinCode(0);
    if (GetOutputConnection(0) != nullptr) return OutputPinCode(0);
    return kNoPin;
}
