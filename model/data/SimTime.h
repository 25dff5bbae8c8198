// Simulation time: a count of ticks with no relation to wall-clock time.
#pragma once

#include <cstdint>

using SimTime = uint32_t;
