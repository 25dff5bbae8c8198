#include "toolkit/Colors.h"

#include <X11/StringDefs.h>

#include <cstring>

namespace {

Widget colorShell = nullptr;
Pixmap stipple = None;

Pixel white = 0;
Pixel gray = 0;
Pixel lightGray = 0;
Pixel gray50 = 0;
Pixel black = 0;
Pixel red = 0;
Pixel blue = 0;
Pixel green = 0;
Pixel gray90 = 0;
Pixel yellow = 0;
Pixel gray90b = 0;

} // namespace

Pixmap CreateStipple(Display* display, Drawable root) {
    static const char kBits[] = {0x01, 0x02}; // row 0, row 1
    return XCreateBitmapFromData(display, root, kBits, 2, 2);
}

int CreateStippleBitmap(Widget topLevel) {
    stipple = CreateStipple(XtDisplay(topLevel), RootWindowOfScreen(XtScreen(topLevel)));
    return 1;
}

Pixel GetColorByName(const char* name) {
    if (colorShell == nullptr) {
        return 0;
    }
    XrmValue from;
    from.addr = const_cast<XPointer>(name);
    from.size = static_cast<unsigned int>(std::strlen(name) + 1);
    Pixel pixel = 0;
    XrmValue to;
    to.addr = reinterpret_cast<XPointer>(&pixel);
    to.size = sizeof pixel;
    if (!XtConvertAndStore(colorShell, XtRString, &from, XtRPixel, &to)) {
        return 0;
    }
    return pixel;
}

int InitColors(Widget topLevel) {
    colorShell = topLevel;
    white = GetColorByName("white");
    gray = GetColorByName("gray");
    lightGray = GetColorByName("light gray");
    gray50 = GetColorByName("gray50");
    black = BlackPixelOfScreen(XtScreen(topLevel));
    red = GetColorByName("red");
    blue = GetColorByName("blue");
    green = GetColorByName("green");
    gray90 = GetColorByName("gray90");
    yellow = GetColorByName("yellow");
    gray90b = GetColorByName("gray90");
    return 1;
}

Pixel GetWhite() {
    return white;
}
Pixel GetGray() {
    return gray;
}
Pixel GetLightGray() {
    return lightGray;
}
Pixel GetGray50() {
    return gray50;
}
Pixel GetBlack() {
    return black;
}
Pixel GetRed() {
    return red;
}
Pixel GetBlue() {
    return blue;
}
Pixel GetGreen() {
    return green;
}
Pixel GetGray90() {
    return gray90;
}
Pixel GetYellow() {
    return yellow;
}
Pixel GetGray90b() {
    return gray90b;
}

Pixmap GetStipple() {
    return stipple;
}
