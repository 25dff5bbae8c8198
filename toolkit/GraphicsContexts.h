#pragma once

#include <X11/Intrinsic.h>

#include "model/elements/ElementGCKind.h"

// The graphics-context factories, one per combination of colours and drawing mode, over the
// palette of Colors.h (which must be initialised first). Each stores a new context in *gc that
// the caller owns and frees. Contexts are made for the root window of the screen, so they
// serve every window of the default depth there; CreateBlackWindowGC alone is made for a
// widget's own window. An XOR context's foreground is the wanted colour XOR the ground it
// draws on, so that drawing a figure twice restores the ground.
//
// Each widget-taking factory wraps one that takes a display and a screen, for connections
// other than the toolkit's (the drag display) and for code that knows no widgets.

void CreateWhiteGC(GC* gc, Widget widget);
void CreateBlackOnWhiteGC(GC* gc, Widget widget);
void CreateBlackOnWhiteGC2(GC* gc, Widget widget);
void CreateRedOnLightGrayGC(GC* gc, Widget widget);
void CreateRedXorGC(GC* gc, Widget widget); // red over black
void CreateRedOnWhiteGC(GC* gc, Widget widget);
void CreateBlueXorGC(GC* gc, Widget widget); // blue over white
void CreateWhiteGC2(GC* gc, Widget widget);
void CreateRedXorInferiorsGC(GC* gc, Widget widget); // red over white, across child windows
void CreateDashedXorGC(GC* gc, Widget widget);
void CreateStippledGC(GC* gc, Widget widget);
void CreateGray90GC(GC* gc, Widget widget);
void CreateYellowOnWhiteGC(GC* gc, Widget widget);
void CreateBlackGC(GC* gc, Widget widget);
void CreateBlackWindowGC(GC* gc, Widget widget); // needs a realized widget
void CreateWideGrayXorGC(GC* gc, Widget widget); // gray50 over white, 2 pixels wide

void CreateWhiteGC(GC* gc, Display* display, Screen* screen);
void CreateBlackOnWhiteGC(GC* gc, Display* display, Screen* screen);
void CreateBlackOnWhiteGC2(GC* gc, Display* display, Screen* screen);
void CreateRedOnLightGrayGC(GC* gc, Display* display, Screen* screen);
void CreateRedXorGC(GC* gc, Display* display, Screen* screen);
void CreateRedOnWhiteGC(GC* gc, Display* display, Screen* screen);
void CreateBlueXorGC(GC* gc, Display* display, Screen* screen);
void CreateWhiteGC2(GC* gc, Display* display, Screen* screen);
void CreateRedXorInferiorsGC(GC* gc, Display* display, Screen* screen);
void CreateDashedXorGC(GC* gc, Display* display, Screen* screen);
// The stipple must be a bitmap of display (GetStipple() on the toolkit's own display).
void CreateStippledGC(GC* gc, Display* display, Screen* screen, Pixmap stipple);
void CreateGray90GC(GC* gc, Display* display, Screen* screen);
void CreateYellowOnWhiteGC(GC* gc, Display* display, Screen* screen);
void CreateBlackGC(GC* gc, Display* display, Screen* screen);
void CreateBlackWindowGC(GC* gc, Display* display, Window window);
void CreateWideGrayXorGC(GC* gc, Display* display, Screen* screen);

// The context of an element-drawing kind on display, from the factory of the same name; the
// shell hands these to the elements, and the drawing tests make theirs the same way.
GC CreateElementGC(ElementGCKind kind, Display* display);
