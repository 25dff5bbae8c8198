#pragma once

// The arithmetic of element icons on a working area, in pixels: icon sizes, where the pin boxes
// and the wire end points lie, which pin a point hits, and the hit tests of whole icons. The
// element's Xlib drawing and its pin queries are built on these.

#include <cstdint>

const int kIconWidth = 60;
const int kPortIconWidth = 25; // MACRO_INPUT and MACRO_OUTPUT
const int kPortIconHeight = 18;
const int kFirstPinOffset = 11; // icon top to the top of the first pin box
const int kPinPitch = 15;
const int kPinBoxWidth = 6; // the outline; the white fill is one pixel wider and higher
const int kPinBoxHeight = 8;
const int kPortPinY = 5;
const int kNameMargin = 8; // a name keeps this far from both icon edges

// The icon of a type with the given pin counts occupies 0..width and 0..height; its pixmap is one
// pixel larger in each direction.
void IconSize(uint32_t type, int inputs, int outputs, int& width, int& height);

// The pin code under (px, py), relative to the icon's upper left corner; 0 between pins. The
// first-pin offset is the icon top to the top of the first pin box (a macro port's lies higher).
int PinAt(int px, int py, int width, int inputs, int outputs, int firstPinOffset = kFirstPinOffset);

// Upper left corner of a pin's box relative to the icon; false for a pin the element lacks.
bool PinBoxOrigin(int code, int width, int inputs, int outputs, int& bx, int& by,
                  int firstPinOffset = kFirstPinOffset);

// The wire end point of a pin for an icon at (x, y): just outside the icon, level with the middle
// of the pin box. -1 for a pin the element lacks (code 0 or 1, or an index beyond its side),
// else 0.
int PinEndPoint(int code, int x, int y, int width, int inputs, int outputs, int& px, int& py,
                int firstPinOffset = kFirstPinOffset);

// True when an icon of that size at (x, y) can be drawn and wired in int: its edges and the wire
// ends one pixel outside them all lie within int.
bool IconPositionFits(int x, int y, int width, int height);

// A point hit counts the right and bottom edges as outside.
bool IconContains(int x, int y, int width, int height, int px, int py);
// An overlap counts touching edges: the closed ranges [x, x + w] and [a, a + c] meet, likewise
// vertically.
bool IconIntersects(int x, int y, int width, int height, int a, int b, int c, int d);

// Left end of the name: centred, but never closer than the margin to the left edge.
int NameX(int width, int nameWidth);
int NameBaseline(int height, int ascent);
