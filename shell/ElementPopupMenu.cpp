#include "shell/ElementPopupMenu.h"

#include <Xm/LabelG.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <Xm/SeparatoG.h>
#include <Xm/Xm.h>

#include <cstdlib>
#include <iostream>
#include <utility>
#include <vector>

#include "editors/ModifyValueDialog.h"
#include "model/data/Architecture.h"
#include "model/data/ClockList.h"
#include "model/elements/AElement.h"
#include "model/elements/ALogicElem.h"
#include "model/elements/ElementType.h"
#include "shell/ArchitectureWindow.h"
#include "shell/DirectoriesOptionsDialog.h"
#include "shell/FileSelection.h"
#include "shell/MainWindow.h"
#include "shell/Startup.h"
#include "shell/StartupOptionsDialog.h"
#include "shell/WindowMessage.h"
#include "shell/WorkingAreaOptionsDialog.h"
#include "toolkit/Bell.h"
#include "toolkit/OwnedXmString.h"

namespace {

const char* const kItemNames[kElementMenuItemCount] = {
    nullptr,
    nullptr,
    "Modify ...",
    "Show Data ...",
    "Change Dimension ...",
    "Set Time ...",
    "Set Clock ...",
    "Set Name ...",
    "Load ...",
    "Save ...",
    "Modify External Data...",
    "n:1",
    "1:n",
};

const int32_t kMaxTimeValue = 999999;
const int32_t kMinPorts = 2;
const int32_t kMaxPorts = 999;
const int kPopupMenuExit = 200;

// The elements whose number dialog is open, with their owners: a dialog's answer reaches its
// element only while the owner still holds it, so that an element deleted under an open dialog
// is never touched. Stale entries of dialogs that went with their parent stay behind harmlessly.
std::vector<std::pair<AElement*, Architecture*>> asking;

void Remember(AElement& element) {
    asking.emplace_back(&element, element.GetOwner());
}

// The element of an answer, or null when it has gone. The entry is forgotten.
AElement* Recall(void* client) {
    AElement* element = static_cast<AElement*>(client);
    for (size_t i = asking.size(); i-- > 0;) {
        if (asking[i].first != element) continue;
        Architecture* owner = asking[i].second;
        asking.erase(asking.begin() + static_cast<long>(i));
        if (owner != nullptr && owner->GetElements().Find(element) < 0) return nullptr;
        return element;
    }
    return nullptr;
}

Widget OwnerShell(const AElement& element) {
    auto* window = dynamic_cast<ArchitectureWindow*>(element.GetOwner());
    Widget shell = window != nullptr ? window->GetShell() : nullptr;
    return shell != nullptr ? shell : GetTopLevelShell();
}

void AskPorts(AElement& element) {
    const bool split = element.GetType() == kSplit;
    Remember(element);
    new ModifyValueDialog(OwnerShell(element), split ? "Set Outputs" : "Set Inputs",
                          split ? "New Outputs:" : "New Inputs:",
                          split ? element.GetOutputCount() : element.GetInputCount(), kMinPorts,
                          kMaxPorts, SetPortsCallback, &element);
}

FileKind FileKindOf(const AElement& element) {
    const ElementRow* row = FindElementRow(element.GetType());
    return row != nullptr ? row->fileKind : kNoFileKind;
}

void Load(AElement& element) {
    if (element.GetModifyWindow() != nullptr) {
        if (WindowMessage(OwnerShell(element), kMessageYesNo, "Warning",
                          "Changes in the 'Modify'-Window will be discarded\nContinue?") !=
            kResultYes) {
            return;
        }
        element.CloseModifyWindow();
    }
    OpenDialog(element, FileKindOf(element), nullptr);
}

void Save(AElement& element) {
    if (!element.IsDefined()) {
        WindowMessage(OwnerShell(element), kMessageWarning, "Error", "Element is not yet defined!");
        return;
    }
    SaveAsDialog(element, FileKindOf(element), nullptr);
}

} // namespace

