#pragma once

// Stand-ins for the windows of INPUT and OUTPUT elements: the plane window's entry points, and
// the element window side counting the refreshes of an open plane window.

#include <string>

#include "model/elements/PlaneWindowUi.h"
#include "tests/model/elements/FakeElementUi.h"

// Records what the element asks of its plane window.
class FakePlaneWindowUi : public PlaneWindowUi {
public:
    FakePlaneWindowUi() { SetPlaneWindowUi(this); }
    ~FakePlaneWindowUi() override { SetPlaneWindowUi(nullptr); }
    void RecordPlane(AElementModifyWindow*) override { calls += "record "; }
    void ShowPlane(AElementModifyWindow*, int quiet) override {
        calls += "show" + std::to_string(quiet) + " ";
    }
    void ReloadStack(AElementModifyWindow*) override { calls += "reload "; }

    std::string calls;
};

// Counts the refreshes of the open plane window as well.
class IOElementUi : public FakeElementUi {
public:
    void RefreshModifyWindow(AElementModifyWindow*) override { refreshModifyWindows++; }
    int refreshModifyWindows = 0;
};
