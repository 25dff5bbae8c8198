#include "editors/AInputModifyWindow.h"

#include <iostream>

#include "model/elements/AInputElem.h"

AInputModifyWindow::AInputModifyWindow(const D_InputElem& data, AInputElem* owner,
                                       AElementModifyWindow** slot)
    : APlaneModifyWindow(owner, slot, new D_InputElem(data), true) {}

AInputModifyWindow::~AInputModifyWindow() = default;

D_IOElem& AInputModifyWindow::ElementData() {
    return static_cast<AInputElem*>(element)->GetWorkingData();
}

void AInputModifyWindow::StoreCopy() {
    AInputElem* owner = static_cast<AInputElem*>(element);
    StorePlane();
    owner->GetWorkingData() = static_cast<const D_InputElem&>(*stack);
    owner->GetStoredData() = owner->GetWorkingData();
}

void AInputModifyWindow::Ok() {
    StoreCopy();
    element->RefreshShowDataWindows();
    element->SetModified();
    delete this;
}

void AInputModifyWindow::Apply() {
    StoreCopy();
    static_cast<AInputElem*>(element)->EmitPlane(nullptr);
    element->RefreshShowDataWindows();
    element->SetModified();
}

void MakeInputModifyWindow(AElement& element, FileArgument* data, AElementModifyWindow** slot) {
    AInputElem* owner = dynamic_cast<AInputElem*>(&element);
    const D_InputElem* stack = dynamic_cast<const D_InputElem*>(data);
    if (owner == nullptr || stack == nullptr) {
        std::cerr << "MakeInputModifyWindow: no INPUT element or stack" << std::endl;
        return;
    }
    new AInputModifyWindow(*stack, owner, slot);
}
