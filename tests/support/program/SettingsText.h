#pragma once

// The settings files "Save as Default" writes, as the tests expect them.

#include <string>

namespace e2e {

// The comment lines every settings file begins with, and the blank line after them.
std::string SettingsHeader();

// The options file, header first, with every directory not defined, every filter the type's
// own, the grid shown and snapped at 15 by 15, no start-up windows but perhaps the simulation
// box, no start-up library, the compiler cc and no flags; dimension is the start-up one as the
// file spells it ("(16,16)").
std::string OptionsText(const std::string& dimension, bool simulationBox, const std::string& cc);

// The default times file, header first, with every time at its default.
std::string DefaultTimesText();

} // namespace e2e
