#pragma once

// The popup menus of an architecture window's working area: one element menu "aelement_menu" per
// element type with a popup row (MASK to MACRO_OUTPUT), built from one item table and the rows
// of the type list, and the background menu "option_popup". The working area pops the menu of an
// element's type up with the element as the menu's userData, the background menu with the window.
// The entries open the element's windows, ask for its time, clock and pin counts, and load and save
// its element file.

#include <X11/Intrinsic.h>

#include <cstdint>

#include "model/elements/ElementType.h"

class AElement;
class ArchitectureWindow;

// The item table (ElementMenuItem, ElementType.h), indexed by the client data of every
// element-menu entry.
const int kElementMenuItemCount = 13;

// The widget name (and label) of an item; null for the end mark and the separator.
const char* ElementMenuItemName(int item);
// The type's row of item indices from its type row, kMenuRowLength entries, ended by kItemEnd
// when shorter; null for a type without a menu.
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
