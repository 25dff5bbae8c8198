#pragma once

// What an architecture file's GLOBAL_ARCHITECTURE_DATA block holds: the plane size of new
// elements, the clock table and the simulation settings. Read and written here without any
// window, so that the main window only applies what was read and the body fuzzer reads whole
// files without a display.

#include <cstdint>
#include <iosfwd>

#include "model/data/ClockList.h"

// The simulation settings a new architecture starts with and GLOBAL_ARCHITECTURE_DATA holds.
enum SimulationMode : int {
    kModeClocks = 0, // run a number of periods of the selected clock ("CLOCKS")
    kModeManual = 1, // run a number of ticks ("MANUAL")
};

struct GlobalArchitectureData {
    int32_t width = 16;
    int32_t height = 16;
    ClockList clocks;
    int simulationMode = kModeClocks; // SimulationMode
    int selectedClock = 0;            // 0-based index into the clock table
    int clockPeriods = 1;             // periods to run in mode 0
    int runTime = 1;                  // ticks to run in mode 1
    // What a read got to before it ended: the plane size, the whole clock table. The settings
    // are changed in place as they are read, as far as the read got.
    bool hasDimension = false;
    bool hasClocks = false;
};

// Reads the block into data; 0 or the first error, recorded. A plane size outside 1 to the
// largest plane size and a clock period of 0 are out of range, a table without clocks has no
// clock, and a selected clock must be one the table read has.
int ReadGlobalArchitectureData(std::istream& in, GlobalArchitectureData& data);

// Writes the block at indentation 2 * level. A selected clock that the table does not have is
// written as the nearest one it has, so that the file reads back.
int WriteGlobalArchitectureData(std::ostream& out, int level, const GlobalArchitectureData& data);