const char* ElementMenuItemName(int item) {
    return item >= 0 && item < kElementMenuItemCount ? kItemNames[item] : nullptr;
}

const int* ElementMenuRow(int type) {
    const ElementRow* row = type >= 0 ? FindElementRow(static_cast<uint32_t>(type)) : nullptr;
    return row != nullptr && row->HasPopupMenu() ? row->popup.items : nullptr;
}

int32_t TimeMinimum(uint32_t type) {
    const ElementRow* row = FindElementRow(type);
    return row != nullptr ? row->minTime : 0;
}

bool MayHaveNoClock(uint32_t type) {
    const ElementRow* row = FindElementRow(type);
    return row == nullptr || !row->needsClock;
}

void CreatePopupMenus(ArchitectureWindow& window) {
    Widget area = window.GetCadArea();
    if (area == nullptr) {
        std::cerr << "CreatePopupMenus: the working area does not exist" << std::endl;
        std::exit(kPopupMenuExit);
    }
    for (const ElementRow& row : ElementRows()) {
        if (!row.HasPopupMenu()) continue;
        Widget menu = XmCreatePopupMenu(area, const_cast<char*>("aelement_menu"), nullptr, 0);
        XtVaCreateManagedWidget(row.name, xmLabelGadgetClass, menu, nullptr);
        XtVaCreateManagedWidget("Separator", xmSeparatorGadgetClass, menu, nullptr);
        XtVaCreateManagedWidget("Separator", xmSeparatorGadgetClass, menu, nullptr);
        for (int i = 0; i < kMenuRowLength && row.popup.items[i] != kItemEnd; i++) {
            const int item = row.popup.items[i];
            if (item == kItemSeparator) {
                XtVaCreateManagedWidget("Separator", xmSeparatorGadgetClass, menu, nullptr);
                continue;
            }
            Widget button =
                XtVaCreateManagedWidget(kItemNames[item], xmPushButtonGadgetClass, menu, nullptr);
            XtAddCallback(button, XmNactivateCallback, ElementMenuCallback,
                          reinterpret_cast<XtPointer>(static_cast<intptr_t>(item)));
        }
        window.GetPopupMenus().elements[static_cast<int>(row.type)] = menu;
    }

    OwnedXmString title("Options");
    OwnedXmString workingArea("Working Area...");
    OwnedXmString directories("Directories...");
    OwnedXmString startup("Startup...");
    Widget options = XmVaCreateSimplePopupMenu(
        area, const_cast<char*>("option_popup"), OptionMenuCallback, XmVaTITLE, title.Get(),
        XmVaSEPARATOR, XmVaSEPARATOR, XmVaPUSHBUTTON, workingArea.Get(), 0, nullptr, nullptr,
        XmVaSEPARATOR, XmVaPUSHBUTTON, directories.Get(), 0, nullptr, nullptr, XmVaPUSHBUTTON,
        startup.Get(), 0, nullptr, nullptr, nullptr);
    if (window.GetWindowKind() == kMacroWindowKind) {
        // Directories and start-up options belong to the main window.
        for (const char* name : {"button_1", "button_2"}) {
            Widget button = XtNameToWidget(options, name);
            if (button != nullptr) XtSetSensitive(button, False);
        }
    }
    window.GetPopupMenus().background = options;
}

void DestroyPopupMenus(ArchitectureWindow& window) {
    PopupMenus& menus = window.GetPopupMenus();
    for (Widget& menu : menus.elements) {
        if (menu != nullptr) XtDestroyWidget(menu);
        menu = nullptr;
    }
    if (menus.background != nullptr) XtDestroyWidget(menus.background);
    menus.background = nullptr;
}

