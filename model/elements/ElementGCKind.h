#pragma once

// The graphics contexts of element and connection drawing, named after their factories.
enum ElementGCKind {
    kBlackOnWhiteGC2,   // icons: outline, name, pin outlines
    kWhiteGC,           // pin box fill
    kRedOnLightGrayGC,  // marked icons
    kRedXorGC,          // the frame around an element whose window has the pointer
    kRedOnWhiteGC,      // pin highlight
    kBlueXorGC,         // connection lines on the working area
    kWhiteGC2,          // highlighted connection
    kRedXorInferiorsGC, // connection lines across the screen during a drag
};
