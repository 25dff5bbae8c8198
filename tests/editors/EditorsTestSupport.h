#pragma once

// What the editors' GUI tests share: the one display of the process (opened with the program's
// class, palette, stipple and matrix contexts, with refusal bells counted), an editor host whose
// windows go over the top-level shell and whose file dialogs are recorded, the editors' window
// interface installed with a real event queue behind it, a small element type with a working
// copy modify window, and helpers that drive widgets with synthetic events.

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

struct EditorsDisplay {
    XtAppContext app = nullptr;
    Display* display = nullptr;
    Widget topLevel = nullptr; // realized, 400 by 300
};

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
    // An ATestElem gets its ATestModifyWindow, every other element its type's window.
    void CreateModifyWindow(AElement& element, FileArgument* data,
                            AElementModifyWindow** slot) override;
    void Schedule(SimTime time, AElement* element) override { queue.Schedule(time, element, 0); }
    void RemoveFromQueue(AElement* element) override { queue.Remove(element); }
    SimTime GetSimulationTime() override { return queue.GetNow(); }
    int Ask(MessageKind, const char*, const char*) override { return answer; }
    EventQueue queue;
    int answer = 3; // kResultYes
};

TestEditorHost& Host();
TestElementUi& Ui();

// The data object of ATestElem: one number.
struct D_TestElem : public FileArgument {
    int32_t value = 0;
};

// A small element type: a name, a comment, a header block and "LOGICAL_DATA { VALUE: n }"; its
// step sets bit (step count - 1, 0) of every output plane, so each step shows one more cell.
class ATestElem : public AElement {
public:
    ATestElem(uint32_t type = 0, int inputs = 1, int outputs = 1);
    ATestElem(const ATestElem& other);
    ~ATestElem() override;

    AElement* Copy() const override { return new ATestElem(*this); }
    int Read(std::istream& in, FileArgument* target) override;
    int Write(std::ostream& out, int level, FileArgument* source) override;
    void OpenModifyWindow() override { OpenTypeModifyWindow(data); }
    void CloseModifyWindow() override;
    void Simulate() override;
    void CreateData() override;
    void DimensionChanged() override { CloseModifyWindow(); }
    int GetDefaultInputs() override { return defaultInputs; }
    int GetDefaultOutputs() override { return defaultOutputs; }
    int GetIconWidth() override;
    int GetIconHeight() override;
    Pixmap GetIconPixmap() override { return 0; }

    D_TestElem* data = nullptr;
    int steps = 0;
    std::function<void()> afterStep; // called after each step has refreshed the windows

private:
    int defaultInputs;
    int defaultOutputs;
};

// The modify window of ATestElem: edits a working copy of the number.
class ATestModifyWindow : public AElementModifyWindow {
public:
    ATestModifyWindow(AElement* element, AElementModifyWindow** slot);
    ~ATestModifyWindow() override { live--; }
    void RefreshModifyWindow() override;
    D_TestElem copy;
    Widget form = nullptr;
    inline static int live = 0;
    inline static int refreshes = 0;

protected:
    void StoreCopy() override;
};

// Processes events until done() holds or timeoutMs has passed; returns done().
bool RunUntil(const std::function<bool()>& done, int timeoutMs = 2000);
void RunFor(int ms);
// Sends everything to the server and handles what is queued.
void Flush();

int BellCount();
void ResetBells();

// Runs work inside the dispatch of an event, as callbacks run.
void RunInDispatch(const std::function<void()>& work);
// The window manager's close of a shell (WM_DELETE_WINDOW), delivered through the server.
void SendClose(Widget shell);
// Return in a text field (Integer_Text of a ReadInt, or a plain text field).
void PressReturn(Widget text);
// Types text into a text field, replacing what it holds.
void SetText(Widget text, const char* value);
std::string GetText(Widget text);
// Types one key at the end of a text field, as the keyboard does.
void TypeKey(Widget text, unsigned long keysym);
// The keyboard focus leaves a text field.
void LoseFocus(Widget text);
// Activates a push button as a click does (its activate callbacks, inside a dispatch).
void Click(Widget button);
// The label's text, lines joined with "\n".
std::string LabelText(Widget label);
// The named child (XtNameToWidget path) or null.
Widget Child(Widget parent, const char* path);
// The push button labelled text below parent, or null.
Widget ButtonLabelled(Widget parent, const char* text);
// Pointer events on a widget at (x, y) of its window.
void SendCrossing(Widget w, int type, int x, int y, int detail = 0);
void SendMotion(Widget w, int x, int y);
// Counts the black pixels of a rectangle of a realized widget's window, as the server has them.
int BlackPixels(Widget w, int x, int y, int width, int height);
// Whether a shell widget still exists (it is among the live popups of parent).
bool IsLivePopup(Widget parent, Widget shell);
int PopupCount(Widget parent);
