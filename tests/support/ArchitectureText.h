#pragma once

// The blocks before the element list of the architecture and library files the tests write.
// Spaced puts a blank line after each block, as the program writes a file; packed leaves them
// out, which a read allows as well.

#include <string>

// No remarks and the grid shown and snapped at 15 by 15: how a library body begins.
inline std::string BodyHead(bool spaced = true) {
    const std::string gap = spaced ? "\n" : "";
    return "REMARKS {\n}\n" + gap +
           "OPTIONS {\n  GRID {\n    VISIBLE:   ON\n    DIMENSION: (15,15)\n"
           "    RASTERIZE: ON\n  }\n}\n" +
           gap;
}

// Planes of dimension by dimension, one clock of period 100 from 0, and a simulation of clocks
// ticks of clock 1.
inline std::string GlobalArchitectureData(int dimension, int clocks) {
    const std::string side = std::to_string(dimension);
    return "GLOBAL_ARCHITECTURE_DATA {\n  DIMENSION: (" + side + "," + side +
           ")\n  CLOCKS {\n    NUMBER: 1\n    CLOCK {\n      TIME:   100\n      OFFSET: 0\n"
           "    }\n  }\n  SIMULATION_DATA {\n    MODE:     CLOCKS\n    CLOCK_NR: 1\n"
           "    CLOCKS:   " +
           std::to_string(clocks) + "\n  }\n}\n";
}

// A body head and then the global data: how an architecture file's body begins.
inline std::string ArchitectureHead(int dimension, int clocks, bool spaced = true) {
    return BodyHead(spaced) + GlobalArchitectureData(dimension, clocks) + (spaced ? "\n" : "");
}
