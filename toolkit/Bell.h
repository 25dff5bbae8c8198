#pragma once

#include <X11/Xlib.h>

// The one refusal bell of the program: refused input rings the display bell at volume 30. The
// ringing goes through a replaceable function so that tests can count bells.

using BellFunction = void (*)(Display* display, int percent);

constexpr int kBellVolume = 30;

// Rings the refusal bell on display.
void RingBell(Display* display);

// Makes bell the function that rings (nullptr restores XBell) and returns the previous one.
BellFunction SetBellFunction(BellFunction bell);
