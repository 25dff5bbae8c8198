#include "editors/AOutputModifyWindow.h"

#include <iostream>

#include "model/elements/AOutputElem.h"

AOutputModifyWindow::AOutputModifyWindow(const D_OutputElem& data, AOutputElem* owner)
    : APlaneModifyWindow(owner, new D_OutputElem(data), false) {}

AOutputModifyWindow::~AOutputModifyWindow() = default;

D_IOElem& AOutputModifyWindow::ElementData() {
    return static_cast<AOutputElem*>(element)->GetData();
}

void AOutputModifyWindow::StoreCopy() {
    static_cast<AOutputElem*>(element)->GetData() = static_cast<const D_OutputElem&>(*stack);
}

void AOutputModifyWindow::Ok() {
    // Only Add and Delete change an OUTPUT stack in the window; what a run recorded into it is
    // in the element's stack as well.
    if (edited) {
        StoreCopy();
        element->RefreshShowDataWindows();
        element->SetModified();
    }
    delete this;
}

ElementView* MakeOutputModifyWindow(AElement& element, FileArgument* data) {
    AOutputElem* owner = dynamic_cast<AOutputElem*>(&element);
    const D_OutputElem* stack = dynamic_cast<const D_OutputElem*>(data);
    if (owner == nullptr || stack == nullptr) {
        std::cerr << "MakeOutputModifyWindow: no OUTPUT element or stack" << std::endl;
        return nullptr;
    }
    return new AOutputModifyWindow(*stack, owner);
}
