#pragma once

// The 22 x 22 XPM icons of the main window's tool bar.

extern const char* const kNewIcon[];         // new architecture, 4 colours
extern const char* const kOpenIcon[];        // open, 7 colours
extern const char* const kSaveIcon[];        // save, 6 colours
extern const char* const kDeleteIcon[];      // delete, 2 colours
extern const char* const kElementListIcon[]; // element list, 3 colours
extern const char* const kOverviewIcon[];    // overview, 5 colours
extern const char* const kSimulateIcon[];    // simulate, 6 colours
