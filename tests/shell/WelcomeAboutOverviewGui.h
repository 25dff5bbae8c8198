#pragma once

// The one main window of a test process for the welcome, About and overview tests (the shell test
// process's, tests/support/gui/ShellGui.h), and the helpers those tests share: running the event
// loop, finding popup shells, reading back a window's pixels and keeping screenshots.

#include <X11/IntrinsicP.h>
#include <X11/Shell.h>
#include <Xm/Xm.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "model/elements/ArchitectureGraphics.h"
#include "model/elements/ElementUi.h"
#include "model/format/TextFormat.h"
#include "shell/ArchitectureWindow.h"
#include "shell/MainWindow.h"
#include "shell/OverviewWindow.h"
#include "shell/ShellElementUi.h"
#include "shell/Startup.h"
#include "shell/WelcomeBitmaps.h"
#include "shell/WindowMessage.h"
#include "tests/support/gui/GuiDisplay.h"
#include "tests/support/gui/GuiWidgets.h"
#include "tests/support/gui/ShellGui.h"
#include "tests/support/screenshot/Screenshot.h"
#include "toolkit/Colors.h"
#include "toolkit/MatrixDraw.h"

using WindowsGui = testgui::ShellGui;

inline MessageResult AnswerNo(Widget, MessageKind, const char*, const char*) {
    return kResultNo;
}

using testgui::IsShown;
using testgui::PopupsNamed;
using testgui::ProcessFor;

// Opened on first use; main is null when no X server could be reached. Every question is
// answered No.
inline WindowsGui& TheWindowsGui() {
    WindowsGui& gui = testgui::TheShellGui();
    static const bool answering = (SetWindowMessageFunction(AnswerNo), true);
    (void)answering;
    return gui;
}

// Handles every queued event after the server has answered all requests.
inline void FlushEvents() {
    testgui::FlushAll();
}

// What a window manager sends when the user closes the shell's window; handled at once.
inline void SendDeleteWindow(Widget shell) {
    testgui::SendDeleteWindow(shell);
    FlushEvents();
}

// The pixels of a widget's window, row by row.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned long> pixels;
    unsigned long At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline Picture ReadBack(Widget widget) {
    Picture picture;
    Display* display = XtDisplay(widget);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, XtWindow(widget), &attributes)) return picture;
    // Nothing of another window may lie over the one read.
    Widget shell = widget;
    while (!XtIsShell(shell))
        shell = XtParent(shell);
    XRaiseWindow(display, XtWindow(shell));
    FlushEvents();
    ProcessFor(TheWindowsGui().app, 100);
    XImage* image =
        XGetImage(display, XtWindow(widget), 0, 0, static_cast<unsigned>(attributes.width),
                  static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr) return picture;
    picture.width = attributes.width;
    picture.height = attributes.height;
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x)
            picture.pixels[static_cast<size_t>(y) * picture.width + x] = XGetPixel(image, x, y);
    }
    XDestroyImage(image);
    return picture;
}

// The picture a table of bitmaps gives on the background: the bitmaps drawn in order, set bits
// in their colour.
inline Picture ExpectedPicture(int width, int height, const PlacedBitmap* table, int count,
                               unsigned long background) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(static_cast<size_t>(width) * height, background);
    for (int i = 0; i < count; i++) {
        const PlacedBitmap& bitmap = table[i];
        const int rowBytes = (bitmap.width + 7) / 8;
        for (int y = 0; y < bitmap.height; y++) {
            for (int x = 0; x < bitmap.width; x++) {
                const bool set = (bitmap.bits[y * rowBytes + x / 8] >> (x % 8)) & 1;
                const int px = bitmap.x + x;
                const int py = bitmap.y + y;
                if (!set || px >= width || py >= height) continue;
                picture.pixels[static_cast<size_t>(py) * width + px] =
                    bitmap.red ? GetRed() : GetBlack();
            }
        }
    }
    return picture;
}

// How many pixels differ between two pictures of the same size (all of them when the sizes
// differ).
inline long Differences(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height) return static_cast<long>(a.pixels.size());
    long count = 0;
    for (size_t i = 0; i < a.pixels.size(); i++)
        count += a.pixels[i] != b.pixels[i] ? 1 : 0;
    return count;
}

// With QUIRAN_SCREENSHOTS set to a folder, the screen's top-left corner goes there as
// <name>.ppm, for people to look at.
inline bool KeepScreenshot(const char* name, int width, int height) {
    return testshot::SaveScreen(TheWindowsGui().display, name, width, height);
}
