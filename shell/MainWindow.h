#pragma once

// The one main window of the program: the architecture being designed and simulated, shown in
// the top-level application shell with its menu bar, tool bar, working area and footer. It owns
// the simulator's event queue and the four simulation settings, the element library window, the
// simulation box, the clocks window and the option dialogs it opens, shows the status word, and
// reads and writes whole architecture files including GLOBAL_ARCHITECTURE_DATA. The process
// keeps one global pointer to it (GetMainWindow).

#include <X11/Intrinsic.h>

#include <iosfwd>
#include <string>

#include "model/data/SimTime.h"
#include "model/simulation/EventQueue.h"
#include "shell/ArchitectureWindow.h"
#include "shell/GlobalArchitectureData.h"

class AElement;
class ClocksWindow;
class CompilerSettingsDialog;
class DefaultTimesDialog;
class DirectoriesOptionsDialog;
class LibraryWindow;
class SimulationBoxWindow;
class StartupOptionsDialog;

// The main window's title word.
extern const char* const kMainTitleWord;

// The shell title for a file: the word, two blanks and the path, the home directory shown as "~"
// when the path lies inside it (at a path boundary). An empty home or "/" abbreviates nothing;
// one trailing '/' of home is ignored; null home: the path unchanged.
std::string ComposeTitle(const char* word, const char* path, const char* home);

class MainWindow : public ArchitectureWindow {
public:
    // Builds every widget in the top-level shell (not realized) and a new architecture with one
    // clock at the start-up dimension.
    explicit MainWindow(Widget topLevel);
    ~MainWindow() override;

    Widget GetShell() override { return windowShell; }
    // The QueryClear of the base; clearing also shows the blank title.
    void Clear() override;
    // Adds a pending entry for the element at the given time.
    virtual void Schedule(SimTime time, AElement* element);
    // Removes the element's queue entries (the element is going).
    void Unschedule(AElement* element);

    // The architecture file: asks QueryClear, then the body with global data.
    int Read(std::istream& in, FileArgument* target) override;
    // The header comment and the body with global data.
    int Write(std::ostream& out, int level, FileArgument* source) override;
    int ReadGlobalData(std::istream& in) override;
    int WriteGlobalData(std::ostream& out, int level) override;

    void CreateWidgets();
    // The shell title becomes the title word, two blanks and the path ("~" for the home prefix).
    void SetTitle(const char* path);
    // The watch cursor on the top-level shell and the word in red in the footer, flushed.
    void SetBusy(const char* word);
    // "READY" in black, the cursor removed, and queued key, button and motion events dropped.
    void SetReady();

    void ToggleElementList();
    void ToggleSimulationBox();
    // Runs the event queue up to the limit, warning once when an element is not defined.
    void Simulate(SimTime limit);
    // Empties the queue and resets every element.
    void ResetSimulation();
    // A new architecture with planes of x by y cells; 1 made, 0 refused by QueryClear. initial:
    // the first one at construction, without asking.
    int New(int x, int y, int initial);
    // Asks the main architecture and the library whether they may be cleared, both before either
    // is cleared; 1 when both agree (and both are then cleared).
    int QueryQuit();

    SimTime GetSimulationTime() const { return eventQueue.GetNow(); }
    EventQueue& GetEventQueue() { return eventQueue; }
    void ShowTime(SimTime time);
    Widget GetStatusLabel() const { return statusLabel; }

    LibraryWindow* GetLibraryWindow() const { return libraryWindow; }
    SimulationBoxWindow* GetSimulationBox() const { return simulationBox; }
    ClocksWindow* GetClocksWindow() const { return clocksWindow; }
    DefaultTimesDialog* GetDefaultTimesDialog() const { return defaultTimesDialog; }
    void SetDefaultTimesDialog(DefaultTimesDialog* dialog) { defaultTimesDialog = dialog; }
    DirectoriesOptionsDialog* GetDirectoriesDialog() const { return directoriesDialog; }
    void SetDirectoriesDialog(DirectoriesOptionsDialog* dialog) { directoriesDialog = dialog; }
    StartupOptionsDialog* GetStartupDialog() const { return startupDialog; }
    void SetStartupDialog(StartupOptionsDialog* dialog) { startupDialog = dialog; }
    CompilerSettingsDialog* GetCompilerSettingsDialog() const { return compilerSettingsDialog; }
    void SetCompilerSettingsDialog(CompilerSettingsDialog* dialog) {
        compilerSettingsDialog = dialog;
    }

    // The four simulation settings, edited in place by the simulation box.
    int& GetSimulationMode() { return simulationMode; }
    int& GetSelectedClock() { return selectedClock; }
    int& GetClockPeriods() { return clockPeriods; }
    int& GetRunTime() { return runTime; }

private:
    // Mode 0, clock 0, 1 period, 1 tick.
    void ResetSimulationSettings();

    Widget statusLabel;
    LibraryWindow* libraryWindow;
    SimulationBoxWindow* simulationBox;
    ClocksWindow* clocksWindow;
    DefaultTimesDialog* defaultTimesDialog;
    DirectoriesOptionsDialog* directoriesDialog;
    StartupOptionsDialog* startupDialog;
    CompilerSettingsDialog* compilerSettingsDialog;
    int simulationMode; // SimulationMode
    int selectedClock;  // 0-based index into the clock table
    int clockPeriods;   // periods to run in mode 0
    int runTime;        // ticks to run in mode 1
    EventQueue eventQueue;
    Cursor watchCursor; // made on first use and kept
};

// The one main window; null until its construction has returned.
MainWindow* GetMainWindow();
void SetMainWindow(MainWindow* window);
