#pragma once

// The popup menus of an architecture window's working area: one element menu "aelement_menu" per
// element type MASK to MACRO_OUTPUT, built from one item table and one row of item indices per
// type, and the background menu "option_popup". The working area pops the menu of an element's
// type up with the element as the menu's userData, the background menu with the window. The
// entries open the element's windows, ask for its time, clock and pin counts, and load and save
// its element file.

#include <X11/Intrinsic.h>

#include <cstdint>

class AElement;
class ArchitectureWindow;

// The item table, indexed by the client data of every element-menu entry.
enum ElementMenuItem : int {
    kItemEnd = 0,
    kItemSeparator = 1,
    kItemModify = 2,
    kItemShowData = 3,
    kItemChangeDimension = 4,
    kItemSetTime = 5,
    kItemSetClock = 6,
    kItemSetName = 7,
    kItemLoad = 8,
    kItemSave = 9,
    kItemExternalData = 10,
    kItemInputs = 11,
    kItemOutputs = 12,
};

const int kElementMenuItemCount = 13;
const int kElementMenuCount = 13; // types MASK .. MACRO_OUTPUT; HELP_ELEMENT has none
const int kMenuRowLength = 12;    // entries of a row at most

// The widget name (and label) of an item; null for the end mark and the separator.
const char* ElementMenuItemName(int item);
// The type's row of item indices, kMenuRowLength entries, ended by kItemEnd when shorter.
const int* ElementMenuRow(int type);

// The limits of the "Set Time" and "Set Clock" dialogs of a type.
int32_t TimeMinimum(uint32_t type);
// Whether the type may be left without a clock (all but INPUT and OUTPUT).
bool MayHaveNoClock(uint32_t type);

// Builds the menus on the window's working area; exits with 200 when it has none yet.
void CreatePopupMenus(ArchitectureWindow& window);
void DestroyPopupMenus(ArchitectureWindow& window);

// client data: the item index; the element is the userData of the entry's menu.
void ElementMenuCallback(Widget widget, XtPointer item, XtPointer call);
// client data: the button index (0 working area, 1 directories, 2 start-up); the window is the
// userData of the menu.
void OptionMenuCallback(Widget widget, XtPointer button, XtPointer call);

// The one-value dialogs over the element's owner window. Set Clock with no clock to choose rings
// the bell instead.
void AskTime(AElement& element);
void AskClock(AElement& element, int allowNone);
// Their result functions; client is the dialog's record of the element.
void SetTimeCallback(int cancelled, int value, void* client);
void SetClockCallback(int cancelled, int value, void* client);
void SetPortsCallback(int cancelled, int value, void* client);
