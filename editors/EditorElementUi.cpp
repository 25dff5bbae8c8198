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

// The views one element type has of its own.
struct TypeViews {
    ModifyWindowMaker modify;
    ViewMaker showData;
    ViewMaker permDimension;
    ViewMaker externalData;
};

struct EditorRow {
    uint32_t type;
    TypeViews views;
};

// The editors' own windows, by type code; a test may register others in their place.
const EditorRow kEditorRows[] = {
    // type, modify window, show-data window, PERM dimension dialog, external-data window
    {kMask, {AMaskModifyWindow::Make, nullptr, nullptr, nullptr}},
    {kRule, {ARuleModifyWindow::Make, nullptr, nullptr, nullptr}},
    {kPerm, {APermModifyWindow::Make, nullptr, PermDimensionDialog::Make, nullptr}},
    {kLogic,
     {ALogicModifyWindow::Make, LogicShowDataWindow::Make, nullptr, ExternalDataWindow::Make}},
    {kSSeed, {ASSeedModifyWindow::Make, nullptr, nullptr, nullptr}},
    {kJoin, {AJoinModifyWindow::Make, nullptr, nullptr, nullptr}},
    {kInput, {MakeInputModifyWindow, nullptr, nullptr, nullptr}},
    {kOutput, {MakeOutputModifyWindow, nullptr, nullptr, nullptr}},
    {kCElem, {ACModifyWindow::Make, nullptr, nullptr, nullptr}},
};

// The registered makers by type code, the editors' own until a test replaces them.
TypeViews* Registry() {
    static TypeViews views[kElementTypeCount] = {};
    static const bool filled = [] {
        for (const EditorRow& row : kEditorRows)
            views[row.type] = row.views;
        return true;
    }();
    (void)filled;
    return views;
}

TypeViews* ViewsOf(uint32_t type, const char* caller) {
    if (type < static_cast<uint32_t>(kElementTypeCount)) return &Registry()[type];
    if (caller != nullptr) std::cerr << caller << ": no type " << type << std::endl;
    return nullptr;
}

// The member of TypeViews that holds the maker of a kind; null for the modify window's kind and
// for the views every type shares.
ViewMaker TypeViews::*MakerOf(ElementViewKind kind) {
    switch (kind) {
        case kShowDataView:
            return &TypeViews::showData;
        case kPermDimensionView:
            return &TypeViews::permDimension;
        case kExternalDataView:
            return &TypeViews::externalData;
        default:
            return nullptr;
    }
}

ElementView* CreateShowDataWindow(AElement& element, int index) {
    auto* window = new ShowDataWindow(&element, index, element.GetShowDataGeometry());
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

} // namespace

void RegisterModifyWindowMaker(uint32_t type, ModifyWindowMaker maker) {
    if (TypeViews* views = ViewsOf(type, "RegisterModifyWindowMaker")) views->modify = maker;
}

void RegisterViewMaker(ElementViewKind kind, uint32_t type, ViewMaker maker) {
    TypeViews* views = ViewsOf(type, "RegisterViewMaker");
    ViewMaker TypeViews::*member = MakerOf(kind);
    if (views != nullptr && member != nullptr) views->*member = maker;
}

ElementView* EditorElementUi::CreateView(const ViewRequest& request) {
    if (request.element == nullptr) return nullptr;
    if (request.kind == kTwoValuesView) {
        return request.question != nullptr ? CreateTwoValuesDialog(*request.question) : nullptr;
    }
    AElement& element = *request.element;
    if (request.kind == kSetNameView) return new SetNameDialog(&element);
    const TypeViews* views = ViewsOf(element.GetType(), nullptr);
    if (request.kind == kModifyView) {
        if (views == nullptr || views->modify == nullptr) return nullptr;
        return views->modify(element, request.data);
    }
    ViewMaker TypeViews::*member = MakerOf(request.kind);
    ViewMaker maker = views != nullptr && member != nullptr ? views->*member : nullptr;
    if (maker != nullptr) return maker(element, request);
    // Every type without a window of its own has the stock show-data window.
    return request.kind == kShowDataView ? CreateShowDataWindow(element, request.index) : nullptr;
}
