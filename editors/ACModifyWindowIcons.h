#pragma once

// The 22 x 22 XPM icons of the C++ code window's buttons.

extern const char* const kCompileIcon[]; // a sheet of paper covered with 0 and 1, 4 colours
extern const char* const kHelpIcon[];    // a question mark in a blue disc, 4 colours
