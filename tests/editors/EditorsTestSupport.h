#pragma once

// What the editors' GUI tests share: the one display of the process (opened as the GUI tests open
// it, with refusal bells counted), an editor host whose windows go over the top-level shell and
// whose file dialogs are recorded, the editors' window interface installed with a real event
// queue behind it, a small element type with a working copy modify window, and helpers that
// drive widgets with synthetic events (the shared ones from tests/support/gui).

#include <X11/Intrinsic.h>

#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "editors/AElementModifyWindow.h"
#include "editors/EditorElementUi.h"
#include "editors/EditorHost.h"
#include "model/data/Matrix.h"
#include "model/elements/AElement.h"
#include "model/simulation/EventQueue.h"
#include "tests/model/elements/TestElementBase.h"
#include "tests/support/gui/GuiDisplay.h"
#include "tests/support/gui/GuiWidgets.h"

// Realized, 400 by 300.
using EditorsDisplay = testgui::GuiDisplay;

// Opens the display on first use and installs the host and the window interface; a null display
// when there is no X server.
EditorsDisplay& Editors();

// A file dialog the host was asked to show.
struct FileRequest {
    bool save;
    LoadSaveObject* object;
    FileKind kind;
};

class TestEditorHost : public EditorHost {
public:
    Widget GetElementShell(const AElement& element) override;
    Widget GetTopLevel() override { return Editors().topLevel; }
    void OpenFile(LoadSaveObject& object, FileKind kind, FileArgument*) override {
        requests.push_back({false, &object, kind});
    }
    void SaveFileAs(LoadSaveObject& object, FileKind kind, FileArgument*) override {
        requests.push_back({true, &object, kind});
    }
    // Windows of elements placed here go over this widget instead of the top-level shell.
    Widget ownerShell = nullptr;
    std::vector<FileRequest> requests;
};

class TestElementUi : public EditorElementUi {
public:
    // The test's own view when makeView gives one; else an ATestElem gets its ATestModifyWindow,
    // every other element the editors' view.
    ElementView* CreateView(const ViewRequest& request) override;
    void Schedule(SimTime time, AElement* element) override { queue.Schedule(time, element, 0); }
    void RemoveFromQueue(AElement* element) override { queue.Remove(element); }
    SimTime GetSimulationTime() override { return queue.GetNow(); }
    int Ask(MessageKind, const char*, const char*) override { return answer; }
    EventQueue queue;
    int answer = 3; // kResultYes
    std::function<ElementView*(const ViewRequest&)> makeView;
};

TestEditorHost& Host();
TestElementUi& Ui();

// The shared test element, made with its data; its step sets bit (step count - 1, 0) of every
// output plane, so each step shows one more cell. Reading the own data replaces it, as every
// type's reader does: the modify window goes and the show-data windows rebuild.
class ATestElem : public TestElementBase {
public:
    ATestElem(uint32_t type = 0, int inputs = 1, int outputs = 1);
    ATestElem(const ATestElem& other);

    AElement* Copy() const override { return new ATestElem(*this); }
    void Simulate() override;
    void DimensionChanged() override { CloseModifyWindow(); }
    Pixmap GetIconPixmap() override { return 0; }

    int steps = 0;
    std::function<void()> afterStep; // called after each step has refreshed the windows

protected:
    void TakeRead(const ElementHeader& header, FileArgument* target,
                  const D_TestElem& read) override;
};

// The modify window of ATestElem: edits a working copy of the number.
class ATestModifyWindow : public AElementModifyWindow {
public:
    explicit ATestModifyWindow(AElement* element, AElementModifyWindow** editorSlot = nullptr);
    ~ATestModifyWindow() override { live--; }
    void RefreshModifyWindow() override;
    D_TestElem copy;
    Widget form = nullptr;
    inline static int live = 0;
    inline static int refreshes = 0;

protected:
    void StoreCopy() override;
};

using testgui::BellCount;
using testgui::ButtonLabelled;
using testgui::Child;
using testgui::Click;
using testgui::Flush;
using testgui::IsLivePopup;
using testgui::LabelText;
using testgui::LoseFocus;
using testgui::PopupCount;
using testgui::PressReturn;
using testgui::RealClick;
using testgui::RealClickAt;
using testgui::RealTypeInto;
using testgui::ResetBells;
using testgui::RunFor;
using testgui::RunInDispatch;
using testgui::RunUntil;
using testgui::SendClose;
using testgui::TypeKey;

// Types text into a text field, replacing what it holds.
inline void SetText(Widget text, const char* value) {
    testgui::SetTextOf(text, value);
}
inline std::string GetText(Widget text) {
    return testgui::TextOf(text);
}

// Records the toolkit's warnings while it lives, instead of printing them.
class WarningRecorder {
public:
    WarningRecorder();
    ~WarningRecorder();
    WarningRecorder(const WarningRecorder&) = delete;
    WarningRecorder& operator=(const WarningRecorder&) = delete;
    const std::vector<std::string>& Warnings() const;

private:
    XtErrorHandler previous;
};

// Whether a label is as wide as its text needs, so that none of it is cut off.
bool ShowsWholeText(Widget label);

// Pointer events on a widget at (x, y) of its window.
void SendCrossing(Widget w, int type, int x, int y, int detail = 0);
void SendMotion(Widget w, int x, int y);
// Counts the black pixels of a rectangle of a realized widget's window, as the server has them.
int BlackPixels(Widget w, int x, int y, int width, int height);

// Driving a matrix grid in a scrolled window to the far end of a large plane.
// The zoom as the user's scale sets it (its value-changed callbacks).
void SetScaleZoom(Widget scale, int zoom);
// Scrolls the area's scrolled window to the right end and to the top, and lets it redraw.
void ScrollToTopRight(Widget draw);
// Cell (x, y) of a plane of dimY rows at zoom, in the area's own pixels as it is scrolled now;
// seen says whether all of it lies in the part the clip window shows.
struct ShownCell {
    int x;
    int y;
    int width;
    int height;
    bool seen;
};
ShownCell CellOnScreen(Widget draw, int dimY, int zoom, int x, int y);
