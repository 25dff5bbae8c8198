// What a user waits for in the program's windows, on a real display (run it under Xvfb, e.g.
// `xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/WindowBench`):
// 1. Opening a file as the command line does (to READY), saving it, and quitting, for
//    architectures made of chains of 10 INPUT, MASK, JOIN and OUTPUT elements on 16 x 16 planes.
//    Floors: reading the same file line by line (open), writing the same bytes to a file (save),
//    freeing as many heap blocks as the architecture has objects (quit). These are timed inside
//    this process, whose heap is warm from the rounds before; what a user waits for when the
//    program opens a file in a fresh process is OpenBench's.
// 2. One refresh of a show-data window of a 1024 x 1024 plane at zoom 12 with half the cells set,
//    against one XPutImage of the part of its drawing area that can be seen, at its depth.
// 3. A simulation run through the simulation box's Run against the same run of the event queue
//    alone, 1 000 elements.
// Every figure is the median of interleaved runs and is printed as a ratio to its floor with the
// target beside it.

#include <Xm/Xm.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/BenchProgram.h"
#include "editors/ShowDataWindow.h"
#include "model/data/Connection.h"
#include "model/data/Matrix.h"
#include "model/elements/AInputElem.h"
#include "model/elements/AJoinElem.h"
#include "model/elements/AMaskElem.h"
#include "model/elements/AOutputElem.h"
#include "model/elements/PinCode.h"
#include "shell/FileSelection.h"
#include "shell/MainWindow.h"
#include "shell/SimulationBoxWindow.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::Since;

// Reading every line of the file and finding its first word.
double ReadFloor(const std::string& path) {
    Clock::time_point start = Clock::now();
    std::ifstream in(path, std::ios::binary);
    std::string line;
    size_t words = 0;
    while (std::getline(in, line)) {
        size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos && line[first] != '}') words++;
    }
    double seconds = Since(start);
    if (words == 0) std::printf("(empty file)\n");
    return seconds;
}

// Writing the file's bytes, line by line, to another file.
double WriteFloor(const std::string& path, const std::string& copy) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    Clock::time_point start = Clock::now();
    {
        std::ofstream out(copy, std::ios::binary);
        for (const std::string& text : lines)
            out << text << '\n';
    }
    double seconds = Since(start);
    unlink(copy.c_str());
    return seconds;
}

// Allocating and freeing as many blocks as the architecture holds objects (elements, planes,
// connections).
double FreeFloor(int elements) {
    const int blocks = elements * 6;
    std::vector<std::unique_ptr<char[]>> held(static_cast<size_t>(blocks));
    for (auto& block : held)
        block.reset(new char[256]);
    Clock::time_point start = Clock::now();
    held.clear();
    return Since(start);
}

struct Figures {
    std::vector<double> open, save, quit, readFloor, writeFloor, freeFloor;
};

void Measure(MainWindow& main, int count, const std::string& path, Figures& figures) {
    const std::string copy = path + ".copy";
    figures.readFloor.push_back(ReadFloor(path));
    Clock::time_point start = Clock::now();
    LoadFile(main, path.c_str(), nullptr);
    figures.open.push_back(Since(start));
    if (main.GetElements().GetCount() != count) {
        std::printf("load gave %d elements instead of %d\n", main.GetElements().GetCount(), count);
        std::exit(1);
    }
    figures.writeFloor.push_back(WriteFloor(path, copy));
    main.SetModified();
    start = Clock::now();
    SaveFile(main, path.c_str());
    figures.save.push_back(Since(start));
    figures.freeFloor.push_back(FreeFloor(count));
    start = Clock::now();
    main.QueryQuit();
    figures.quit.push_back(Since(start));
}

void Report(const char* what, double seconds, double target, double floor, const char* floorName) {
    std::printf("  %-34s %7.3f s  (target at most %.1f s)  %7.1f x %s (%.4f s)\n", what, seconds,
                target, seconds / floor, floorName, floor);
}

// The floor is one XPutImage of exactly what can be seen of the drawing area, at the depth and
// visual of its window, and the XSync that waits for the server to have drawn it. Its cost
// follows the bytes a pixel takes on the screen: at depth 8 a quarter of those at depth 24 (32
// bits a pixel), while a refresh made of drawing requests costs about the same at both.
void ShowDataBench(XtAppContext app, MainWindow& main, int rounds) {
    const int kSize = 1024;
    auto* mask = new AMaskElem(&main, 20, 20);
    bench::AddWithPlanes(main, mask, kSize, kSize);
    bench::FillHalf(*mask->GetOutputPlane(0));
    mask->OpenShowDataWindow(1);
    auto* window = dynamic_cast<ShowDataWindow*>(mask->GetShowDataWindow(1));
    if (window == nullptr) {
        std::printf("no show-data window\n");
        std::exit(1);
    }
    window->ZoomChanged(12);
    Widget area = window->GetDrawArea(0);
    Display* display = XtDisplay(area);
    for (int i = 0; i < 50; i++) {
        XmUpdateDisplay(area);
        XtAppProcessEvent(app, XtIMAll & ~XtIMAlternateInput);
        if (!XtAppPending(app)) break;
    }
    XSync(display, False);
    bench::PutImageFloor figures;
    if (!bench::AgainstPutImage(
            area, [&] { window->RefreshIfUpdating(); }, 5 * rounds, figures)) {
        std::printf("the show-data window cannot be seen\n");
        std::exit(1);
    }
    std::printf("Show-data window, %d x %d plane, zoom 12, half the cells set, %u x %u at (%d,%d) "
                "seen, depth %d (median of %d pairs):\n",
                kSize, kSize, figures.seen.width, figures.seen.height, figures.seen.x,
                figures.seen.y, figures.depth, 5 * rounds);
    std::printf("  one refresh %.3f ms, one XPutImage of the part seen %.3f ms: ratio %.2f "
                "(target at most 2)\n",
                figures.drawn * 1e3, figures.put * 1e3, figures.ratio);
    main.ClearModified();
    main.Clear();
}

