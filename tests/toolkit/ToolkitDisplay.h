#pragma once

#include <X11/Intrinsic.h>

#include "tests/support/gui/GuiDisplay.h"
#include "tests/support/gui/GuiWidgets.h"

// The one display of a GUI test process: opened on first use with the program's class and
// fallback resources, with the palette, the stipple, the matrix contexts and the repeat timer's
// application context set up as start-up does, and every refusal bell counted. Realized, 400 by
// 300, at (0, 0).
using ToolkitDisplay = testgui::GuiDisplay;

// nullptr display when no X server could be reached.
ToolkitDisplay& Toolkit();

// Bells rung since the last ResetBells, and the volume of the last one.
using testgui::BellCount;
using testgui::LastBellVolume;
using testgui::ResetBells;

// The event loop, milliseconds of a steady clock.
using testgui::Flush;
using testgui::NowMs;
using testgui::RunFor;
using testgui::RunUntil;

// Synthetic events for driving widgets through their actions.
using testgui::ButtonEvent;
using testgui::CallAction;
using testgui::FocusEvent;
using testgui::KeyEvent;

// A real click through the server on a button of a message box (its gadgets are
// XmMessageBoxGetChild children).
void ClickMessageButton(Widget box, unsigned char child);
// What a window manager sends to a shell when the user closes its window.
using testgui::SendDeleteWindow;

// Kills the test process after seconds, so that a modal loop that is never answered fails
// the test instead of hanging it.
void Watchdog(unsigned seconds);
