// Points DISPLAY at the X server that CTest handed this test, before anything opens a display,
// and parks the pointer in the screen's far corner.
//
// scripts/run-tests starts several virtual servers and lists them as the resource "displays"
// with the ids "d<number>"; a GUI test asks for one of them, so tests in parallel never share a
// screen, a pointer or a keyboard focus. A server serves test after test, so the pointer is
// wherever the last one left it: parked, it sends no crossing events into a test's new windows.
// Run without the list of servers, nothing changes.
#include <X11/Xlib.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string AllocatedDisplay() {
    const char* count = std::getenv("CTEST_RESOURCE_GROUP_COUNT");
    if (count == nullptr || std::atoi(count) < 1) return "";
    const char* ids = std::getenv("CTEST_RESOURCE_GROUP_0_DISPLAYS"); // "id:d12,slots:1"
    if (ids == nullptr) return "";
    const char* id = std::strstr(ids, "id:d");
    if (id == nullptr) return "";
    id += std::strlen("id:d");
    const size_t digits = std::strspn(id, "0123456789");
    if (digits == 0) return "";
    return ":" + std::string(id, digits);
}

void ParkPointer() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return;
    const int screen = DefaultScreen(display);
    XWarpPointer(display, 0, RootWindow(display, screen), 0, 0, 0, 0,
                 DisplayWidth(display, screen) - 1, DisplayHeight(display, screen) - 1);
    XCloseDisplay(display);
}

const bool kDisplaySet = [] {
    const std::string display = AllocatedDisplay();
    if (display.empty()) return false;
    setenv("DISPLAY", display.c_str(), 1);
    ParkPointer();
    return true;
}();

} // namespace
