#include "tests/support/screenshot/Screenshot.h"

#include <X11/Xutil.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace testshot {

namespace {

// Writes the image as a binary PPM; false when the file could not be written.
bool WritePpm(XImage* image, const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::perror(path.c_str());
        return false;
    }
    std::fprintf(file, "P6\n%d %d\n255\n", image->width, image->height);
    std::vector<unsigned char> row(static_cast<size_t>(image->width) * 3);
    bool written = true;
    for (int y = 0; y < image->height && written; y++) {
        for (int x = 0; x < image->width; x++) {
            const unsigned long pixel = XGetPixel(image, x, y);
            row[static_cast<size_t>(x) * 3] = static_cast<unsigned char>(pixel >> 16);
            row[static_cast<size_t>(x) * 3 + 1] = static_cast<unsigned char>(pixel >> 8);
            row[static_cast<size_t>(x) * 3 + 2] = static_cast<unsigned char>(pixel);
        }
        written = std::fwrite(row.data(), 1, row.size(), file) == row.size();
    }
    if (std::fclose(file) != 0) written = false;
    if (!written) std::perror(path.c_str());
    return written;
}

} // namespace

std::string Folder() {
    const char* folder = std::getenv("QUIRAN_SCREENSHOTS");
    if (folder == nullptr || folder[0] == '\0') return "";
    if (mkdir(folder, 0755) != 0 && errno != EEXIST) std::perror(folder);
    return folder;
}

bool Save(Display* display, Window window, const char* name, int width, int height) {
    const std::string folder = Folder();
    if (folder.empty()) return true;
    const std::string path = folder + "/" + name + ".ppm";
    XSync(display, False);
    XWindowAttributes windowAttributes, rootAttributes;
    const Window root = DefaultRootWindow(display);
    if (window == 0 || !XGetWindowAttributes(display, window, &windowAttributes) ||
        !XGetWindowAttributes(display, root, &rootAttributes)) {
        std::fprintf(stderr, "%s: no such window\n", path.c_str());
        return false;
    }
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child);
    // Only what lies on the screen can be read.
    const int right =
        std::min(x + (width > 0 ? width : windowAttributes.width), rootAttributes.width);
    const int bottom =
        std::min(y + (height > 0 ? height : windowAttributes.height), rootAttributes.height);
    x = std::max(x, 0);
    y = std::max(y, 0);
    if (right <= x || bottom <= y) {
        std::fprintf(stderr, "%s: the window lies off the screen\n", path.c_str());
        return false;
    }
    XImage* image = XGetImage(display, root, x, y, static_cast<unsigned>(right - x),
                              static_cast<unsigned>(bottom - y), AllPlanes, ZPixmap);
    if (image == nullptr) {
        std::fprintf(stderr, "%s: the screen could not be read\n", path.c_str());
        return false;
    }
    const bool written = WritePpm(image, path);
    XDestroyImage(image);
    return written;
}

bool SaveScreen(Display* display, const char* name, int width, int height) {
    return Save(display, DefaultRootWindow(display), name, width, height);
}

} // namespace testshot
