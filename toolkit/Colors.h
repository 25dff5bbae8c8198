#pragma once

#include <X11/Intrinsic.h>

// The program's fixed palette of named colours and its 2 by 2 checkerboard stipple, made once
// at start-up on the top-level shell's screen and kept for the whole run. Until then every
// getter returns 0.

// Makes the stipple on the root window of topLevel's screen; returns 1.
int CreateStippleBitmap(Widget topLevel);
// Converts the palette through topLevel (default colormap of its screen); returns 1. A name
// that cannot be converted leaves its slot 0.
int InitColors(Widget topLevel);

// The pixel of a colour name, converted through the top-level shell given to InitColors; 0
// when the conversion fails (the converter reports the name as a toolkit warning).
Pixel GetColorByName(const char* name);

Pixel GetWhite();
Pixel GetGray();
Pixel GetLightGray();
Pixel GetGray50();
Pixel GetBlack(); // the black pixel of the screen
Pixel GetRed();
Pixel GetBlue();
Pixel GetGreen();
Pixel GetGray90();
Pixel GetYellow();
Pixel GetGray90b(); // a second gray90 slot for the welcome and about windows

Pixmap GetStipple();

// The stipple's bits: pixels (0, 0) and (1, 1) set.
Pixmap CreateStipple(Display* display, Drawable root);
