#pragma once

// What a simulation run needs of the simulation box: showing the current time and reading its
// Break button after every cycle. The shell's simulation box implements it; tests pass a fake.

#include "model/data/SimTime.h"

class SimulationBoxUi {
public:
    virtual ~SimulationBoxUi() = default;

    // The current time in the box's time and clock displays.
    virtual void ShowTime(SimTime time) = 0;
    // Reads pending input (the Break button only); 1 when the run must stop, else 0.
    virtual int Poll(SimTime time) = 0;
    // Called again and again while an element waits for its client process: serves exposures and
    // reads the Break button; 1 when Break was pressed during this call.
    virtual int PollWhileWaiting() { return 0; }
};
