#include "shell/DragDisplay.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

Display* dragDisplay = nullptr;
int dragScreen = 0;
Window dragRootWindow = 0;
GC dragRootGC = nullptr;

} // namespace

const char* DragDisplayName(int argc, char** argv) {
    const char* name = nullptr;
    // The toolkit takes the last one too: a later "-display" overrides an earlier one.
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-display") == 0) {
            name = argv[i + 1];
            ++i;
        }
    }
    return name;
}

void OpenDragDisplay(int argc, char** argv) {
    const char* name = DragDisplayName(argc, argv);
    dragDisplay = XOpenDisplay(name);
    if (dragDisplay == nullptr) {
        std::fprintf(stderr, "QUIRAN: cannot connect to X server %s\n", XDisplayName(name));
        std::exit(1);
    }
    dragScreen = DefaultScreen(dragDisplay);
    dragRootWindow = RootWindow(dragDisplay, dragScreen);
    XGCValues values;
    values.subwindow_mode = IncludeInferiors;
    dragRootGC = XCreateGC(dragDisplay, dragRootWindow, GCSubwindowMode, &values);
}

Display* GetDragDisplay() {
    return dragDisplay;
}

Window GetDragRootWindow() {
    return dragRootWindow;
}

GC GetDragRootGC() {
    return dragRootGC;
}
