#pragma once

// The simulation box: the small window from which the user runs the simulation of the main
// architecture, a number of periods of one clock or a number of ticks at a time, breaks a run,
// resets the simulation and watches the current time. The main window creates one, keeps it for
// its lifetime and holds the four settings it edits in place (mode, periods, selected clock,
// ticks). During a run the event queue calls ShowTime and Poll after every cycle. The box owns its
// shell and the array of its clock menu's items.

#include <X11/Intrinsic.h>

#include <cstdint>

#include "model/data/SimTime.h"
#include "model/simulation/SimulationBoxUi.h"

class MainWindow;

// The time a run from now ends at. Mode 0 (CLOCKS): periods whole periods of the clock after its
// last tick at or before now (offset + (k + periods) * period with k = (now - offset) / period
// when now >= offset, else 0); mode 1 (MANUAL): now + ticks; any other mode 0. Computed in 64
// bits and saturated at the largest SimTime; a period of 0 gives now.
SimTime ComputeRunTarget(int mode, SimTime now, SimTime period, SimTime offset, int32_t periods,
                         int32_t ticks);

// The selected clock (0-based) after clock index removed was deleted from a table that now holds
// count clocks: it follows its clock when a lower one goes, the deleted one's elements move to
// the first clock, and the result lies within the table (0 when it is empty).
int ClockAfterRemoval(int selected, int removed, int count);

// The selected clock clamped to a table of count clocks (0 when it is empty).
int ClampClock(int selected, int count);

class SimulationBoxWindow : public SimulationBoxUi {
public:
    // Keeps the pointers to the main window's settings, builds the widgets (hidden) and becomes
    // the box of the main window's event queue.
    SimulationBoxWindow(MainWindow* mainWindow, int* mode, int* clocks, int* clock, int* time);
    ~SimulationBoxWindow() override;
    SimulationBoxWindow(const SimulationBoxWindow&) = delete;
    SimulationBoxWindow& operator=(const SimulationBoxWindow&) = delete;

    // The first showing centres the box over the main window; later ones keep its place.
    void Show();
    void Hide();
    // The settings into the fields and toggles, and the current time.
    void UpdateDisplay();
    // One item per clock of the global table (" no clocks " for none); the clock setting is kept
    // within the table.
    void RebuildClockMenu();

    void ShowTime(SimTime time) override;
    // After every cycle of a run: lets only the Break button's events through and rings the
    // bell for other presses (the connection is read at most every millisecond, events queued
    // meanwhile every time), and shows the time when the last showing of this run is 30 ms of
    // wall time ago (or there was none). 1 after Break.
    int Poll(SimTime time) override;
    // While a C++ element waits for its client: the same, without the time. 1 when Break was
    // pressed now or before.
    int PollWhileWaiting() override;
    // Nanoseconds of a steady clock, as Poll reads the wall time; tests drive it.
    using WallClock = long long (*)();
    static void SetWallClock(WallClock clock); // null: the steady clock

    // The button and toggle actions.
    void Run();
    void ResetOrBreak();
    void ModeToggled(Widget toggle, int set);
    void ClockChosen(int index);

    int IsRunning() const { return running; }
    Widget GetShell() const { return shell; }
    Widget GetClocksToggle() const { return clocksToggle; }
    Widget GetTimeToggle() const { return timeToggle; }
    Widget GetClocksField() const { return clocksField; }
    Widget GetTimeField() const { return timeField; }
    Widget GetClockMenu() const { return clockMenu; }
    Widget GetActualClockDisplay() const { return actualClockDisplay; }
    Widget GetActualTimeDisplay() const { return actualTimeDisplay; }
    Widget GetRunButton() const { return runButton; }
    Widget GetResetButton() const { return resetButton; }
    Widget GetCloseButton() const { return closeButton; }
    int GetClockItemCount() const { return clockItemCount; }
    Widget GetClockItem(int index) const;

private:
    // Dispatches the Break button's queued events; other presses ring the bell and are lost.
    // wall is the time of the call (the connection is read at most every millisecond).
    void ReadBreak(long long wall);
    void CreateWidgets();
    Widget CreateModeFrame(Widget form);
    void SetClocksSensitive(bool on);
    void SetIdle(bool idle);
    // A CLOCKS run needs a clock with a period; false after telling the user.
    bool CheckRunClock();

    MainWindow* mainWindow;
    Widget shell;
    Widget clocksToggle;
    Widget timeToggle;
    Widget clocksField; // ReadInt forms
    Widget timeField;
    Widget clockMenu;
    Widget clockSubmenu;
    Widget actualClockDisplay;
    Widget actualTimeDisplay;
    Widget runButton;
    Widget resetButton;
    Widget closeButton;
    Widget* clockItems; // owned
    int clockItemCount;
    uint8_t running;
    int* mode;                   // SimulationMode
    int* clocks;                 // periods N to run in mode CLOCKS
    int* clock;                  // selected clock, index into the global clock table
    int* time;                   // ticks to run in mode MANUAL
    SimTime period;              // of the selected clock at the last CLOCKS run; 0 until then
    bool labelsShown = false;    // by a poll of the current run
    long long labelsShownAt = 0; // wall time of that showing
    bool inputRead = false;      // from the connection by a poll of the current run
    long long inputReadAt = 0;
    int queuedAfterRead = 0; // events left in the queue then (none of them input)
};
