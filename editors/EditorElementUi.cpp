#include "editors/EditorElementUi.h"

#include <iostream>

#include "editors/ACModifyWindow.h"
#include "editors/AElementModifyWindow.h"
#include "editors/AInputModifyWindow.h"
#include "editors/AJoinModifyWindow.h"
#include "editors/ALogicModifyWindow.h"
#include "editors/AMaskModifyWindow.h"
#include "editors/AOutputModifyWindow.h"
#include "editors/APermModifyWindow.h"
#include "editors/ARuleModifyWindow.h"
#include "editors/ASSeedModifyWindow.h"
#include "editors/EditorHost.h"
#include "editors/ExternalDataWindow.h"
#include "editors/LogicShowDataWindow.h"
#include "editors/ModifyTwoValuesDialog.h"
#include "editors/PermDimensionDialog.h"
#include "editors/SetNameDialog.h"
#include "editors/ShowDataWindow.h"
#include "model/elements/AElement.h"
#include "model/elements/ALogicElem.h"
#include "model/elements/APermElem.h"
#include "model/elements/ElementType.h"

namespace {

// The editors' own windows, by type code; a test may register others in their place.
ModifyWindowMaker makers[kElementTypeCount] = {
    AMaskModifyWindow::Make,  // MASK
    ARuleModifyWindow::Make,  // RULE
    APermModifyWindow::Make,  // PERM
    ALogicModifyWindow::Make, // LOGIC
    ASSeedModifyWindow::Make, // S-SEED
    nullptr,                  // SPLIT
    AJoinModifyWindow::Make,  // JOIN
    MakeInputModifyWindow,    // INPUT
    MakeOutputModifyWindow,   // OUTPUT
    ACModifyWindow::Make,     // C++
};

} // namespace

void RegisterModifyWindowMaker(uint32_t type, ModifyWindowMaker maker) {
    if (type >= static_cast<uint32_t>(kElementTypeCount)) {
        std::cerr << "RegisterModifyWindowMaker: no type " << type << std::endl;
        return;
    }
    makers[type] = maker;
}

namespace {

ElementView* CreateModifyWindow(AElement& element, FileArgument* data) {
    const uint32_t type = element.GetType();
    if (type >= static_cast<uint32_t>(kElementTypeCount) || makers[type] == nullptr) return nullptr;
    return makers[type](element, data);
}

ElementView* CreateShowDataWindow(AElement& element, int index) {
    short* width = element.GetShowDataWidthStore();
    short* heights = element.GetShowDataHeightsStore();
    int* zoom = element.GetShowDataZoomStore();
    ShowDataWindow* window = nullptr;
    if (ALogicElem* logic = dynamic_cast<ALogicElem*>(&element)) {
        // A LOGIC element has one window, which shows all its outputs.
        if (index != 0) {
            logic->OpenShowDataWindow(0);
            return nullptr;
        }
        window = new LogicShowDataWindow(logic, width, heights, zoom);
    } else {
        window = new ShowDataWindow(&element, index, width, heights, zoom);
    }
    window->CreateWidgets();
    return window;
}

ElementView* CreateTwoValuesDialog(const TwoValuesQuestion& q) {
    EditorHost* host = GetEditorHost();
    if (host == nullptr || host->GetTopLevel() == nullptr) {
        std::cerr << "EditorElementUi::CreateView: no top-level shell" << std::endl;
        return nullptr;
    }
    return new ModifyTwoValuesDialog(host->GetTopLevel(), q.title, q.label1, q.value1, q.min1,
                                     q.max1, q.label2, q.value2, q.min2, q.max2, q.callback,
                                     q.client, 0);
}

ElementView* CreatePermDimensionDialog(AElement& element) {
    EditorHost* host = GetEditorHost();
    APermElem* perm = dynamic_cast<APermElem*>(&element);
    if (perm == nullptr || host == nullptr || host->GetTopLevel() == nullptr) {
        std::cerr << "EditorElementUi::CreateView: no PERM element or top-level shell" << std::endl;
        return nullptr;
    }
    return new PermDimensionDialog(perm);
}

ElementView* CreateExternalDataWindow(AElement& element) {
    ALogicElem* logic = dynamic_cast<ALogicElem*>(&element);
    Matrix* externalData = logic != nullptr ? logic->GetData().GetExternalData() : nullptr;
    if (externalData == nullptr) return nullptr;
    return new ExternalDataWindow(externalData, logic);
}

} // namespace

ElementView* EditorElementUi::CreateView(const ViewRequest& request) {
    if (request.element == nullptr) return nullptr;
    if (request.kind == kTwoValuesView) {
        return request.question != nullptr ? CreateTwoValuesDialog(*request.question) : nullptr;
    }
    AElement& element = *request.element;
    switch (request.kind) {
        case kModifyView:
            return CreateModifyWindow(element, request.data);
        case kShowDataView:
            return CreateShowDataWindow(element, request.index);
        case kSetNameView:
            return new SetNameDialog(&element);
        case kPermDimensionView:
            return CreatePermDimensionDialog(element);
        case kExternalDataView:
            return CreateExternalDataWindow(element);
        default:
            return nullptr;
    }
}
