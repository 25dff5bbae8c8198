#include "shell/ShellElementUi.h"

#include <Xm/Xm.h>

#include "model/data/Architecture.h"
#include "model/elements/AElement.h"
#include "shell/ArchitectureWindow.h"
#include "shell/DragDisplay.h"
#include "shell/FileSelection.h"
#include "shell/MainWindow.h"
#include "shell/PinHighlight.h"
#include "shell/WindowMessage.h"
#include "shell/WorkingAreaInput.h"
#include "toolkit/GraphicsContexts.h"
#include "toolkit/MessageDialog.h"

ShellElementUi::ShellElementUi(Widget shell) : topLevel(shell) {}

void ShellElementUi::Schedule(SimTime time, AElement* element) {
    if (MainWindow* main = GetMainWindow()) main->Schedule(time, element);
}

void ShellElementUi::RemoveFromQueue(AElement* element) {
    if (MainWindow* main = GetMainWindow()) main->Unschedule(element);
    // The element is going: no window may keep it as its highlighted pin or pressed element.
    ForgetPinHighlight(element);
    ForgetWorkingAreaElement(element);
}

SimTime ShellElementUi::GetSimulationTime() {
    MainWindow* main = GetMainWindow();
    return main != nullptr ? main->GetSimulationTime() : 0;
}

void ShellElementUi::SetBusy(const char* word) {
    if (MainWindow* main = GetMainWindow()) main->SetBusy(word);
}

void ShellElementUi::SetReady() {
    if (MainWindow* main = GetMainWindow()) main->SetReady();
}

int ShellElementUi::Ask(MessageKind kind, const char* title, const char* text) {
    MainWindow* main = GetMainWindow();
    Widget parent = main != nullptr ? main->GetShell() : topLevel;
    return WindowMessage(parent, kind, title, text);
}

namespace {

int heldUpdates = 0;

} // namespace

HeldDisplayUpdates::HeldDisplayUpdates() {
    heldUpdates++;
}

HeldDisplayUpdates::~HeldDisplayUpdates() {
    heldUpdates--;
}

void ShellElementUi::UpdateDisplay() {
    if (topLevel != nullptr && heldUpdates == 0) XmUpdateDisplay(topLevel);
}

void ShellElementUi::Redraw(Architecture* owner, int clear, int x1, int y1, int x2, int y2) {
    auto* window = dynamic_cast<ArchitectureWindow*>(owner);
    if (window != nullptr) window->Redraw(clear, x1, y1, x2, y2);
}

Window ShellElementUi::GetWorkingArea(Architecture* owner, Display*& display) {
    auto* window = dynamic_cast<ArchitectureWindow*>(owner);
    Widget area = window != nullptr ? window->GetCadArea() : nullptr;
    if (area == nullptr) {
        display = nullptr;
        return 0;
    }
    display = XtDisplay(area);
    return XtWindow(area);
}

DrawingTarget WidgetTarget(Widget widget) {
    if (widget == nullptr) return {nullptr, 0};
    return {XtDisplay(widget), XtWindow(widget)};
}

ElementScreens ShellElementUi::GetScreens() {
    return {topLevel != nullptr ? XtDisplay(topLevel) : nullptr, GetDragDisplay(),
            GetDragRootWindow(), GetDragRootGC()};
}

GC ShellElementUi::CreateGC(ElementGCKind kind, Display* display) {
    if (display == nullptr) return nullptr;
    return CreateElementGC(kind, display);
}

Widget ShellElementUi::GetElementShell(const AElement& element) {
    auto* window = dynamic_cast<ArchitectureWindow*>(element.GetOwner());
    Widget shell = window != nullptr ? window->GetShell() : nullptr;
    return shell != nullptr ? shell : topLevel;
}

void ShellElementUi::OpenFile(LoadSaveObject& object, FileKind kind, FileArgument* argument) {
    OpenDialog(object, kind, argument);
}

void ShellElementUi::SaveFileAs(LoadSaveObject& object, FileKind kind, FileArgument* argument) {
    SaveAsDialog(object, kind, argument);
}

ShellElementUi* InstallShellElementUi(Widget topLevel) {
    auto* ui = new ShellElementUi(topLevel);
    SetElementUi(ui);
    SetEditorHost(ui);
    return ui;
}
