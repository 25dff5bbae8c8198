#pragma once

// The drawing resources shared by every element and connection on every working area: the
// working-area font, the graphics contexts of icons, marks, frames, pin highlights and connection
// lines, and the stock icon of each type. They are made through the installed ElementUi when
// start-up asks for them or on the first drawing, whichever comes first, so that no element needs
// a display before it draws.

#include <X11/Xlib.h>

#include <cstdint>

struct ArchitectureGraphics {
    Display* display;
    XFontStruct* font; // the working-area font, or the metrics of the icon context's default font
    bool fontLoaded;   // false: font holds only the default font's metrics
    GC iconGC;         // black on white, with the font
    GC markedIconGC;   // red on light gray
    GC frameGC;        // red XOR
    GC pinHighlightGC; // red on white
    GC whiteGC;        // pin box fill
    GC connectionGC;   // blue XOR
    GC connectionHighlightGC;
    Display* dragDisplay;
    GC connectionRootGC; // on the drag display, drawing across child windows; null without it
    int generation;      // changes whenever the resources are freed
};

// The pattern of the working-area font.
extern const char* const kArchitectureFontPattern;

// Makes the resources now (start-up); later calls do nothing.
void InitArchitectureGraphics();
// Creates the icon context and loads the font into it; 0 when the font could not be loaded and
// the default font's metrics stand in for it, else 1.
int LoadArchitectureFont();
// The resources, made on first use; null while the installed ElementUi has no display.
const ArchitectureGraphics* GetArchitectureGraphics();
// Frees every resource made so far (the display must still be open).
void ReleaseArchitectureGraphics();
int GetGraphicsGeneration();

// Draws an element icon into a new pixmap of the toolkit's display: outline, name and pin boxes.
// The context gives only the background colour; width and height receive the icon size.
void CreateElementIcon(uint32_t type, Pixmap& pixmap, GC gc, const char* name, int& width,
                       int& height, int inputs, int outputs);
// The stock icon of a type (its name and default pin counts), made once; 0 without a display.
Pixmap GetStockIcon(uint32_t type, int inputs, int outputs);
// Frees a pixmap made with these resources unless they have been freed since (generation).
void FreeElementPixmap(Pixmap& pixmap, int generation);
