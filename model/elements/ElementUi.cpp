#include "model/elements/ElementUi.h"

#include "model/elements/ArchitectureGraphics.h"

namespace {

NullElementUi nullUi;
ElementUi* installedUi = &nullUi;

} // namespace

int NullElementUi::Ask(MessageKind kind, const char*, const char*) {
    switch (kind) {
        case kMessageInfo:
        case kMessageWarning:
            return kResultOk;
        case kMessageYesNo:
            return kResultNo;
        default:
            return kResultCancel;
    }
}

Window NullElementUi::GetWorkingArea(Architecture*, Display*& display) {
    display = nullptr;
    return 0;
}

ElementUi& GetElementUi() {
    return *installedUi;
}

void SetElementUi(ElementUi* ui) {
    ReleaseArchitectureGraphics();
    installedUi = ui != nullptr ? ui : &nullUi;
}
