#pragma once

// A dialog's contents in a scrolled window of their own, so that a dialog taller or wider than
// the screen it is shown on still fits: the contents scroll while the button row, kept outside
// the scrolled window, stays on the screen. While the dialog fits, the scrolled window takes
// exactly the size of its contents and shows no scroll bars, so the dialog looks as without it.

#include <X11/Intrinsic.h>

// The size a scrolled body gets on one screen. Along an axis where the contents (natural pixels)
// and the rest of the dialog (other pixels: margins, the button row, the window manager's frame)
// fit the room, the body is as large as its contents; along one where they do not, it takes the
// room that is left and scrolls. An axis that scrolls puts a scroll bar along the other one
// (barWidth wide for the vertical bar, barHeight high for the horizontal one), which may make
// that axis scroll too. Never smaller than one pixel.
struct BodySize {
    int width, height;
    bool scrollsX, scrollsY;
};
BodySize FitBody(int naturalWidth, int naturalHeight, int otherWidth, int otherHeight,
                 int roomWidth, int roomHeight, int barWidth, int barHeight);

// A scrolled window "body" in parent, scrolling by itself with scroll bars as needed and without
// margins or shadow; the contents are created in it. Managed.
Widget CreateScrolledBody(Widget parent);

// Once the dialog's shell holds everything (realized here when it is not), sizes the body that
// contents (the one child created in it) sits in: as large as the contents while the shell and
// the frame the window manager puts around it fit the screen, else as large as the screen lets
// it be. The contents fill the body where it is the larger (a button row wider than them).
void FitScrolledBody(Widget body, Widget contents);
