#pragma once

// Everything elements and connections need of the screen, as one interface of the model's: the
// main window's scheduler and status words, questions to the user, redraws of the working area,
// the drawing resources, and one way to make the windows and dialogs that show an element. The
// shell and the editors implement it; until they install theirs, a null implementation answers,
// so that constructing, reading, writing, copying and simulating elements needs no display. Tests
// install a fake.
//
// The windows themselves are classes of the editors; the model holds them as ElementView.

#include "model/data/SimTime.h"
#include "model/elements/ElementGCKind.h"
#include "model/elements/ElementView.h"
#include "model/elements/MessageKind.h"
#include "model/elements/XTypes.h"

class AElement;
class Architecture;
class FileArgument;

// The result callback of a two-value number dialog.
using TwoValuesCallback = void (*)(int cancelled, int value1, int value2, void* client);

// What a two-value number dialog asks: two labelled values with their limits, and where the
// answer goes.
struct TwoValuesQuestion {
    const char* title;
    const char* label1;
    int value1, min1, max1;
    const char* label2;
    int value2, min2, max2;
    TwoValuesCallback callback;
    void* client;
};

// The view to make: its kind, the element it shows (never null), the data object a modify window
// edits, the output a show-data window shows (0 all, k output k - 1), and the question of a
// two-value dialog.
struct ViewRequest {
    ElementViewKind kind;
    AElement* element;
    FileArgument* data = nullptr;
    int index = 0;
    const TwoValuesQuestion* question = nullptr;
};

// The displays elements draw on; null and 0 without them.
struct ElementScreens {
    Display* display;     // the toolkit's: icons and working-area contexts are made on it
    Display* dragDisplay; // the second connection, which draws drag feedback across the screen
    Window dragRoot;      // its root window
    GC dragRootGC;        // its IncludeInferiors context
};

class ElementUi {
public:
    virtual ~ElementUi() = default;

    // The main window's event queue: a pending entry for the element, its removal when the
    // element goes, and the current simulation time.
    virtual void Schedule(SimTime time, AElement* element) = 0;
    virtual void RemoveFromQueue(AElement* element) = 0;
    virtual SimTime GetSimulationTime() = 0;

    // The main window's status word around long work: "LOADING", "COMPILING", ... then "READY".
    virtual void SetBusy(const char* word) = 0;
    virtual void SetReady() = 0;

    // A modal message box over the top-level shell; a MessageResult.
    virtual int Ask(MessageKind kind, const char* title, const char* text) = 0;
    // Processes pending exposures (XmUpdateDisplay).
    virtual void UpdateDisplay() = 0;

    // The owner's working area: redraws a rectangle of it (ArchitectureWindow Redraw), and its
    // display and window (0 while it has none). The owner is the Architecture part of an
    // ArchitectureWindow.
    virtual void Redraw(Architecture* owner, int clear, int x1, int y1, int x2, int y2) = 0;
    virtual Window GetWorkingArea(Architecture* owner, Display*& display) = 0;

    // A new view, shown at once; null when there is none of that kind for the element (the
    // caller then keeps none). The element holds the view and deletes it; the view detaches
    // itself from the element when it goes by itself. A LOGIC element's one show-data window
    // shows all outputs: asked for another index, the view of index 0 is opened instead and null
    // returned.
    virtual ElementView* CreateView(const ViewRequest& request) = 0;

    // The displays, and a new context of that kind for the default screen of a display (the
    // caller frees it).
    virtual ElementScreens GetScreens() = 0;
    virtual GC CreateGC(ElementGCKind kind, Display* display) = 0;
};

// Answers as if no window were open: nothing is scheduled or shown, the time is 0, questions get
// their cautious answer (OK for messages, No, Cancel), no view is made and there is no display.
class NullElementUi : public ElementUi {
public:
    void Schedule(SimTime, AElement*) override {}
    void RemoveFromQueue(AElement*) override {}
    SimTime GetSimulationTime() override { return 0; }
    void SetBusy(const char*) override {}
    void SetReady() override {}
    int Ask(MessageKind kind, const char* title, const char* text) override;
    void UpdateDisplay() override {}
    void Redraw(Architecture*, int, int, int, int, int) override {}
    Window GetWorkingArea(Architecture*, Display*& display) override;
    ElementView* CreateView(const ViewRequest&) override { return nullptr; }
    ElementScreens GetScreens() override { return {nullptr, nullptr, 0, nullptr}; }
    GC CreateGC(ElementGCKind, Display*) override { return nullptr; }
};

// The installed interface; the null one until SetElementUi. Installing another (null restores the
// null one) first frees the drawing resources made through the previous one, so the previous
// display must still be open.
ElementUi& GetElementUi();
void SetElementUi(ElementUi* ui);
