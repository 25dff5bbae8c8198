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

void EditorElementUi::CreateModifyWindow(AElement& element, FileArgument* data,
                                         AElementModifyWindow** slot) {
    const uint32_t type = element.GetType();
    if (type < static_cast<uint32_t>(kElementTypeCount) && makers[type] != nullptr) {
        makers[type](element, data, slot);
    }
}

void EditorElementUi::PopupModifyWindow(AElementModifyWindow* window) {
    window->Popup();
}

void EditorElementUi::DeleteModifyWindow(AElementModifyWindow* window) {
    delete window;
}

void EditorElementUi::RefreshModifyWindow(AElementModifyWindow* window) {
    window->RefreshModifyWindow();
}

void EditorElementUi::Refresh(AElementModifyWindow* window) {
    window->Refresh();
}

void EditorElementUi::CreateShowDataWindow(AElement& element, AElementWindow** slot, int index,
                                           short* width, short* heights, int* zoom) {
    if (ALogicElem* logic = dynamic_cast<ALogicElem*>(&element)) {
        // A LOGIC element has one window, which shows all its outputs.
        if (index != 0) {
            logic->OpenShowDataWindow(0);
            return;
        }
        (new LogicShowDataWindow(logic, slot, width, heights, zoom))->CreateWidgets();
        return;
    }
    ShowDataWindow* window = new ShowDataWindow(&element, slot, index, width, heights, zoom);
    window->CreateWidgets();
}

void EditorElementUi::PopupWindow(AElementWindow* window) {
    window->Popup();
}

void EditorElementUi::DeleteWindow(AElementWindow* window) {
    delete window;
}

void EditorElementUi::RefreshShowDataWindow(AElementWindow* window) {
    if (ShowDataWindow* showData = dynamic_cast<ShowDataWindow*>(window)) {
        showData->RefreshIfUpdating();
    }
}

void EditorElementUi::RebuildShowDataWindow(AElementWindow* window) {
    if (ShowDataWindow* showData = dynamic_cast<ShowDataWindow*>(window)) showData->Rebuild();
}

void EditorElementUi::OpenSetNameDialog(AElement& element) {
    new SetNameDialog(&element);
}

void EditorElementUi::DeleteSetNameDialog(SetNameDialog* dialog) {
    delete dialog;
}

ModifyTwoValuesDialog*
EditorElementUi::OpenTwoValuesDialog(const char* title, const char* label1, int value1, int min1,
                                     int max1, const char* label2, int value2, int min2, int max2,
                                     TwoValuesCallback callback, void* client) {
    EditorHost* host = GetEditorHost();
    if (host == nullptr || host->GetTopLevel() == nullptr) {
        std::cerr << "EditorElementUi::OpenTwoValuesDialog: no top-level shell" << std::endl;
        return nullptr;
    }
    return new ModifyTwoValuesDialog(host->GetTopLevel(), title, label1, value1, min1, max1, label2,
                                     value2, min2, max2, callback, client, 0);
}

void EditorElementUi::DeleteTwoValuesDialog(ModifyTwoValuesDialog* dialog) {
    delete dialog;
}

void EditorElementUi::OpenPermDimensionDialog(APermElem& element) {
    EditorHost* host = GetEditorHost();
    if (host == nullptr || host->GetTopLevel() == nullptr) {
        std::cerr << "EditorElementUi::OpenPermDimensionDialog: no top-level shell" << std::endl;
        return;
    }
    new PermDimensionDialog(&element);
}

void EditorElementUi::DeletePermDimensionDialog(PermDimensionDialog* dialog) {
    delete dialog;
}

EditorElementUi::EditorElementUi() {
    SetPlaneWindowUi(this);
}

EditorElementUi::~EditorElementUi() {
    if (GetPlaneWindowUi() == this) SetPlaneWindowUi(nullptr);
}

void EditorElementUi::RecordPlane(AElementModifyWindow* window) {
    if (auto* planes = dynamic_cast<APlaneModifyWindow*>(window)) planes->RecordPlane();
}

void EditorElementUi::ShowPlane(AElementModifyWindow* window, int quiet) {
    if (auto* planes = dynamic_cast<APlaneModifyWindow*>(window)) planes->ShowPlane(quiet);
}

void EditorElementUi::ReloadStack(AElementModifyWindow* window) {
    if (auto* planes = dynamic_cast<APlaneModifyWindow*>(window)) planes->ReloadStack();
}

void EditorElementUi::CreateExternalDataWindow(ALogicElem& element, Matrix* externalData) {
    new ExternalDataWindow(externalData, &element);
}

void EditorElementUi::DeleteExternalDataWindow(ExternalDataWindow* window) {
    delete window;
}

void EditorElementUi::SetExternalData(ExternalDataWindow* window, Matrix* externalData,
                                      const std::vector<int>& columns) {
    window->SetData(externalData, columns);
}
