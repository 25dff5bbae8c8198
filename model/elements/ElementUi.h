#pragma once

// Everything elements and connections need of the windows, as one interface of the model's: the
// main window's scheduler and status words, questions to the user, the element's editor,
// show-data and name windows and its dimension dialog, the working area it draws on, and the
// shared drawing resources. The shell and the editors implement it; until they install theirs,
// a null implementation answers, so that constructing, reading, writing, copying and simulating
// elements needs no display. Tests install a fake.
//
// The windows themselves are classes of the editors; the model only holds pointers to them and
// hands them back through this interface.

#include "model/data/SimTime.h"
#include "model/elements/ElementGCKind.h"
#include "model/elements/MessageKind.h"
#include "model/elements/XTypes.h"

class AElement;
class AElementModifyWindow;
class AElementWindow;
class APermElem;
class Architecture;
class FileArgument;
class ModifyTwoValuesDialog;
class PermDimensionDialog;
class SetNameDialog;
struct _WidgetRec; // the toolkit's Widget

// The result callback of a two-value number dialog.
using TwoValuesCallback = void (*)(int cancelled, int value1, int value2, void* client);

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
    // The display and window of another drawing widget (the library's palettes).
    virtual Window GetWidgetWindow(_WidgetRec* widget, Display*& display) = 0;

    // The modify window of the element's type, made for (data, element, slot); it stores itself
    // in *slot and clears it when destroyed.
    virtual void CreateModifyWindow(AElement& element, FileArgument* data,
                                    AElementModifyWindow** slot) = 0;
    virtual void PopupModifyWindow(AElementModifyWindow* window) = 0;
    virtual void DeleteModifyWindow(AElementModifyWindow* window) = 0;
    virtual void RefreshModifyWindow(AElementModifyWindow* window) = 0; // its RefreshModifyWindow
    virtual void Refresh(AElementModifyWindow* window) = 0;             // its Refresh

    // A ShowDataWindow for one slot (index 0 all outputs, k output k - 1), shown at once; the
    // element's stored width, heights and zoom go with it.
    virtual void CreateShowDataWindow(AElement& element, AElementWindow** slot, int index,
                                      short* width, short* heights, int* zoom) = 0;
    virtual void PopupWindow(AElementWindow* window) = 0;
    virtual void DeleteWindow(AElementWindow* window) = 0;
    virtual void RefreshShowDataWindow(AElementWindow* window) = 0; // RefreshIfUpdating
    virtual void RebuildShowDataWindow(AElementWindow* window) = 0; // Rebuild

    // The Set Name dialog registers itself with AElement::AttachSetNameDialog.
    virtual void OpenSetNameDialog(AElement& element) = 0;
    virtual void DeleteSetNameDialog(SetNameDialog* dialog) = 0;
    // A ModifyTwoValuesDialog over the top-level shell; it deletes itself after the callback.
    virtual ModifyTwoValuesDialog* OpenTwoValuesDialog(const char* title, const char* label1,
                                                       int value1, int min1, int max1,
                                                       const char* label2, int value2, int min2,
                                                       int max2, TwoValuesCallback callback,
                                                       void* client) = 0;
    virtual void DeleteTwoValuesDialog(ModifyTwoValuesDialog* dialog) = 0;
    // The PERM element's four-value "Change Dimension - Perm" dialog over the top-level shell; it
    // registers itself with APermElem::AttachDimensionDialog and unregisters when destroyed.
    virtual void OpenPermDimensionDialog(APermElem& element) = 0;
    virtual void DeletePermDimensionDialog(PermDimensionDialog* dialog) = 0;

    // The toolkit's display, on which icons and working-area contexts are made; null without one.
    virtual Display* GetDisplay() = 0;
    // A new context of that kind for the default screen of the display; the caller frees it.
    virtual GC CreateGC(ElementGCKind kind, Display* display) = 0;
    // The second display connection that draws drag feedback across the screen, its root
    // window and its IncludeInferiors context.
    virtual Display* GetDragDisplay() = 0;
    virtual Window GetDragRootWindow() = 0;
    virtual GC GetDragRootGC() = 0;
};

// Answers as if no window were open: nothing is scheduled or shown, the time is 0, questions get
// their cautious answer (OK for messages, No, Cancel), and there is no display.
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
    Window GetWidgetWindow(_WidgetRec*, Display*& display) override;
    void CreateModifyWindow(AElement&, FileArgument*, AElementModifyWindow**) override {}
    void PopupModifyWindow(AElementModifyWindow*) override {}
    void DeleteModifyWindow(AElementModifyWindow*) override {}
    void RefreshModifyWindow(AElementModifyWindow*) override {}
    void Refresh(AElementModifyWindow*) override {}
    void CreateShowDataWindow(AElement&, AElementWindow**, int, short*, short*, int*) override {}
    void PopupWindow(AElementWindow*) override {}
    void DeleteWindow(AElementWindow*) override {}
    void RefreshShowDataWindow(AElementWindow*) override {}
    void RebuildShowDataWindow(AElementWindow*) override {}
    void OpenSetNameDialog(AElement&) override {}
    void DeleteSetNameDialog(SetNameDialog*) override {}
    ModifyTwoValuesDialog* OpenTwoValuesDialog(const char*, const char*, int, int, int, const char*,
                                               int, int, int, TwoValuesCallback, void*) override {
        return nullptr;
    }
    void DeleteTwoValuesDialog(ModifyTwoValuesDialog*) override {}
    void OpenPermDimensionDialog(APermElem&) override {}
    void DeletePermDimensionDialog(PermDimensionDialog*) override {}
    Display* GetDisplay() override { return nullptr; }
    GC CreateGC(ElementGCKind, Display*) override { return nullptr; }
    Display* GetDragDisplay() override { return nullptr; }
    Window GetDragRootWindow() override { return 0; }
    GC GetDragRootGC() override { return nullptr; }
};

// The installed interface; the null one until SetElementUi. Installing another (null restores the
// null one) first frees the drawing resources made through the previous one, so the previous
// display must still be open.
ElementUi& GetElementUi();
void SetElementUi(ElementUi* ui);
