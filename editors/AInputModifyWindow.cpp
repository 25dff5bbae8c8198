#include "editors/AInputModifyWindow.h"

#include <iostream>

#include "model/elements/AInputElem.h"

AInputModifyWindow::AInputModifyWindow(const D_InputElem& data, AInputElem* owner)
    : APlaneModifyWindow(owner, new D_InputElem(data), true) {}

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
    Commit();
    element->RefreshShowDataWindows();
    delete this;
}

void AInputModifyWindow::Apply() {
    Commit();
    static_cast<AInputElem*>(element)->EmitPlane(nullptr);
    element->RefreshShowDataWindows();
}

void AInputModifyWindow::Commit() {
    // A window that was only looked at holds what a run left in it (planes pushed, the stack
    // rotated): storing that would replace the user's pictures.
    if (!edited) return;
    StoreCopy();
    edited = false;
    element->SetModified();
}

ElementView* MakeInputModifyWindow(AElement& element, FileArgument* data) {
    AInputElem* owner = dynamic_cast<AInputElem*>(&element);
    const D_InputElem* stack = dynamic_cast<const D_InputElem*>(data);
    if (owner == nullptr || stack == nullptr) {
        std::cerr << "MakeInputModifyWindow: no INPUT element or stack" << std::endl;
        return nullptr;
    }
    return new AInputModifyWindow(*stack, owner);
}
