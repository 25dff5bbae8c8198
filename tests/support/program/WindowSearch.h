#pragma once

// Finding the program's windows from the test's own connection to the X server.

#include <X11/Xlib.h>

namespace e2e {

// The first viewable window of exactly that size below window (depth first), 0 for none. The
// caller's connection should ignore errors about windows that go while the tree is walked.
Window FindViewableBySize(Display* display, Window window, int width, int height);

} // namespace e2e
