#pragma once

#include <X11/Intrinsic.h>

#include "model/elements/ElementType.h"

// The popup menus of one working area, made and destroyed by CreatePopupMenus and
// DestroyPopupMenus: an element menu by type code (null for a type without one) and the
// background menu.
struct PopupMenus {
    Widget elements[kElementTypeCount];
    Widget background;

    // The menu of a type; null for a code out of range or a type without a menu.
    Widget ForType(int type) const {
        return type >= 0 && type < kElementTypeCount ? elements[type] : nullptr;
    }
};
