// What a user waits for with the largest planes, on a real display (run it under Xvfb, e.g.
// `xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/ViewportBench`), for a 65536 x 1 and a
// 4096 x 4096 plane with half the cells set:
// 1. Opening a show-data window and an INPUT plane window, up to the window drawn and idle;
//    target under 0.5 s.
// 2. One refresh of the show-data window and one redraw of the plane window, at the zoom the
//    window picks and at zoom 150, scrolled to the far end of the plane, each against one
//    XPutImage of the part of its drawing area that can be seen, at its depth, measured in the
//    same run; target at most 2 x.
// Every figure is the median of interleaved runs.

#include <Xm/Scale.h>
#include <Xm/ScrollBar.h>
#include <Xm/ScrolledW.h>
#include <Xm/Xm.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench/support/BenchProgram.h"
#include "editors/APlaneModifyWindow.h"
#include "editors/ShowDataWindow.h"
#include "model/data/Matrix.h"
#include "model/data/PlaneList.h"
#include "model/elements/AInputElem.h"
#include "model/elements/AMaskElem.h"
#include "shell/MainWindow.h"
#include "tests/support/gui/ScrollToFarEnd.h"

namespace {

using bench::Clock;
using bench::FillHalf;
using bench::Median;
using bench::Since;

struct BenchPlane {
    int width;
    int height;
};

const BenchPlane kSizes[] = {{65536, 1}, {4096, 4096}};

void Settle(XtAppContext app, Widget w) {
    XSync(XtDisplay(w), False);
    for (int i = 0; i < 1000; i++) {
        XmUpdateDisplay(w);
        if (!XtAppPending(app)) break;
        XtAppProcessEvent(app, XtIMAll & ~XtIMAlternateInput);
    }
    XSync(XtDisplay(w), False);
}

// To the right end and the top, where the last cell is.
void ScrollToFarEnd(XtAppContext app, Widget area) {
    testgui::ScrollToFarEnd(area);
    Settle(app, area);
}

// The median ratio of draw to one XPutImage of the part of area seen, in interleaved pairs.
void Compare(const char* what, Widget area, const std::function<void()>& draw, int rounds) {
    bench::PutImageFloor figures;
    if (!bench::AgainstPutImage(area, draw, 5 * rounds, figures)) {
        std::printf("  %s: the drawing area cannot be seen\n", what);
        return;
    }
    std::printf("  %-40s %8.3f ms, XPutImage of %ux%u seen %.3f ms: ratio %5.2f "
                "(target at most 2)\n",
                what, figures.drawn * 1e3, figures.seen.width, figures.seen.height,
                figures.put * 1e3, figures.ratio);
}

void ReportOpen(const char* what, const std::vector<double>& seconds) {
    std::printf("  %-40s %8.3f s (target under 0.5 s)\n", what, Median(seconds));
}

void ShowDataBench(XtAppContext app, MainWindow& main, const BenchPlane& size, int rounds) {
    auto* mask = new AMaskElem(&main, 20, 20);
    bench::AddWithPlanes(main, mask, size.width, size.height);
    FillHalf(*mask->GetOutputPlane(0));
    std::printf("Show-data window, %d x %d plane:\n", size.width, size.height);
    std::vector<double> open;
    ShowDataWindow* window = nullptr;
    for (int r = 0; r < rounds; r++) {
        if (window != nullptr) {
            mask->CloseShowDataWindow(1);
            Settle(app, main.GetShell());
        }
        const Clock::time_point start = Clock::now();
        mask->OpenShowDataWindow(1);
        window = dynamic_cast<ShowDataWindow*>(mask->GetShowDataWindow(1));
        if (window == nullptr) {
            std::printf("  no show-data window\n");
            return;
        }
        Settle(app, window->GetDrawArea(0));
        open.push_back(Since(start));
    }
    ReportOpen("open", open);
    Widget area = window->GetDrawArea(0);
    char what[64];
    for (const int zoom : {window->GetZoom(), 150}) {
        window->ZoomChanged(zoom);
        ScrollToFarEnd(app, area);
        std::snprintf(what, sizeof what, "refresh at zoom %d, at the far end", zoom);
        Compare(
            what, area, [&] { window->RefreshIfUpdating(); }, rounds);
    }
    main.ClearModified();
    main.Clear();
    Settle(app, main.GetShell());
}

void PlaneWindowBench(XtAppContext app, MainWindow& main, const BenchPlane& size, int rounds) {
    auto* input = new AInputElem(&main, 20, 20);
    bench::AddWithPlanes(main, input, size.width, size.height);
    Matrix plane(size.width, size.height);
    FillHalf(plane);
    PlaneList planes(size.width, size.height, 1);
    planes.SetXYPlane(plane, 0);
    input->GetStoredData().GetPlaneList() = planes;
    input->GetWorkingData().GetPlaneList() = planes;
    std::printf("INPUT plane window, %d x %d plane:\n", size.width, size.height);
    std::vector<double> open;
    APlaneModifyWindow* window = nullptr;
    for (int r = 0; r < rounds; r++) {
        if (window != nullptr) {
            input->CloseModifyWindow();
            Settle(app, main.GetShell());
        }
        const Clock::time_point start = Clock::now();
        input->OpenModifyWindow();
        window = dynamic_cast<APlaneModifyWindow*>(input->GetModifyWindow());
        if (window == nullptr) {
            std::printf("  no plane window\n");
            return;
        }
        Settle(app, window->GetDrawArea());
        open.push_back(Since(start));
    }
    ReportOpen("open", open);
    Widget area = window->GetDrawArea();
    char what[64];
    for (const int zoom : {window->GetZoom(), 150}) {
        XmScaleCallbackStruct call{};
        call.reason = XmCR_VALUE_CHANGED;
        call.value = zoom;
        XmScaleSetValue(window->GetZoomScale(), zoom);
        XtCallCallbacks(window->GetZoomScale(), XmNvalueChangedCallback, &call);
        ScrollToFarEnd(app, area);
        std::snprintf(what, sizeof what, "redraw at zoom %d, at the far end", zoom);
        Compare(
            what, area, [&] { window->Refresh(); }, rounds);
    }
    input->CloseModifyWindow();
    main.ClearModified();
    main.Clear();
    Settle(app, main.GetShell());
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = bench::Rounds(argc, argv);
    XtAppContext app = nullptr;
    std::string folder;
    MainWindow* main = bench::OpenInScratchHome("ViewportBench", app, folder);
    if (main == nullptr) return 1;
    for (const BenchPlane& size : kSizes) {
        ShowDataBench(app, *main, size, rounds);
        PlaneWindowBench(app, *main, size, rounds);
    }
    return 0;
}
