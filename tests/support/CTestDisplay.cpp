// Points DISPLAY at the X server that CTest handed this test, before anything opens a display.
//
// scripts/run-tests starts several virtual servers and lists them as the resource "displays"
// with the ids "d<number>"; a GUI test asks for one of them, so tests in parallel never share a
// screen, a pointer or a keyboard focus. Run without a resource spec, DISPLAY stays as it is.
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

const bool kDisplaySet = [] {
    const std::string display = AllocatedDisplay();
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
    return true;
}();

} // namespace
