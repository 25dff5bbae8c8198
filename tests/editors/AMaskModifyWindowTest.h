#pragma once

// What the tests of the matrix editors share: pointer events on a drawing area, the pixel inside a
// cell, an editor host that also records the argument of a file dialog, and registering a real
// modify window maker for one type while a test runs.

#include <X11/Intrinsic.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "EditorsTestSupport.h"
#include "editors/EditorElementUi.h"
#include "tests/support/screenshot/Screenshot.h"
#include "toolkit/MatrixGeometry.h"

// A pixel in the middle of cell (x, y) of a drawing of a matrix dimY rows high.
inline void CellPixel(int dimY, int zoom, int x, int y, int* px, int* py) {
    const PixelRect r = MatrixCellRect(dimY, zoom, x, y);
    *px = r.x + r.width / 2;
    *py = r.y + r.height / 2;
}

inline void SendButtonPress(Widget w, int x, int y, unsigned int state = 0) {
    XEvent event = testgui::ButtonEvent(w, ButtonPress, x, y);
    event.xbutton.state = state;
    XtDispatchEvent(&event);
}

// Motion with a modifier and button state (SendMotion sends none).
inline void SendMotionHeld(Widget w, int x, int y, unsigned int state) {
    XEvent event = testgui::MotionEvent(w, x, y, state);
    XtDispatchEvent(&event);
}

// A file dialog request with the argument handed on to the object's Read or Write.
struct ArgumentRequest {
    bool save;
    LoadSaveObject* object;
    FileKind kind;
    FileArgument* argument;
};

// Installed in place of the shared test host while it lives.
class RecordingHost : public TestEditorHost {
public:
    RecordingHost() { SetEditorHost(this); }
    ~RecordingHost() override { SetEditorHost(&Host()); }
    void OpenFile(LoadSaveObject& object, FileKind kind, FileArgument* argument) override {
        files.push_back({false, &object, kind, argument});
    }
    void SaveFileAs(LoadSaveObject& object, FileKind kind, FileArgument* argument) override {
        files.push_back({true, &object, kind, argument});
    }
    std::vector<ArgumentRequest> files;
};

// The type's own modify window while it lives; the shared test window again afterwards.
class MakerScope {
public:
    MakerScope(uint32_t type, ModifyWindowMaker maker) : type(type) {
        RegisterModifyWindowMaker(type, maker);
    }
    ~MakerScope() {
        RegisterModifyWindowMaker(type, [](AElement& element, FileArgument*) -> ElementView* {
            return new ATestModifyWindow(&element);
        });
    }
    MakerScope(const MakerScope&) = delete;
    MakerScope& operator=(const MakerScope&) = delete;

private:
    uint32_t type;
};

// With QUIRAN_SCREENSHOTS set to a folder, the shell's window goes there as <name>.ppm, for a
// person to look at.
inline void SaveScreenshot(Widget shell, const char* name) {
    EXPECT_TRUE(testshot::Save(XtDisplay(shell), XtWindow(shell), name)) << name;
}
