#pragma once

// The one main window of a test process for the welcome, About and overview tests, built as
// start-up builds it (fallback resources, palette, element drawing, the overview's cursor) with
// HOME in a fresh folder, and the helpers those tests share: running the event loop, finding
// popup shells, reading back a window's pixels and keeping screenshots.

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
#include "shell/FallbackResources.h"
#include "shell/MainWindow.h"
#include "shell/OverviewWindow.h"
#include "shell/ShellElementUi.h"
#include "shell/Startup.h"
#include "shell/WelcomeBitmaps.h"
#include "toolkit/Colors.h"
#include "toolkit/MatrixDraw.h"

struct WindowsGui {
    XtAppContext app = nullptr;
    Display* display = nullptr;
    Widget topLevel = nullptr;
    MainWindow* main = nullptr;
};

inline MessageResult AnswerNo(Widget, MessageKind, const char*, const char*) {
    return kResultNo;
}

// Processes events for ms milliseconds, or until done() holds.
inline void ProcessFor(XtAppContext app, int ms, const std::function<bool()>& done = nullptr) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        if (done && done()) return;
        if (XtAppPending(app)) {
            XtAppProcessEvent(app, XtIMAll);
        } else {
            usleep(2000);
        }
    }
}

// Opened on first use; main is null when no X server could be reached.
inline WindowsGui& TheWindowsGui() {
    static WindowsGui gui = [] {
        WindowsGui g;
        if (std::getenv("DISPLAY") == nullptr) return g;
        static char home[] = "/tmp/quiran-windows-XXXXXX";
        if (mkdtemp(home) == nullptr) return g;
        setenv("HOME", home, 1);
        std::atexit([] { rmdir(home); });
        InitLineBuffer();
        XtToolkitInitialize();
        g.app = XtCreateApplicationContext();
        XtAppSetFallbackResources(g.app, const_cast<String*>(kFallbackResources));
        static char name[] = "quiran";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        g.display = XtOpenDisplay(g.app, nullptr, name, "QUIRAN", nullptr, 0, &argc, argv);
        if (g.display == nullptr) return g;
        g.topLevel = XtVaAppCreateShell(name, "QUIRAN", applicationShellWidgetClass, g.display,
                                        XmNx, 0, XmNy, 0, nullptr);
        SetTopLevelShell(g.topLevel, g.app);
        static ShellElementUi ui(g.topLevel);
        SetElementUi(&ui);
        CreateStippleBitmap(g.topLevel);
        InitColors(g.topLevel);
        CreateMatrixGCs(g.topLevel);
        InitArchitectureGraphics();
        OverviewWindow::InitCursor(g.topLevel);
        SetWindowMessageFunction(AnswerNo);
        g.main = new MainWindow(g.topLevel);
        SetMainWindow(g.main);
        XtRealizeWidget(g.topLevel);
        Widget area = g.main->GetCadArea();
        ProcessFor(g.app, 3000, [area] {
            XWindowAttributes attributes;
            return XGetWindowAttributes(XtDisplay(area), XtWindow(area), &attributes) &&
                   attributes.map_state == IsViewable;
        });
        ProcessFor(g.app, 200);
        return g;
    }();
    return gui;
}

// Handles every queued event after the server has answered all requests.
inline void FlushEvents() {
    WindowsGui& gui = TheWindowsGui();
    XSync(gui.display, False);
    while (XtAppPending(gui.app) != 0)
        XtAppProcessEvent(gui.app, XtIMAll);
}

// The popup shells of the given name below the widget.
inline std::vector<Widget> PopupsNamed(Widget parent, const char* name) {
    std::vector<Widget> found;
    for (Cardinal i = 0; i < parent->core.num_popups; i++) {
        Widget popup = parent->core.popup_list[i];
        if (std::string(XtName(popup)) == name && !popup->core.being_destroyed) {
            found.push_back(popup);
        }
    }
    return found;
}

inline bool IsShown(Widget widget) {
    XWindowAttributes attributes;
    return widget != nullptr && XtWindow(widget) != 0 &&
           XGetWindowAttributes(XtDisplay(widget), XtWindow(widget), &attributes) &&
           attributes.map_state == IsViewable;
}

// What a window manager sends when the user closes the shell's window; handled at once.
inline void SendDeleteWindow(Widget shell) {
    Display* display = XtDisplay(shell);
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = XtWindow(shell);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, XtWindow(shell), False, NoEventMask, &event);
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

// A picture of the screen's top-left corner for people to look at, kept in the build folder's
// artefacts; the command's exit status.
inline int KeepScreenshot(const char* file, int width, int height) {
    const std::string folder = std::string(QUIRAN_BINARY_DIR) + "/artefacts";
    if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) perror("KeepScreenshot: mkdir");
    const std::string path = folder + "/" + file;
    std::remove(path.c_str());
    XSync(TheWindowsGui().display, False);
    const std::string command = "import -window root -crop " + std::to_string(width) + "x" +
                                std::to_string(height) + "+0+0 '" + path + "' 2>&1";
    const int status = std::system(command.c_str());
    struct stat info;
    if (status == 0 && (stat(path.c_str(), &info) != 0 || info.st_size < 1000)) return -1;
    return status;
}
