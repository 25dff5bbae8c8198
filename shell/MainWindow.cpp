#include "shell/MainWindow.h"

#include <X11/cursorfont.h>
#include <Xm/Label.h>
#include <Xm/Xm.h>

#include <cstdlib>
#include <cstring>

#include "model/data/ClockList.h"
#include "model/elements/AElement.h"
#include "model/elements/AHelpElem.h"
#include "model/elements/BusyScope.h"
#include "shell/ClocksWindow.h"
#include "shell/CompilerSettingsDialog.h"
#include "shell/DefaultTimesDialog.h"
#include "shell/DirectoriesOptionsDialog.h"
#include "shell/DragContext.h"
#include "shell/ElementPopupMenu.h"
#include "shell/LibraryWindow.h"
#include "shell/MainWindowCommands.h"
#include "shell/MenuCommand.h"
#include "shell/Settings.h"
#include "shell/SimulationBoxWindow.h"
#include "shell/StartupOptionsDialog.h"
#include "shell/WindowMessage.h"
#include "toolkit/Colors.h"
#include "toolkit/GraphicsContexts.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/OwnedXmString.h"

const char* const kMainTitleWord = "QUIRAN Pro";

namespace {

MainWindow* theMainWindow = nullptr;

} // namespace

MainWindow* GetMainWindow() {
    return theMainWindow;
}

void SetMainWindow(MainWindow* window) {
    theMainWindow = window;
}

std::string ComposeTitle(const char* word, const char* path, const char* home) {
    std::string title(word != nullptr ? word : "");
    title += "  ";
    std::string shown(path != nullptr ? path : "");
    std::string prefix(home != nullptr ? home : "");
    if (prefix.size() > 1 && prefix.back() == '/') prefix.pop_back();
    // Only a whole leading directory is abbreviated: /home/u does not cover /home/user2.
    if (!prefix.empty() && prefix != "/" && shown.compare(0, prefix.size(), prefix) == 0 &&
        (shown.size() == prefix.size() || shown[prefix.size()] == '/')) {
        shown = "~" + shown.substr(prefix.size());
    }
    return title + shown;
}

MainWindow::MainWindow(Widget topLevel)
    : statusLabel(nullptr), libraryWindow(nullptr), simulationBox(nullptr), clocksWindow(nullptr),
      defaultTimesDialog(nullptr), directoriesDialog(nullptr), startupDialog(nullptr),
      compilerSettingsDialog(nullptr), simulationMode(kModeClocks), selectedClock(0),
      clockPeriods(1), runTime(1), watchCursor(0) {
    windowKind = kMainWindowKind;
    windowShell = topLevel;
    SetTitleWord(kMainTitleWord);
    LoadOptions(this);
    int width, height;
    GetStartupDimension(width, height);
    AElement::SetDefaultPlaneSize(width, height);
    CreateWidgets();
    SetToggle(kCommandGrid, gridVisible);
    SetToggle(kCommandElementList, elementListShown);
    SetToggle(kCommandOverview, overviewShown);
    SetToggle(kCommandSimulate, simulationBoxShown);
    RegisterAreaDropSite(cadArea);
    connectionEnd = new AHelpElem(this);
    connectionEnd->SetOwner(this);
    CreatePopupMenus(*this);
    libraryWindow = new LibraryWindow(this);
    ResetSimulationSettings();
    simulationBox =
        new SimulationBoxWindow(this, &simulationMode, &clockPeriods, &selectedClock, &runTime);
    clocksWindow = new ClocksWindow(this);
    New(width, height, 1);
}

MainWindow::~MainWindow() {
    if (theMainWindow == this) theMainWindow = nullptr;
    delete defaultTimesDialog;
    delete directoriesDialog;
    delete startupDialog;
    delete compilerSettingsDialog;
    delete simulationBox;
    simulationBox = nullptr;
    delete clocksWindow;
    clocksWindow = nullptr;
    delete libraryWindow;
    libraryWindow = nullptr;
    delete connectionEnd;
    connectionEnd = nullptr;
    if (watchCursor != 0 && windowShell != nullptr) {
        XFreeCursor(XtDisplay(windowShell), watchCursor);
    }
}

