#include "editors/ASSeedModifyWindow.h"

#include <Xm/Xm.h>

#include <iostream>

ASSeedModifyWindow::ASSeedModifyWindow(D_SSeedElem* seedData, AElement* owner)
    : AChoiceModifyWindow(owner), workingCopy(std::make_unique<D_SSeedElem>(*seedData)) {
    const char* const names[] = {"Vertical", "Horizontal"}; // by orientation
    const ChoiceLayout layout = {
        "frame", "value_form", "Orientation: ", false, 1, XmVERTICAL, names, 2,
    };
    BuildChoiceWidgets(layout, workingCopy->GetOrientation());
}

ASSeedModifyWindow::~ASSeedModifyWindow() {
    workingCopy.reset();
}

ElementView* ASSeedModifyWindow::Make(AElement& element, FileArgument* data) {
    D_SSeedElem* seed = dynamic_cast<D_SSeedElem*>(data);
    if (seed == nullptr) {
        std::cerr << "ASSeedModifyWindow::Make: no S-SEED data" << std::endl;
        return nullptr;
    }
    return new ASSeedModifyWindow(seed, &element);
}

void ASSeedModifyWindow::Choose(int value) {
    workingCopy->SetOrientation(value);
}

void ASSeedModifyWindow::StoreCopy() {
    // The orientation only: the states are the simulation's, and a window opened before a run
    // must not rewind them.
    if (ASSeedElem* seed = dynamic_cast<ASSeedElem*>(element)) {
        seed->GetData().SetOrientation(workingCopy->GetOrientation());
    }
}