void ElementMenuCallback(Widget widget, XtPointer item, XtPointer) {
    XtPointer userData = nullptr;
    XtVaGetValues(XtParent(widget), XmNuserData, &userData, nullptr);
    AElement* element = static_cast<AElement*>(userData);
    if (element == nullptr) return;
    switch (static_cast<int>(reinterpret_cast<intptr_t>(item))) {
        case kItemModify:
            element->OpenModifyWindow();
            break;
        case kItemShowData:
            // All SPLIT outputs carry the same plane: its window shows the first.
            element->OpenShowDataWindow(element->GetType() == kSplit ? 1 : 0);
            break;
        case kItemChangeDimension:
            element->OpenDimensionDialog();
            break;
        case kItemSetTime:
            AskTime(*element);
            break;
        case kItemSetClock:
            AskClock(*element, MayHaveNoClock(element->GetType()));
            break;
        case kItemSetName:
            element->OpenSetNameDialog();
            break;
        case kItemLoad:
            Load(*element);
            break;
        case kItemSave:
            Save(*element);
            break;
        case kItemInputs:
        case kItemOutputs:
            AskPorts(*element);
            break;
        case kItemExternalData:
            if (auto* logic = dynamic_cast<ALogicElem*>(element)) logic->OpenExternalDataWindow();
            break;
        default:
            break;
    }
}

void OptionMenuCallback(Widget widget, XtPointer button, XtPointer) {
    XtPointer userData = nullptr;
    XtVaGetValues(XtParent(widget), XmNuserData, &userData, nullptr);
    ArchitectureWindow* window = static_cast<ArchitectureWindow*>(userData);
    MainWindow* main = GetMainWindow();
    switch (static_cast<int>(reinterpret_cast<intptr_t>(button))) {
        case 0:
            if (window != nullptr && window->GetWorkingAreaOptionsDialog() == nullptr) {
                new WorkingAreaOptionsDialog(window);
            }
            break;
        case 1:
            if (main != nullptr && main->GetDirectoriesDialog() == nullptr) {
                new DirectoriesOptionsDialog(main);
            }
            break;
        case 2:
            if (main != nullptr && main->GetStartupDialog() == nullptr) {
                new StartupOptionsDialog(main);
            }
            break;
        default:
            break;
    }
}

void AskTime(AElement& element) {
    const uint32_t time = element.GetTime();
    Remember(element);
    new ModifyValueDialog(OwnerShell(element), "Set Time", "Time:",
                          time > static_cast<uint32_t>(kMaxTimeValue) ? kMaxTimeValue
                                                                      : static_cast<int32_t>(time),
                          TimeMinimum(element.GetType()), kMaxTimeValue, SetTimeCallback, &element);
}

void AskClock(AElement& element, int allowNone) {
    const int clocks = GetClockCount();
    if (clocks < 1) {
        // A dialog whose maximum is 0 could not be answered.
        RingBell(XtDisplay(OwnerShell(element)));
        return;
    }
    Remember(element);
    new ModifyValueDialog(OwnerShell(element), "Set Clock",
                          allowNone ? "Clock:\n(0 means no clock)" : "Clock:", element.GetClock(),
                          allowNone ? 0 : 1, clocks, SetClockCallback, &element);
}

void SetTimeCallback(int cancelled, int value, void* client) {
    AElement* element = Recall(client);
    if (cancelled || element == nullptr || element->GetTime() == static_cast<uint32_t>(value)) {
        return;
    }
    element->SetTime(static_cast<uint32_t>(value));
    element->SetModified();
}

void SetClockCallback(int cancelled, int value, void* client) {
    AElement* element = Recall(client);
    if (cancelled || element == nullptr || element->GetClock() == value) return;
    element->SetClock(value);
    element->SetModified();
}

void SetPortsCallback(int cancelled, int value, void* client) {
    AElement* element = Recall(client);
    if (cancelled || element == nullptr) return;
    if (element->GetType() == kSplit) {
        element->SetPinCount(element->GetInputCount(), value, 1);
    } else if (element->GetType() == kJoin) {
        element->SetPinCount(value, element->GetOutputCount(), 1);
    } else {
        return;
    }
    // Marked even when the taller icon would overlap a neighbour and the count stays.
    element->SetModified();
}
