#pragma once

#include <X11/Intrinsic.h>

#include <initializer_list>

class Matrix;

// Small operations on widgets that many windows share.

// Moves the vertical scroll bar of a scrolled window to the end of its range.
void ScrollToEnd(Widget scrolledWindow);

// The largest zoom (percent, 12..100) at which a matrix of cellsX by cellsY cells fits a view
// of viewWidth by viewHeight pixels: a cell is 25 pixels at zoom 100 and a drawing has 21
// pixels of margin.
int FitZoomPercent(int viewWidth, int viewHeight, int cellsX, int cellsY);

// Fits the zoom of matrix to the visible part of the scrolled window around drawingArea, sets
// scale to it and returns it; returns 100 and leaves scale alone when drawingArea does not sit
// in a scrolled window.
int FitZoom(Widget drawingArea, const Matrix& matrix, Widget scale);

// Gives every widget of the list the width of the widest.
void EqualizeWidths(std::initializer_list<Widget> widgets);

// Manages a dialog shell and shows it centred over its parent, moved as little as needed to lie
// fully on the screen.
void CentreOverParent(Widget shell);

// Gives a managed shell the place that centres it over its parent, as CentreOverParent does, but
// leaves it unmapped. The parent counts where its window really is on the screen; under a window
// manager that places the shell's frame at the position asked for, the frame is allowed for as the
// one around the parent's shell, so that the shell's own window comes to lie centred.
void PlaceOverParent(Widget shell);

// Waits, at most timeoutMs, until a realized top-level shell that is mapped when managed is
// viewable: a window manager maps and places it some time after the program asked. Returns at
// once when it is viewable already (no window manager) or not to be shown.
void WaitUntilShown(Widget shell, int timeoutMs);

// Where a shell of the given size is placed to be centred over a parent at parentX, parentY
// (root coordinates) of the given size.
void CentredPosition(int width, int height, int parentX, int parentY, int parentWidth,
                     int parentHeight, int* x, int* y);

// Moves a shell of the given size at x, y as little as needed to lie on a screen of the given
// size: left or up when it passes the right or bottom edge, then right or down when it begins
// before the left or top edge (a shell larger than the screen keeps its top left corner on it).
void KeepOnScreen(int width, int height, int screenWidth, int screenHeight, int* x, int* y);

// The pixels that the frame of a window manager is expected to add to the width and the height of
// a shell once it is shown: as much as it added around the shell of the shell's parent (less the
// title bar when the shell asks for none); 0 and 0 without a window manager or a shown parent.
void FrameAllowance(Widget shell, int* width, int* height);

// Lowers a size asked for a shell (0: none asked) to what lets the shell and its expected frame
// lie on the screen.
void LimitToScreen(Widget shell, int* width, int* height);

// How many pixels a label lacks to show its whole text (negative when it has room to spare).
int LabelShortfall(Widget label);
