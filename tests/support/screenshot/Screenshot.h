#pragma once

// The one way tests keep pictures for a person to look at. Nothing is written unless the
// environment variable QUIRAN_SCREENSHOTS names a folder: a test run leaves no files behind.

#include <X11/Xlib.h>

#include <string>

namespace testshot {

// The folder QUIRAN_SCREENSHOTS names (made when missing), "" when no screenshots are asked for.
std::string Folder();

// With screenshots asked for, writes <folder>/<name>.ppm: what the screen shows of window, or of
// its top-left width x height when both are given (0 takes the window's own size). The picture
// is read from the root window, so it holds whatever lies over the window, as a person sees it.
// True when nothing was asked for or the file was written; false, with the reason on standard
// error, when it could not be.
bool Save(Display* display, Window window, const char* name, int width = 0, int height = 0);

// The same for the whole screen of display, or its top-left width x height.
bool SaveScreen(Display* display, const char* name, int width = 0, int height = 0);

} // namespace testshot
