#include "tests/support/program/WindowSearch.h"

namespace e2e {

Window FindViewableBySize(Display* display, Window window, int width, int height) {
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
    for (unsigned int i = 0; i < count && found == 0; i++) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(display, children[i], &a) || a.map_state != IsViewable) {
            continue;
        }
        if (a.width == width && a.height == height) {
            found = children[i];
        } else {
            found = FindViewableBySize(display, children[i], width, height);
        }
    }
    if (children != nullptr) XFree(children);
    return found;
}

} // namespace e2e
