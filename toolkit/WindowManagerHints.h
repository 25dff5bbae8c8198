#pragma once

// The window-manager decorations and functions that the program's shells ask for, named after
// the Motif hint bits they combine, so no shell states them as bare numbers.

#include <Xm/MwmUtil.h>

// Dialogs: border and window menu; move and close (18 and 36).
const int kDialogDecorations = MWM_DECOR_BORDER | MWM_DECOR_MENU;
const int kDialogFunctions = MWM_FUNC_MOVE | MWM_FUNC_CLOSE;

// Resizable windows (element windows, the element list, the overview): border, resize handles,
// title and window menu; resize, move and close (30 and 38).
const int kWindowDecorations =
    MWM_DECOR_BORDER | MWM_DECOR_RESIZEH | MWM_DECOR_TITLE | MWM_DECOR_MENU;
const int kWindowFunctions = MWM_FUNC_RESIZE | MWM_FUNC_MOVE | MWM_FUNC_CLOSE;

// The message dialog offers only the move function (4).
const int kMessageFunctions = MWM_FUNC_MOVE;

// The about window: border, title, window menu and minimize; move and close (58 and 36).
const int kAboutDecorations =
    MWM_DECOR_BORDER | MWM_DECOR_TITLE | MWM_DECOR_MENU | MWM_DECOR_MINIMIZE;

// The splash: its border only (2); it can only be moved (4).
const int kSplashDecorations = MWM_DECOR_BORDER;
const int kSplashFunctions = MWM_FUNC_MOVE;

static_assert(kDialogDecorations == 18 && kDialogFunctions == 36, "dialog hints");
static_assert(kWindowDecorations == 30 && kWindowFunctions == 38, "window hints");
static_assert(kMessageFunctions == 4, "message dialog hints");
static_assert(kAboutDecorations == 58, "about window hints");
static_assert(kSplashDecorations == 2 && kSplashFunctions == 4, "splash hints");
