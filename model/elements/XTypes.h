#pragma once

// The Xlib types that the model's headers name, declared exactly as Xlib declares them but
// without Xlib's macros (None, Bool, Status, True, ...), which clash with names in other
// libraries. Sources that draw include <X11/Xlib.h> themselves.

typedef struct _XDisplay Display;
typedef struct _XGC* GC;
typedef unsigned long XID;
typedef XID Window;
typedef XID Pixmap;
typedef XID Drawable;

// A window and the display it lives on; a null display means none.
struct DrawingTarget {
    Display* display;
    Window window;
};
