#include "editors/AJoinModifyWindow.h"

#include <Xm/Xm.h>

#include <iostream>

AJoinModifyWindow::AJoinModifyWindow(D_JoinElem* ruleData, AElement* owner)
    : AChoiceModifyWindow(owner), workingCopy(std::make_unique<D_JoinElem>(*ruleData)) {
    const char* const names[kJoinRuleCount] = {"Or", "Nor", "Xor", "And", "Nand"}; // by rule
    const ChoiceLayout layout = {
        "data_frame", "data_form", "Type:", true, 2, XmHORIZONTAL, names, kJoinRuleCount,
    };
    BuildChoiceWidgets(layout, workingCopy->GetRule());
}

AJoinModifyWindow::~AJoinModifyWindow() {
    workingCopy.reset();
}

ElementView* AJoinModifyWindow::Make(AElement& element, FileArgument* data) {
    D_JoinElem* rule = dynamic_cast<D_JoinElem*>(data);
    if (rule == nullptr) {
        std::cerr << "AJoinModifyWindow::Make: no JOIN data" << std::endl;
        return nullptr;
    }
    return new AJoinModifyWindow(rule, &element);
}

void AJoinModifyWindow::Choose(int value) {
    workingCopy->SetRule(value);
}

void AJoinModifyWindow::StoreCopy() {
    if (AJoinElem* join = dynamic_cast<AJoinElem*>(element)) join->GetData() = *workingCopy;
}
