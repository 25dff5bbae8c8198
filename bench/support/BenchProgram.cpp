#include "bench/support/BenchProgram.h"

#include <Xm/Xm.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "model/data/Connection.h"
#include "model/data/Matrix.h"
#include "model/elements/AInputElem.h"
#include "model/elements/AJoinElem.h"
#include "model/elements/AMaskElem.h"
#include "model/elements/AOutputElem.h"
#include "model/elements/ArchitectureGraphics.h"
#include "model/elements/PinCode.h"
#include "model/format/TextFormat.h"
#include "shell/DragContext.h"
#include "shell/DragDisplay.h"
#include "shell/FallbackResources.h"
#include "shell/FileSelection.h"
#include "shell/MainWindow.h"
#include "shell/OverviewWindow.h"
#include "shell/ShellElementUi.h"
#include "shell/Startup.h"
#include "shell/WindowMessage.h"
#include "toolkit/Colors.h"
#include "toolkit/MatrixDraw.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/ReadInt.h"

namespace bench {

XRectangle SeenPart(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return {0, 0, 0, 0};
    long left = 0, top = 0, right = attributes.width, bottom = attributes.height;
    Window current = window;
    for (;;) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, current, &root, &parent, &children, &count)) break;
        if (children != nullptr) XFree(children);
        if (parent == 0) break;
        XWindowAttributes ancestor;
        int x = 0, y = 0;
        Window child = 0;
        if (!XGetWindowAttributes(display, parent, &ancestor) ||
            !XTranslateCoordinates(display, parent, window, 0, 0, &x, &y, &child)) {
            break;
        }
        left = std::max<long>(left, x);
        top = std::max<long>(top, y);
        right = std::min<long>(right, x + ancestor.width);
        bottom = std::min<long>(bottom, y + ancestor.height);
        current = parent;
    }
    if (right <= left || bottom <= top) return {0, 0, 0, 0};
    return {static_cast<short>(left), static_cast<short>(top),
            static_cast<unsigned short>(right - left), static_cast<unsigned short>(bottom - top)};
}

namespace {

MessageResult Answer(Widget, MessageKind kind, const char*, const char*) {
    return kind == kMessageYesNo || kind == kMessageYesNoCancel ? kResultNo : kResultOk;
}

// The chain's k-th element: INPUT, MASK and JOIN in turn, OUTPUT.
AElement* ChainElement(MainWindow& main, int k, int length, int x, int y) {
    if (k == 0) return new AInputElem(&main, x, y);
    if (k == length - 1) return new AOutputElem(&main, x, y);
    if (k % 2 == 1) return new AMaskElem(&main, x, y);
    return new AJoinElem(&main, x, y);
}

} // namespace

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool AgainstPutImage(Widget area, const std::function<void()>& draw, int pairs,
                     PutImageFloor& figures) {
    Display* display = XtDisplay(area);
    const XRectangle seen = SeenPart(display, XtWindow(area));
    XWindowAttributes attributes;
    if (seen.width == 0 || !XGetWindowAttributes(display, XtWindow(area), &attributes)) {
        return false;
    }
    XImage* image =
        XCreateImage(display, attributes.visual, static_cast<unsigned>(attributes.depth), ZPixmap,
                     0, nullptr, seen.width, seen.height, 32, 0);
    const size_t bytes = static_cast<size_t>(image->bytes_per_line) * seen.height;
    image->data = static_cast<char*>(std::calloc(bytes, 1));
    for (size_t i = 0; i < bytes; i += 7)
        image->data[i] = static_cast<char>(i);
    GC gc = XCreateGC(display, XtWindow(area), 0, nullptr);
    std::vector<double> drawn, put, ratio;
    for (int r = 0; r < pairs; r++) {
        const double one = Timed(display, draw);
        const double floor = Timed(display, [&] {
            XPutImage(display, XtWindow(area), gc, image, 0, 0, seen.x, seen.y, seen.width,
                      seen.height);
        });
        drawn.push_back(one);
        put.push_back(floor);
        ratio.push_back(one / floor);
    }
    XFreeGC(display, gc);
    XDestroyImage(image);
    figures = {seen, attributes.depth, Median(drawn), Median(put), Median(ratio)};
    return true;
}

void AddWithPlanes(MainWindow& main, AElement* element, int width, int height) {
    element->SetInputPlaneSize(0, width, height);
    element->SetOutputPlaneSize(0, width, height);
    element->CreateData();
    element->SetOwner(&main);
    main.GetElements().Add(element);
}

void FillHalf(Matrix& plane) {
    unsigned seed = 5;
    for (int y = 0; y < plane.GetDimY(); y++) {
        for (int x = 0; x < plane.GetDimX(); x++) {
            seed = seed * 1103515245u + 12345u;
            plane.SetBit(x, y, (seed >> 16) & 1);
        }
    }
}

int Rounds(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
    return rounds < 1 ? 1 : rounds;
}

MainWindow* OpenInScratchHome(const char* name, XtAppContext& app, std::string& folder) {
    if (std::getenv("DISPLAY") == nullptr) {
        std::printf("%s needs an X display (run it under xvfb-run)\n", name);
        return nullptr;
    }
    char made[] = "/tmp/quiran-bench-XXXXXX";
    if (mkdtemp(made) == nullptr) return nullptr;
    folder = made;
    setenv("HOME", made, 1);
    MainWindow* main = OpenProgram(app);
    if (main == nullptr) std::printf("cannot open the display\n");
    return main;
}

MainWindow* OpenProgram(XtAppContext& app) {
    static char name[] = "quiran";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    InitLineBuffer();
    OpenDragDisplay(argc, argv);
    Widget topLevel = XtOpenApplication(&app, "QUIRAN", nullptr, 0, &argc, argv,
                                        const_cast<String*>(kFallbackResources),
                                        applicationShellWidgetClass, nullptr, 0);
    if (topLevel == nullptr) return nullptr;
    SetTopLevelShell(topLevel, app);
    InstallShellElementUi(topLevel);
    CreateStippleBitmap(topLevel);
    InitColors(topLevel);
    CreateMatrixGCs(topLevel);
    InitDragAndDrop();
    SetReadIntAppContext(app);
    CreateFileDialog();
    InitArchitectureGraphics();
    OverviewWindow::InitCursor(topLevel);
    SetWindowMessageFunction(Answer);
    return OpenMainWindow(topLevel);
}

void WriteChains(MainWindow& main, int count, const std::string& path, bool onWorkingArea) {
    const int kChain = 10;
    // Rows of the working area (1500 x 1000 pixels) and steps to the right.
    const int kRows = 13, kShifts = 100;
    for (int c = 0; c < count / kChain; c++) {
        const int row = onWorkingArea ? c % kRows : c;
        const int shift = onWorkingArea ? 5 * ((c / kRows) % kShifts) : 0;
        AElement* previous = nullptr;
        for (int k = 0; k < kChain; k++) {
            AElement* element = ChainElement(main, k, kChain, 20 + shift + 70 * k, 20 + 70 * row);
            element->CreateData();
            main.GetElements().Add(element);
            if (previous != nullptr) {
                main.GetConnections().Add(
                    new Connection(&main, previous, OutputPinCode(0), element, InputPinCode(0), 0));
            }
            previous = element;
        }
    }
    std::ofstream out(path, std::ios::binary);
    main.Write(out, 0, nullptr);
    main.ClearModified();
}

} // namespace bench