void MainWindow::CreateWidgets() {
    XtVaSetValues(windowShell, XmNtitle, title, nullptr);
    const FrameParts parts = BeginFrame(windowShell, 700, 550, kMainMenuRows, kMainMenuRowCount,
                                        kMainToolRows, kMainToolRowCount);
    // Made with the longest status word, so that the label keeps that width.
    OwnedXmString longest(" SIMULATING ");
    statusLabel = XtVaCreateManagedWidget("footer_label_r", xmLabelWidgetClass, parts.footerForm,
                                          XmNlabelString, longest.Get(), XmNrecomputeSize, False,
                                          XmNalignment, XmALIGNMENT_CENTER, nullptr);
    OwnedXmString ready("READY");
    XtVaSetValues(statusLabel, XmNlabelString, ready.Get(), nullptr);
    FinishFrame(parts, statusLabel);
}

void MainWindow::Clear() {
    // Every queued entry belongs to an element that goes now: the queue is emptied at once
    // instead of being searched once per element.
    eventQueue.Clear();
    ArchitectureWindow::Clear();
    SetTitle(" ");
}

void MainWindow::Schedule(SimTime time, AElement* element) {
    eventQueue.Schedule(time, element, kPending);
}

void MainWindow::Unschedule(AElement* element) {
    eventQueue.Remove(element);
}

void MainWindow::SetTitle(const char* path) {
    if (windowShell == nullptr) return;
    const std::string text = ComposeTitle(title, path, std::getenv("HOME"));
    XtVaSetValues(windowShell, XmNtitle, text.c_str(), nullptr);
}

void MainWindow::SetBusy(const char* word) {
    if (windowShell == nullptr || statusLabel == nullptr) return;
    Display* display = XtDisplay(windowShell);
    if (watchCursor == 0) watchCursor = XCreateFontCursor(display, XC_watch);
    if (XtWindow(windowShell) != 0) XDefineCursor(display, XtWindow(windowShell), watchCursor);
    OwnedXmString label(word);
    XtVaSetValues(statusLabel, XmNlabelString, label.Get(), XmNforeground, GetRed(), nullptr);
    XmUpdateDisplay(windowShell);
}

void MainWindow::SetReady() {
    if (windowShell == nullptr || statusLabel == nullptr) return;
    Display* display = XtDisplay(windowShell);
    OwnedXmString label("READY");
    XtVaSetValues(statusLabel, XmNlabelString, label.Get(), XmNforeground, GetBlack(), nullptr);
    if (XtWindow(windowShell) != 0) XUndefineCursor(display, XtWindow(windowShell));
    // Input given while the program was busy is not acted on.
    XSync(display, False);
    XEvent event;
    const long mask =
        KeyPressMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | ButtonMotionMask;
    while (XCheckMaskEvent(display, mask, &event)) {
    }
}

void MainWindow::ToggleElementList() {
    // The library window reports its state through SetToggle.
    if (libraryWindow->IsShown()) {
        libraryWindow->Hide();
    } else {
        libraryWindow->Show();
    }
}

void MainWindow::ToggleSimulationBox() {
    if (simulationBoxShown) {
        simulationBox->Hide();
    } else {
        simulationBox->Show();
    }
}

void MainWindow::Simulate(SimTime limit) {
    BusyScope busy("SIMULATING");
    XmUpdateDisplay(windowShell);
    PtrArray<AElement>& elements = GetElements();
    for (int i = 0; i < elements.GetCount(); i++) {
        if (!elements[i]->IsDefined()) {
            WindowMessage(windowShell, kMessageWarning, "Warning", "Not all elements defined");
            break;
        }
    }
    eventQueue.RunUntil(limit);
}

void MainWindow::ResetSimulation() {
    eventQueue.Clear();
    ResetAll();
}

void MainWindow::ResetSimulationSettings() {
    simulationMode = kModeClocks;
    selectedClock = 0;
    clockPeriods = 1;
    runTime = 1;
}

int MainWindow::New(int x, int y, int initial) {
    if (!initial) {
        if (!QueryClear()) return 0;
        if (simulationBoxShown) simulationBox->Hide();
        clocksWindow->Hide();
    }
    ResetClocks();
    ResetSimulationSettings();
    eventQueue.Clear();
    AElement::SetDefaultPlaneSize(x, y);
    if (!initial) libraryWindow->RebuildPalette();
    SetFileName(nullptr);
    SetTitle(" ");
    simulationBox->RebuildClockMenu();
    simulationBox->UpdateDisplay();
    return 1;
}

int MainWindow::QueryQuit() {
    // Both are asked before either is cleared: a Cancel for the library must not leave the main
    // architecture already gone.
    ArchitectureWindow* library = libraryWindow;
    if (!AskClear()) return 0;
    if (library != nullptr && !library->AskClear()) return 0;
    Clear();
    if (library != nullptr) library->Clear();
    return 1;
}

void MainWindow::ShowTime(SimTime time) {
    simulationBox->ShowTime(time);
}
