#pragma once

// Scrolling a matrix grid to the far end of a large plane, for the GUI tests and for the benches
// that time its redraws there (which are built without the tests' libraries, so it is all here).

#include <Xm/ScrollBar.h>
#include <Xm/Xm.h>

namespace testgui {

// Moves the scroll bars of the scrolled window that holds area (its clip window's parent) to the
// right end and to the top, where the last cell is, as the user's drags do; the caller lets it
// redraw.
inline void ScrollToFarEnd(Widget area) {
    Widget scrolled = XtParent(XtParent(area));
    Widget horizontal = nullptr, vertical = nullptr;
    XtVaGetValues(scrolled, XmNhorizontalScrollBar, &horizontal, XmNverticalScrollBar, &vertical,
                  nullptr);
    if (horizontal != nullptr) {
        int maximum = 0, slider = 0;
        XtVaGetValues(horizontal, XmNmaximum, &maximum, XmNsliderSize, &slider, nullptr);
        XmScrollBarSetValues(horizontal, maximum - slider, 0, 0, 0, True);
    }
    if (vertical != nullptr) {
        int minimum = 0;
        XtVaGetValues(vertical, XmNminimum, &minimum, nullptr);
        XmScrollBarSetValues(vertical, minimum, 0, 0, 0, True);
    }
}

} // namespace testgui
