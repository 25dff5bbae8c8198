#pragma once

// What the matrix editors share (the mask, rule, permutation, external-data and plane windows):
// the zoom scale and its limits, the size of a grid's drawing area, the drawing area in its
// scrolled window, the redraw on the last expose, and the pointer rule by which a click or a drag
// edits the cells and a label follows the cell under the pointer.

#include <X11/Intrinsic.h>

class Matrix;

// The zoom scale's range, percent.
const int kMinGridZoom = 12;
const int kMaxGridZoom = 150;

// The pointer events a grid's drawing area takes.
const EventMask kGridEvents =
    ButtonPressMask | PointerMotionMask | Button1MotionMask | LeaveWindowMask;

int ClampGridZoom(int zoom);

// Sizes a drawing area for cellsX by cellsY cells; beyond what X takes it becomes a viewport
// onto the whole drawing (MatrixViewport.h).
void SizeGridArea(Widget draw, int zoom, int cellsX, int cellsY);

// Whether an expose callback's event (null, or no expose, counts) ends its series: a grid redraws
// only then.
bool IsLastExpose(const XEvent* event);

// The pointer input of a matrix grid: whether its position label shows a cell, and the cell the
// pointer last met (-1, -1 before any).
struct GridPointer {
    int labelShown = 0;
    int lastX = -1;
    int lastY = -1;
};

// What one pointer event on a grid asks for; at most one of show and clear.
struct GridPointerStep {
    bool toggle; // toggle the cell (x, y) of the event
    bool show;   // the label shows "x,y"
    bool clear;  // the label is blanked
};

// The rule that every matrix editor follows: a press on a cell toggles it; moving onto another
// cell shows it and, while any button or modifier is held (state non-zero), toggles it; leaving
// the cells or the window blanks the label. eventType is ButtonPress, MotionNotify or
// LeaveNotify; onCell and (x, y) come from Matrix::PixelToCell. Updates the pointer record.
GridPointerStep StepGridPointer(GridPointer& pointer, int eventType, int onCell, int x, int y,
                                unsigned int state);

// The pixel and the button and modifier state of a press or a motion, (-1, -1) and 0 for a
// leave; false for any other event.
bool GridPointerOf(const XEvent* event, int* px, int* py, unsigned int* state);

// StepGridPointer for a pointer event on the drawing area of matrix at zoom (a null matrix has no
// cells); (x, y) is the cell under the pointer. False, and the record untouched, for any other
// event.
bool StepGridEvent(GridPointer& pointer, const XEvent* event, const Matrix* matrix, int zoom,
                   int* x, int* y, GridPointerStep* step);

void SetLabelText(Widget label, const char* text);
// A position label after a step: "x,y" when it shows the cell, " " when it is blanked.
void ShowGridCell(Widget label, const GridPointerStep& step, int x, int y);

// A "DialogButton" push button with the text centred, calling callback when activated.
Widget CreateDialogButton(Widget parent, const char* text, XtCallbackProc callback,
                          XtPointer client);

// "zoom-frame" (margin width 5) in form, holding "zoom-form" with the label labelName ("Zoom: ")
// at its left and "zoom-scale" (horizontal, value shown, kMinGridZoom .. kMaxGridZoom, at zoom
// clamped) filling the rest; the scale's changes and drags call changed. The caller attaches the
// frame.
Widget CreateZoomFrame(Widget form, const char* labelName, int zoom, XtCallbackProc changed,
                       XtPointer client, Widget* scale);

// The grid's drawing area drawName (created 1 by 1) in a scrolled window, both in gray90; its
// expose callback and, when given, its handler of the kGridEvents.
Widget CreateGridArea(Widget scrolled, const char* drawName, XtCallbackProc expose,
                      XtEventHandler pointer, XtPointer client);

// The widgets of a grid under a position line.
struct PositionGrid {
    Widget posLabel;
    Widget window; // the scrolled window
    Widget draw;
};

// At the top of parent "Position: " (helpName, left margin 5) and the blank, left-aligned
// position label labelName right of it; below them, across parent's width, the scrolled window
// windowName (automatic scrolling, not traversable, scroll bars always shown when staticBars)
// holding the grid's drawing area drawName (CreateGridArea). The caller attaches the window's
// bottom.
PositionGrid CreatePositionGrid(Widget parent, const char* helpName, const char* labelName,
                                const char* windowName, const char* drawName, bool staticBars,
                                XtCallbackProc expose, XtEventHandler pointer, XtPointer client);