void RunBench(MainWindow& main, int rounds) {
    const int kSize = 16;
    const int kChains = 100;
    const int kTicks = 500000;
    for (int c = 0; c < kChains; c++) {
        AElement* previous = nullptr;
        for (int k = 0; k < 10; k++) {
            AElement* element;
            const int x = 20 + 70 * k, y = 20 + 70 * c;
            if (k == 0) {
                element = new AInputElem(&main, x, y);
            } else if (k == 9) {
                element = new AOutputElem(&main, x, y);
            } else if (k % 2 == 1) {
                element = new AMaskElem(&main, x, y);
            } else {
                element = new AJoinElem(&main, x, y);
            }
            for (int i = 0; i < element->GetInputCount(); i++)
                element->SetInputPlaneSize(i, kSize, kSize);
            for (int i = 0; i < element->GetOutputCount(); i++)
                element->SetOutputPlaneSize(i, kSize, kSize);
            element->CreateData();
            element->SetOwner(&main);
            main.GetElements().Add(element);
            if (previous != nullptr) {
                main.GetConnections().Add(
                    new Connection(&main, previous, OutputPinCode(0), element, InputPinCode(0), 1));
            }
            previous = element;
        }
    }
    // MANUAL runs of kTicks ticks from time 0, INPUTs and OUTPUTs on the one clock (period 100
    // unless the file says otherwise).
    SimulationBoxWindow* box = main.GetSimulationBox();
    box->Show();
    main.GetSimulationMode() = kModeManual;
    main.GetRunTime() = kTicks;
    box->UpdateDisplay();
    EventQueue& queue = main.GetEventQueue();
    std::vector<double> gui, model;
    for (int r = 0; r < 3 * rounds; r++) {
        main.ResetSimulation();
        Clock::time_point start = Clock::now();
        box->Run();
        gui.push_back(Since(start));
        main.ResetSimulation();
        queue.SetSimulationBox(nullptr);
        start = Clock::now();
        queue.RunUntil(kTicks);
        model.push_back(Since(start));
        queue.SetSimulationBox(box);
    }
    main.ResetSimulation();
    box->Hide();
    std::printf("Simulation of %d elements (chains of 10 on %d x %d planes), %d ticks (median of "
                "%d pairs):\n",
                kChains * 10, kSize, kSize, kTicks, 3 * rounds);
    std::printf("  Run through the simulation box %.1f ms, the event queue alone %.1f ms: ratio "
                "%.2f (target at most 1.2)\n",
                Median(gui) * 1e3, Median(model) * 1e3, Median(gui) / Median(model));
    main.ClearModified();
    main.Clear();
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = bench::Rounds(argc, argv);
    XtAppContext app = nullptr;
    std::string folder;
    MainWindow* main = bench::OpenInScratchHome("WindowBench", app, folder);
    if (main == nullptr) return 1;
    ShowDataBench(app, *main, rounds);
    RunBench(*main, rounds);
    const std::string small = folder + "/small.arc";
    const std::string large = folder + "/large.arc";
    bench::WriteChains(*main, 10000, small);
    main->Clear();
    bench::WriteChains(*main, 100000, large);
    main->Clear();

    Figures ten, hundred;
    for (int r = 0; r < rounds; r++) {
        Measure(*main, 10000, small, ten);
        Measure(*main, 100000, large, hundred);
    }
    std::printf("Chains of 10 INPUT/MASK/JOIN/OUTPUT elements on 16 x 16 planes, median of %d "
                "interleaved rounds:\n",
                rounds);
    std::vector<double> openSave;
    for (size_t i = 0; i < ten.open.size(); i++)
        openSave.push_back(ten.open[i] + ten.save[i]);
    std::vector<double> floorPairs;
    for (size_t i = 0; i < ten.open.size(); i++)
        floorPairs.push_back(ten.readFloor[i] + ten.writeFloor[i]);
    Report("open 10 000, then save", Median(openSave), 0.3, Median(floorPairs), "read+write");
    // Each open against the floor read just before it, so both see the same machine.
    std::vector<double> openRatios;
    for (size_t i = 0; i < hundred.open.size(); i++)
        openRatios.push_back(hundred.open[i] / hundred.readFloor[i]);
    std::printf("  %-34s %7.3f s  %5.2f x reading the lines (%.4f s)  (target at most 3 x)\n",
                "open 100 000 (in-process, warm heap)", Median(hundred.open), Median(openRatios),
                Median(hundred.readFloor));
    Report("save 100 000", Median(hundred.save), 0.5, Median(hundred.writeFloor),
           "writing the bytes");
    Report("quit with 100 000", Median(hundred.quit), 0.5, Median(hundred.freeFloor),
           "freeing the blocks");
    std::printf("  growth 10 000 -> 100 000 per element: open %.2f, save %.2f, quit %.2f "
                "(linear: 1.0)\n",
                Median(hundred.open) / Median(ten.open) / 10,
                Median(hundred.save) / Median(ten.save) / 10,
                Median(hundred.quit) / Median(ten.quit) / 10);
    unlink(small.c_str());
    unlink(large.c_str());
    rmdir(folder.c_str());
    return 0;
}
